#include "textform.h"

#include <cmath>

#include "application.h"
#include "charset_table.h"
#include "colconv.h"
#include "colorsel.h"
#include "formbuilder.h"
#include "namedcontrol.h"
#include "paintkit_host.h"
#include "picture_document.h"
#include "pictureview.h"
#include "smalldialog.h"
#include "text_tool_font.h"
#include "textform_fonts.h"
#include "toolmanager.h"
#include "userlevel.h"

TTextForm* TextForm = nullptr;

namespace {

const char DefaultFace[] = "Times New Roman";
const int MaxPosition = 16383;

TDialogPlace StoredPlace()
{
    TDialogPlace place;
    place.known = TextSet.dialogLeft != -1;
    place.left = TextSet.dialogLeft;
    place.top = TextSet.dialogTop;
    return place;
}

unsigned long PixelOf(TColor c) { return Colconv::BSwap(static_cast<unsigned long>(c)) >> 8; }

}  // namespace

TTextForm::TTextForm(TComponent* AOwner, TFont* font) : TForm(AOwner), font_(font)
{
    SetName("TextForm");
    SetCaption("Text");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetHelpContext(TextTool().helpContext);
    SetClientWidth(300);
    SetClientHeight(216);
    BuildControls();
    OnShow = [this](TObject* s) { FormShow(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
    OnKeyDown = [this](TObject* s, WORD& k, TShiftState sh) { FormKeyDown(s, k, sh); };
}

TTextForm::~TTextForm()
{
    if (TextForm == this) TextForm = nullptr;
}

TSpeedButton* TTextForm::NewStyleButton(const char* name, const char* caption, int x, int group)
{
    TSpeedButton* b = NewNamed<TSpeedButton>(this, this, name, x, 34, 22, 22);
    b->SetCaption(caption);
    b->SetGroupIndex(group);  // a group of its own: a toggle
    b->SetAllowAllUp(true);
    b->OnClick = [this](TObject* s) { FontChanged(s); };
    return b;
}

TSpinEdit* TTextForm::NewSpin(const char* name, int x, int y, int w, double lo, double hi, bool decimal)
{
    TSpinEdit* spin = NewNamed<TSpinEdit>(this, this, name, x, y, w, 21);
    if (decimal) {
        spin->SetValueType(vtFloat);
        spin->SetDecimal(2);
    }
    spin->SetMinValue(lo);
    spin->SetMaxValue(hi);
    spin->OnChange = [this](TObject* s) { FontChanged(s); };
    return spin;
}

void TTextForm::BuildControls()
{
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");
    FontType = NewComboBox(this, this, 8, 8, 180, {}, csDropDownList, [this](TObject* s) { FontChanged(s); });
    FontType->SetName("FontType");
    FontSize = NewSpin("FontSize", 196, 8, 56, 4, 999, false);
    BoldBtn = NewStyleButton("BoldBtn", "B", 8, 11);
    ItalicBtn = NewStyleButton("ItalicBtn", "I", 32, 12);
    UnderlineBtn = NewStyleButton("UnderlineBtn", "U", 56, 13);
    OutlineBtn = NewStyleButton("OutlineBtn", "O", 80, 14);
    ShadowBtn = NewStyleButton("ShadowBtn", "S", 104, 15);
    ShadowLab = NewLabel(this, this, "Shadow", 136, 38);
    ShadowLab->SetName("ShadowLab");
    ShColor = NewNamed<TShape>(this, this, "ShColor", 184, 34, 22, 22);
    ShColor->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ShadowColMouseDown(s, b, sh, x, y);
    };
    ShDepth = NewSpin("ShDepth", 212, 34, 56, 1, 999, false);
    TextBox = NewNamed<TRichEdit>(this, this, "TextBox", 8, 62, 284, 88);
    TextBox->SetScrollBars(ssVertical);
    TextBox->OnChange = [this](TObject* s) { FontChanged(s); };
    SizeXLab = NewLabel(this, this, "Size X", 8, 160);
    SizeXLab->SetName("SizeXLab");
    SizeX = NewSpin("SizeX", 52, 156, 80, 0.01, 9999.99, true);
    SizeYLab = NewLabel(this, this, "Size Y", 144, 160);
    SizeYLab->SetName("SizeYLab");
    SizeY = NewSpin("SizeY", 188, 156, 80, 0.01, 9999.99, true);
    XLab = NewLabel(this, this, "X", 8, 188);
    XLab->SetName("XLab");
    TextXPos = NewSpin("TextXPos", 22, 184, 62, 0, MaxPosition, false);
    YLab = NewLabel(this, this, "Y", 92, 188);
    YLab->SetName("YLab");
    TextYPos = NewSpin("TextYPos", 106, 184, 62, 0, MaxPosition, false);
    OkBtn = NewButton(this, this, "&Ok", 176, 182, 56, 25, [this](TObject* s) { OkBtnClick(s); });
    OkBtn->SetName("OkBtn");
    HelpBtn = NewButton(this, this, "&Help", 236, 182, 56, 25, [this](TObject* s) { HelpBtnClick(s); });
    HelpBtn->SetName("HelpBtn");
}

void TTextForm::ShowDialog()
{
    if (GetVisible()) return;
    Show();
}

void TTextForm::HideDialog()
{
    if (!GetVisible()) return;
    StoreSettings();
    Hide();
}

void TTextForm::PlaceText(int x, int y)
{
    TextXPos->SetValue(x);
    TextYPos->SetValue(y);
}

// ---- opening and closing

void TTextForm::FormShow(TObject*)
{
    TextTool().quiet = 1;
    PrepareSmallDialog(this, Cap, StoredPlace());
    FillFonts();
    RestoreSettings();
    ShowForLevel();
}

void TTextForm::FillFonts() { ListScreenFonts(FontType->GetItems()); }

void TTextForm::RestoreSettings()
{
    int fonts = FontType->GetItems()->GetCount();
    int index = TextSet.fontIndex;
    if (index < 0 || index >= fonts) {
        // The usual face is missing on many systems: then the first listed
        // one, never no font at all.
        index = FontType->GetItems()->IndexOf(DefaultFace);
        if (index < 0 && fonts > 0) index = 0;
    }
    if (TextSet.fontIndex < 0) {
        TextSet.x = 0;
        TextSet.y = CurrentPicture && CurrentPicture->pixels ? CurrentPicture->Height() / 2 : 0;
    }
    FontType->SetItemIndex(index);
    TextXPos->SetValue(TextSet.x);
    TextYPos->SetValue(TextSet.y);
    TextBox->SetText(TextSet.text);
    FontSize->SetValue(TextSet.size);
    BoldBtn->SetDown(TextSet.style & TextBold);
    ItalicBtn->SetDown(TextSet.style & TextItalic);
    UnderlineBtn->SetDown(TextSet.style & TextUnderline);
    OutlineBtn->SetDown(TextSet.style & TextOutline);
    ShadowBtn->SetDown(TextSet.style & TextShadow);
    ShColor->GetBrush()->SetColor(static_cast<TColor>(TextSet.shadowColour));
    ShDepth->SetValue(TextSet.depth);
    SizeX->SetValue(TextSet.sizeX);
    SizeY->SetValue(TextSet.sizeY);
}

// Novices see only the text, the font and its position; the other values
// still apply as stored.
void TTextForm::ShowForLevel()
{
    bool expert = Level != LevelNovice;
    TControl* advanced[] = {OutlineBtn, ShadowBtn, ShColor, ShDepth, ShadowLab, SizeX, SizeY, SizeXLab, SizeYLab};
    for (TControl* c : advanced) c->SetVisible(expert);
}

void TTextForm::StoreSettings()
{
    TextSet.text = TextBox->GetText();
    TextSet.fontIndex = FontType->GetItemIndex();
    TextSet.size = int(FontSize->GetValue());
    TextSet.style = StyleBits();
    TextSet.shadowColour = static_cast<unsigned long>(ShColor->GetBrush()->GetColor());
    TextSet.depth = int(ShDepth->GetValue());
    TextSet.sizeX = double(SizeX->GetValue());
    TextSet.sizeY = double(SizeY->GetValue());
    TextSet.x = int(TextXPos->GetValue());
    TextSet.y = int(TextYPos->GetValue());
    TextSet.dialogLeft = GetLeft();
    TextSet.dialogTop = GetTop();
}

// Closing the dialog takes the preview out of the picture; a click on the
// picture brings both back.
void TTextForm::FormClose(TObject*, TCloseAction& Action)
{
    StoreSettings();
    Action = caHide;
    if (CurrentTool == &TextTool()) TextTool().HidePreview();
}

void TTextForm::FormKeyDown(TObject*, WORD& Key, TShiftState)
{
    if (Key != VK_ESCAPE) return;
    Key = 0;
    Close();
}

void TTextForm::HelpBtnClick(TObject*) { Application->HelpContext(GetHelpContext()); }

void TTextForm::ShadowColMouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    if (!ColorSel) return;
    ColorSel->OpenFor(ShColor, ShadowLab->GetCaption());
    FontChanged(ShColor);
}

void TTextForm::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_INPUTLANGCHANGE && font_) font_->SetCharset(BYTE(Message.WParam));
    TForm::WndProc(Message);
}

// ---- the tool's draft

int TTextForm::StyleBits()
{
    int bits = 0;
    if (BoldBtn->GetDown()) bits |= TextBold;
    if (ItalicBtn->GetDown()) bits |= TextItalic;
    if (UnderlineBtn->GetDown()) bits |= TextUnderline;
    if (OutlineBtn->GetDown()) bits |= TextOutline;
    if (ShadowBtn->GetDown()) bits |= TextShadow;
    return bits;
}

TextDraft TTextForm::ReadDraft()
{
    TextDraft d;
    d.text = TextBox->GetText();
    d.style = StyleBits();
    d.shadowColour = PixelOf(ShColor->GetBrush()->GetColor());
    d.depth = int(ShDepth->GetValue());
    d.sizeX = double(SizeX->GetValue());
    d.sizeY = double(SizeY->GetValue());
    d.x = int(TextXPos->GetValue());
    d.y = int(TextYPos->GetValue());
    return d;
}

TextFontSpec TTextForm::ReadFont()
{
    TextFontSpec spec;
    int index = FontType->GetItemIndex();
    if (index >= 0) spec.name = FontType->GetItems()->GetStrings(index);
    spec.size = int(std::trunc(double(FontSize->GetValue()) * (AntiAlias ? 2 : 1)));
    spec.style = StyleBits() & (TextBold | TextItalic | TextUnderline);
    spec.charset = CharsetForLayout(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(GetKeyboardLayout(0))));
    return spec;
}

void TTextForm::FontChanged(TObject*)
{
    if (TextTool().quiet) return;
    TextTool().Changed(ReadDraft(), ReadFont());
}

void TTextForm::OkBtnClick(TObject*)
{
    int moved = TextTool().Write();
    TextTool().quiet = 1;
    try {
        if (moved > 0) TextYPos->SetValue(TextYPos->GetValue() + moved);
        TextBox->Clear();
    } catch (...) {
        TextTool().quiet = 0;
        throw;
    }
    TextTool().quiet = 0;
}

// ---- the tool's way to its dialog

void InstallTextDialog(TComponent* owner, TFont* font)
{
    InstallTextFont(font);
    if (!owner) {
        TextToolHost = TextToolHostServices();
        return;
    }
    TextToolHost.showDialog = [owner, font]() {
        // No control may draw a preview while the dialog is being built.
        TextTool().quiet = 1;
        if (!TextForm) TextForm = new TTextForm(owner, font);
        TextForm->ShowDialog();
    };
    TextToolHost.hideDialog = []() {
        if (TextForm) TextForm->HideDialog();
    };
    TextToolHost.fontChanged = []() {
        if (TextForm) TextForm->FontChanged(TextForm);
    };
    TextToolHost.placeText = [](int x, int y) {
        if (TextForm) TextForm->PlaceText(x, y);
    };
}
