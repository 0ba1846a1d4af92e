#include "limitcolors.h"

#include <memory>

#include "application.h"
#include "messages.h"
#include "namedcontrol.h"
#include "palettebar.h"
#include "paintkit_host.h"
#include "picture_document.h"
#include "pictureview.h"
#include "screen.h"
#include "smalldialog.h"

namespace {

LimitColorsSettings kept;
TDialogPlace lastPlace;

// The hourglass for the length of a block, also when it raises.
struct HourGlass {
    HourGlass() { Screen->SetCursor(crHourGlass); }
    ~HourGlass() { Screen->SetCursor(crDefault); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

void ShowCreatedPalette(TBuffer* holder, const LimitPalette& pal, int barSize)
{
    BuildPalette(holder, barSize, false);
    const std::vector<unsigned long> colours = PaletteColours(pal, PaletteBarCells.Count());
    for (size_t i = 0; i < colours.size(); i++) SetPaletteColor(holder, int(i), colours[i]);
}

}  // namespace

TLimitColorsForm::TLimitColorsForm(TComponent* AOwner) : TForm(AOwner)
{
    SetName("LimitColorsForm");
    SetCaption("Limit Colors");
    SetBorderStyle(bsDialog);
    SetClientWidth(262);
    SetClientHeight(196);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");

    LimitLabel = NewLabel(this, this, "Limit Colors to", 8, 12);
    LimitLabel->SetName("LimitLabel");
    ColorLimit = NewNamed<TSpinEdit>(this, this, "ColorLimit", 120, 8, 60, 21);
    ColorLimit->SetMinValue(2);
    ColorLimit->SetMaxValue(256);
    ColorLimit->SetValue(kept.limit);
    DitherCB = NewCheckBox(this, this, "&Dither Image", 8, 38, 200, 17, kept.dither);
    DitherCB->SetName("DitherCB");
    SaveBgndCB = NewCheckBox(this, this, "&Save Background Color", 8, 58, 200, 17, kept.saveBackground);
    SaveBgndCB->SetName("SaveBgndCB");
    Operation = NewRadioGroup(this, this, "", 8, 80, 246, 76,
                              {"Put Colors to Fast Palette", "Use Fast Palette", "Create Fast Palette Only"},
                              kept.operation);
    Operation->SetName("Operation");
    OkBtn = NewButton(this, this, "&Ok", 8, 164, 75, 25);
    OkBtn->SetName("OkBtn");
    OkBtn->SetDefault(true);
    OkBtn->SetModalResult(mrOk);
    CancelBtn = NewButton(this, this, "&Cancel", 93, 164, 75, 25);
    CancelBtn->SetName("CancelBtn");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);
    HelpBtn = NewButton(this, this, "&Help", 179, 164, 75, 25,
                        [this](TObject*) {
                            if (GetHelpContext() != 0) Application->HelpContext(GetHelpContext());
                        });
    HelpBtn->SetName("HelpBtn");
    PrepareSmallDialog(this, Cap, lastPlace);
}

TLimitColorsForm::~TLimitColorsForm() { RememberDialogPlace(this, lastPlace); }

LimitColorsSettings TLimitColorsForm::Settings()
{
    LimitColorsSettings s;
    const int limit = int(ColorLimit->GetValue());
    s.limit = limit < 2 ? 2 : limit > 256 ? 256 : limit;
    s.dither = DitherCB->GetChecked();
    s.saveBackground = SaveBgndCB->GetChecked();
    const int op = Operation->GetItemIndex();
    s.operation = op < 0 || op > 2 ? PutToFastPalette : op;
    return s;
}

void ApplyLimitColors(const LimitColorsSettings& s, TBuffer* holder)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return;
    HourGlass busy;
    const unsigned long background = BackColourSwatch() ? SwatchColour(BackColourSwatch()) : 0;
    LimitPalette pal;
    int barSize = 0;
    MakeLimitPalette(*pic, s, background, PaletteBarCells.Colours(), pal, barSize);
    if (barSize > 0) ShowCreatedPalette(holder, BarPalette(pal, barSize), barSize);
    if (s.operation == CreateFastPaletteOnly) return;
    if (!UDBuffer::SaveUndo(pic, "LimitCols", nullptr, -1, 0, 0, 0)) return;
    ReduceToPalette(*pic, s, background, pal);
    ++pic->modified;
    RepaintPictureView(pic);
    UpdateImageCaption();
}

void RunLimitColors(TComponent* owner, TBuffer* holder)
{
    if (!CurrentPicture) return;
    std::unique_ptr<TLimitColorsForm> form(NewForm<TLimitColorsForm>(owner));
    if (form->ShowModal() != mrOk) return;
    kept = form->Settings();
    ApplyLimitColors(kept, holder);
}
