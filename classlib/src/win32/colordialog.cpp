// TColorDialog: ChooseColor.
#include "dialogs.h"

#include <commdlg.h>

#include "dialoghook.h"

namespace {

AnsiString ColorName(int i)
{
    return AnsiString("Color") + AnsiString(char('A' + i));
}

}  // namespace

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), customColors_(new TStringList) {}

TColorDialog::~TColorDialog() {}

bool TColorDialog::Execute()
{
    return RunModal([this] { return RunDialog(); });
}

bool TColorDialog::RunDialog()
{
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) {
        AnsiString value = customColors_->GetValues(ColorName(i));
        custom[i] = value.IsEmpty() ? 0xFFFFFF : COLORREF(("0x" + value).ToIntDef(0xFFFFFF));
    }
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = OwnerWindow();
    cc.rgbResult = ColorToRGB(color_);
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_ENABLEHOOK;
    if (options_ & cdFullOpen) cc.Flags |= CC_FULLOPEN;
    if (options_ & cdPreventFullOpen) cc.Flags |= CC_PREVENTFULLOPEN;
    if (options_ & cdShowHelp) cc.Flags |= CC_SHOWHELP;
    if (options_ & cdSolidColor) cc.Flags |= CC_SOLIDCOLOR;
    if (options_ & cdAnyColor) cc.Flags |= CC_ANYCOLOR;
    cc.lpfnHook = CommonDialogHook::Proc<CHOOSECOLORA>;
    cc.lCustData = reinterpret_cast<LPARAM>(this);
    if (!ChooseColorA(&cc)) return false;
    color_ = TColor(cc.rgbResult);
    customColors_->Clear();
    for (int i = 0; i < 16; ++i) customColors_->Add(ColorName(i) + AnsiString().sprintf("=%.6lX", custom[i]));
    return true;
}
