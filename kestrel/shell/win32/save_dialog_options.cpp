#include "save_dialog_options.h"

#include "messages.h"
#include "namedcontrol.h"
#include "sysutils.h"

TSavePlus* SavePlus = nullptr;


TSavePlus::TSavePlus(TComponent* AOwner) : TForm(AOwner)
{
    SetName("SavePlus");
    BuildControls();
}

TRadioButton* TSavePlus::AddDepth(const char* name, const char* caption, int left, int top)
{
    TRadioButton* b = NewNamed<TRadioButton>(this, OptionsPanel, name, left, top, 130, 17);
    b->SetCaption(Translate(caption));
    b->OnClick = [this](TObject* s) { BPPClick(s); };
    return b;
}

void TSavePlus::BuildControls()
{
    SetBorderStyle(bsNone);
    SetClientWidth(430);
    SetClientHeight(124);
    SavePicDlg = new TSaveDialogEx(this);
    SavePicDlg->SetName("SavePicDlg");
    SavePicDlg->SetOptions(ofHideReadOnly | ofOverwritePrompt | ofPathMustExist | ofEnableSizing);
    SavePicDlg->OnTypeChange = [this](TObject* s) { SavePicDlgTypeChange(s); };
    SavePicDlg->SetOnFileOk([this](TObject* s) { return SavePicDlgFileOk(s); });
    OptionsPanel = NewNamed<TPanel>(this, this, "OptionsPanel", 0, 0, 430, 124);
    OptionsPanel->SetBevelOuter(bvNone);
    OptionsPanel->SetCaption("");
    TC24RB = AddDepth("TC24RB", "True color (24 bit)", 8, 4);
    HC16RB = AddDepth("HC16RB", "High color (16 bit)", 8, 22);
    HC15RB = AddDepth("HC15RB", "High color (15 bit)", 8, 40);
    B8RB = AddDepth("B8RB", "256 colors (8 bit)", 8, 58);
    B4RB = AddDepth("B4RB", "16 colors (4 bit)", 144, 4);
    GSRB = AddDepth("GSRB", "Grayscale", 144, 22);
    MCRB = AddDepth("MCRB", "Monochrome", 144, 40);
    ADRB = AddDepth("ADRB", "Adaptive", 144, 58);
    QualityLab = NewNamed<TLabel>(this, OptionsPanel, "QualityLab", 282, 4, 60, 13);
    QualityLab->SetCaption(Translate("Quality"));
    QualityVal = NewNamed<TLabel>(this, OptionsPanel, "QualityVal", 390, 4, 30, 13);
    QualityVal->SetAlignment(taRightJustify);
    Quality = NewNamed<TTrackBar>(this, OptionsPanel, "Quality", 278, 20, 146, 26);
    Quality->SetRange(1, 100);
    Quality->SetFrequency(10);
    Quality->OnChange = [this](TObject* s) { QualityChange(s); };
    MultiPass = NewNamed<TCheckBox>(this, OptionsPanel, "MultiPass", 282, 50, 140, 17);
    MultiPass->SetCaption(Translate("Interlaced"));
    LimitColsCB = NewNamed<TCheckBox>(this, OptionsPanel, "LimitColsCB", 8, 80, 120, 17);
    LimitColsCB->SetCaption(Translate("Limit colors"));
    LimitColsCB->OnClick = [this](TObject* s) { LimitColsCBClick(s); };
    LimitCols = NewNamed<TSpinEdit>(this, OptionsPanel, "LimitCols", 144, 78, 60, 21);
    LimitCols->SetMinValue(2);
    LimitCols->SetMaxValue(256);
    LimitCols->SetValue(256);
    Dither = NewNamed<TCheckBox>(this, OptionsPanel, "Dither", 8, 102, 120, 17);
    Dither->SetCaption(Translate("Dither"));
    Transparent = NewNamed<TCheckBox>(this, OptionsPanel, "Transparent", 144, 102, 130, 17);
    Transparent->SetCaption(Translate("Transparent"));
}

TRadioButton* TSavePlus::DepthButton(SaveDepth depth) const
{
    switch (depth) {
    case DepthTC24: return TC24RB;
    case DepthHC16: return HC16RB;
    case DepthHC15: return HC15RB;
    case DepthB8: return B8RB;
    case DepthB4: return B4RB;
    case DepthMC: return MCRB;
    case DepthGS: return GSRB;
    case DepthAD: return ADRB;
    default: return nullptr;
    }
}

SaveDepth TSavePlus::CheckedDepth() const
{
    for (int d = 0; d < DepthCount; ++d)
        if (DepthButton(SaveDepth(d))->GetChecked()) return SaveDepth(d);
    return DepthCount;
}

int TSavePlus::SelectedType() const
{
    return SavePicDlg->GetHandle() ? SavePicDlg->GetSelFilterIndex() : SavePicDlg->GetFilterIndex();
}

// The new type's extension replaces the one of the name shown: the edit's
// text while the dialog is open (the user changed the type), else the
// name the dialog will start with.
void TSavePlus::SavePicDlgTypeChange(TObject*)
{
    GFXFile* format = WritableFormat(SelectedType());
    if (!format) return;
    AnsiString ext = "." + DefaultExtension(format);
    if (SavePicDlg->GetHandle()) {
        AnsiString typed = SavePicDlg->GetSelFileName();
        if (!typed.IsEmpty()) SavePicDlg->SetSelFileName(ChangeFileExt(typed, ext));
    } else if (!SavePicDlg->GetFileName().IsEmpty()) {
        SavePicDlg->SetFileName(ChangeFileExt(SavePicDlg->GetFileName(), ext));
    }
    SetUpFor(format);
}

void TSavePlus::SetUpFor(GFXFile* format)
{
    bool enabled[DepthCount];
    EnabledDepths(format, enabled);
    for (int d = 0; d < DepthCount; ++d) DepthButton(SaveDepth(d))->SetEnabled(enabled[d]);
    MultiPass->SetEnabled(format->interlace);
    bool hasQuality = format->quality > 0;
    Quality->SetEnabled(hasQuality);
    QualityLab->SetEnabled(hasQuality);
    QualityVal->SetEnabled(hasQuality);
    Quality->SetPosition(format->defaults.quality ? format->defaults.quality : 75);
    QualityChange(Quality);
    Dither->SetChecked(format->defaults.dither != 0);
    const GFXSaveParams* own = Picture ? &Picture->saveParams : nullptr;
    SaveDepth depth = NearestDepth(enabled, own ? own->bits : 24, own && own->grey);
    for (int d = 0; d < DepthCount; ++d) DepthButton(SaveDepth(d))->SetChecked(d == depth);
    int limit = own ? own->colours : 0;
    LimitColsCB->SetChecked(limit > 0);
    LimitCols->SetValue(limit > 0 ? limit : 256);
    Transparent->SetChecked(own && own->transparent);
    MultiPass->SetChecked(own && own->interlaced && format->interlace);
    BPPClick(nullptr);
}

void TSavePlus::BPPClick(TObject*)
{
    SaveDepth depth = CheckedDepth();
    bool palette = IsPaletteDepth(depth);
    LimitColsCB->SetEnabled(palette);
    Transparent->SetEnabled(palette || depth == DepthMC);
    LimitColsCBClick(nullptr);
}

void TSavePlus::LimitColsCBClick(TObject*)
{
    SaveDepth depth = CheckedDepth();
    bool palette = IsPaletteDepth(depth);
    LimitCols->SetEnabled(palette && LimitColsCB->GetChecked());
    Dither->SetEnabled(palette || depth == DepthMC || (LimitColsCB->GetEnabled() && LimitColsCB->GetChecked()));
}

void TSavePlus::QualityChange(TObject*)
{
    QualityVal->SetCaption(IntToStr(Quality->GetPosition()));
    QualityVal->SetLeft(LimitCols->GetLeft() + LimitCols->GetWidth() - QualityVal->GetWidth());
}

// Always lets the dialog close: a name whose extension belongs to another
// type (or to none) has the caller show it again.
bool TSavePlus::SavePicDlgFileOk(TObject*)
{
    int typed = TypedNameFormat(SavePicDlg->GetSelFileName());
    ShowAgain = typed < 0 || (typed > 0 && typed != SelectedType());
    FoundIndex = typed > 0 ? typed : 0;
    return true;
}

GFXSaveParams TSavePlus::ReadParams(const GFXSaveParams& base) const
{
    GFXSaveParams p = base;
    SaveDepth depth = CheckedDepth();
    p.bits = int8_t(DepthBits(depth));  // adaptive is -1, not 255
    p.grey = DepthGrey(depth);
    p.quality = uint8_t(Quality->GetPosition());
    p.interlaced = MultiPass->GetChecked();
    p.colours = int16_t(LimitColsCB->GetChecked() ? int(LimitCols->GetValue()) : 0);
    p.dither = Dither->GetChecked();
    p.transparent = Transparent->GetChecked();
    p.format = nullptr;
    p.paletteData = nullptr;
    p.work = nullptr;
    return p;
}
