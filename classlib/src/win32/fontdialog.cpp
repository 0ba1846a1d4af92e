// TFontDialog: ChooseFont, starting from and ending in Font.
#include "dialogs.h"

#include <commdlg.h>

#include "dialoghook.h"
#include "printer.h"

namespace {

const struct {
    TFontDialogOptions Option;
    DWORD Flag;
} OptionFlags[] = {
    {fdAnsiOnly, CF_ANSIONLY},
    {fdTrueTypeOnly, CF_TTONLY},
    {fdEffects, CF_EFFECTS},
    {fdFixedPitchOnly, CF_FIXEDPITCHONLY},
    {fdForceFontExist, CF_FORCEFONTEXIST},
    {fdNoFaceSel, CF_NOFACESEL},
    {fdNoOEMFonts, CF_NOOEMFONTS},
    {fdNoSimulations, CF_NOSIMULATIONS},
    {fdNoSizeSel, CF_NOSIZESEL},
    {fdNoStyleSel, CF_NOSTYLESEL},
    {fdNoVectorFonts, CF_NOVECTORFONTS},
    {fdShowHelp, CF_SHOWHELP},
    {fdWysiwyg, CF_WYSIWYG},
    {fdLimitSize, CF_LIMITSIZE},
    {fdScalableOnly, CF_SCALABLEONLY},
};

}  // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), font_(new TFont) {}

TFontDialog::~TFontDialog() {}

bool TFontDialog::Execute()
{
    return RunModal([this] { return RunDialog(); });
}

bool TFontDialog::RunDialog()
{
    LOGFONTA lf = {};
    GetObjectA(font_->GetHandle(), sizeof lf, &lf);
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = OwnerWindow();
    cf.lpLogFont = &lf;
    cf.rgbColors = ColorToRGB(font_->GetColor());
    cf.Flags = CF_INITTOLOGFONTSTRUCT | CF_ENABLEHOOK;
    for (const auto& o : OptionFlags)
        if (options_ & o.Option) cf.Flags |= o.Flag;
    static const DWORD devices[] = {CF_SCREENFONTS, CF_PRINTERFONTS, CF_BOTH};
    cf.Flags |= devices[device_];
    if (device_ != fdScreen) cf.hDC = Printer()->GetHandle();
    cf.nSizeMin = minFontSize_;
    cf.nSizeMax = maxFontSize_;
    cf.lpfnHook = CommonDialogHook::Proc<CHOOSEFONTA>;
    cf.lCustData = reinterpret_cast<LPARAM>(this);
    if (!ChooseFontA(&cf)) return false;
    HFONT chosen = CreateFontIndirectA(&lf);
    if (!chosen) throw EOutOfResources("Cannot create the chosen font");
    TColor color = (options_ & fdEffects) ? TColor(cf.rgbColors) : font_->GetColor();
    try {
        font_->SetHandle(chosen);
    } catch (...) {
        DeleteObject(chosen);
        throw;
    }
    font_->SetColor(color);
    return true;
}
