#include "colorsel.h"

#include "formbuilder.h"
#include "lang.h"
#include "messages.h"
#include "palette_notify.h"
#include "palettebar.h"
#include "sysutils.h"

TColorSel* ColorSel = nullptr;

namespace {

const int BarTop = 24;
const int BarWidth = 17;
const int EditTop = BarTop + SquareSize + 8;

}  // namespace

TColorSel::TColorSel(TComponent* AOwner) : TForm(AOwner)
{
    SetName("ColorSel");
    SetCaption("Select colour");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(364);
    SetClientHeight(EditTop + 32);
    GradCaption = new TGradientCaption(this);

    RedLabel = NewLabel(this, this, "R", 14, 6);
    GreenLabel = NewLabel(this, this, "G", 50, 6);
    BlueLabel = NewLabel(this, this, "B", 86, 6);
    HueLabel = NewLabel(this, this, "H", 126, 6);
    RedLabel->SetName("RedLabel");
    GreenLabel->SetName("GreenLabel");
    BlueLabel->SetName("BlueLabel");
    HueLabel->SetName("HueLabel");
    Red = NewChannelBar("Red", 8);
    Green = NewChannelBar("Green", 44);
    Blue = NewChannelBar("Blue", 80);
    RedEdit = NewChannelEdit("RedEdit", 4);
    GreenEdit = NewChannelEdit("GreenEdit", 40);
    BlueEdit = NewChannelEdit("BlueEdit", 76);

    HVal = New<TScrollBar>(this, this, 120, BarTop, BarWidth, SquareSize);
    HVal->SetName("HVal");
    HVal->SetKind(sbVertical);
    HVal->SetBounds(120, BarTop, BarWidth, SquareSize);
    HVal->SetParams(0, 0, 360);
    HVal->SetLargeChange(15);
    HVal->OnChange = [this](TObject* s) { HValChange(s); };

    HSVBuf = New<TBuffer>(this, this, 148, BarTop, SquareSize, SquareSize);
    HSVBuf->SetName("HSVBuf");
    square_.Alloc(Pair<int>{SquareSize, SquareSize});
    square_.Box(square_.GetRect(), 0);
    HSVBuf->SetBuffer(&square_);
    HSVBuf->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        HSVBufMouseDown(s, b, sh, x, y);
    };
    HSVBuf->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { StoreSVVal(s, sh, x, y); };
    HSVBuf->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        HSVBufMouseUp(s, b, sh, x, y);
    };

    OKBtn = NewButton(this, this, "OK", 284, BarTop, 72, 25);
    OKBtn->SetName("OKBtn");
    OKBtn->SetDefault(true);
    OKBtn->SetModalResult(mrOk);
    CancelBtn = NewButton(this, this, "Cancel", 284, BarTop + 32, 72, 25);
    CancelBtn->SetName("CancelBtn");
    CancelBtn->SetCancel(true);
    CancelBtn->SetModalResult(mrCancel);

    ShowSelection(false);
    if (Lang) Lang->TranslateForm("[ColorSel]");
}

TColorSel::~TColorSel()
{
    if (ColorSel == this) ColorSel = nullptr;
}

TScrollBar* TColorSel::NewChannelBar(const char* name, int x)
{
    TScrollBar* bar = new TScrollBar(this);
    bar->SetName(name);
    bar->SetKind(sbVertical);
    bar->SetBounds(x, BarTop, BarWidth, SquareSize);
    bar->SetParent(this);
    bar->SetParams(255, 0, 255);
    bar->SetLargeChange(16);
    bar->OnChange = [this](TObject* s) { ValChange(s); };
    return bar;
}

TEdit* TColorSel::NewChannelEdit(const char* name, int x)
{
    TEdit* edit = NewEdit(this, this, "0", x, EditTop, 30);
    edit->SetName(name);
    edit->SetMaxLength(3);
    edit->OnChange = [this](TObject* s) { ColEditExit(s, false); };
    edit->OnExit = [this](TObject* s) { ColEditExit(s, true); };
    return edit;
}

ColourChannel TColorSel::ChannelOf(TObject* control) const
{
    if (control == Green || control == GreenEdit) return ChannelGreen;
    if (control == Blue || control == BlueEdit) return ChannelBlue;
    return ChannelRed;
}

void TColorSel::ShowSelection(bool live)
{
    updating_ = true;
    try {
        TScrollBar* bars[3] = {Red, Green, Blue};
        TEdit* edits[3] = {RedEdit, GreenEdit, BlueEdit};
        for (int c = 0; c < 3; c++) {
            int value = sel_.Channel(static_cast<ColourChannel>(c));
            bars[c]->SetPosition(255 - value);
            // An edit that already reads the value keeps its text and caret.
            int shown;
            if (!ParseChannelText(edits[c]->GetText().c_str(), shown) || shown != value)
                edits[c]->SetText(IntToStr(value));
        }
        HVal->SetPosition(sel_.Hsv().h);
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
    DrawSVSquare();
    if (live && swatch_) {
        SetSwatchColour(swatch_, sel_.Pixel(), sel_.Tag());
        ::ColorChanged();
    }
}

void TColorSel::ValChange(TObject* Sender)
{
    if (updating_) return;
    auto* bar = static_cast<TScrollBar*>(Sender);
    channelChange_ = true;
    try {
        if (sel_.SetChannel(ChannelOf(Sender), 255 - bar->GetPosition())) ShowSelection(true);
    } catch (...) {
        channelChange_ = false;
        throw;
    }
    channelChange_ = false;
}

void TColorSel::ColEditExit(TObject* Sender, bool leaving)
{
    if (updating_) return;
    auto* edit = static_cast<TEdit*>(Sender);
    ColourChannel channel = ChannelOf(Sender);
    int value;
    if (ParseChannelText(edit->GetText().c_str(), value)) {
        channelChange_ = true;
        bool changed = false;
        try {
            changed = sel_.SetChannel(channel, value);
            if (changed) ShowSelection(true);
        } catch (...) {
            channelChange_ = false;
            throw;
        }
        channelChange_ = false;
        if (changed || !leaving) return;
    } else if (!leaving) {
        return;
    }
    updating_ = true;
    edit->SetText(IntToStr(sel_.Channel(channel)));
    updating_ = false;
}

void TColorSel::HValChange(TObject* Sender)
{
    (void)Sender;
    if (updating_ || channelChange_) return;
    if (sel_.SetHue(HVal->GetPosition())) ShowSelection(true);
}

void TColorSel::HSVBufMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Sender;
    (void)Shift;
    if (Button != mbLeft) return;
    squareDown_ = true;
    // A click picks as well as a drag does.
    SVChange(X, Y);
}

void TColorSel::HSVBufMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
    squareDown_ = false;
}

void TColorSel::StoreSVVal(TObject* Sender, TShiftState Shift, int X, int Y)
{
    (void)Sender;
    (void)Shift;
    if (squareDown_) SVChange(X, Y);
}

void TColorSel::SVChange(int x, int y)
{
    if (sel_.SetSquarePoint(x, y)) ShowSelection(true);
}

void TColorSel::DrawSVSquare()
{
    ::DrawSVSquare(square_, sel_.Hsv(), sel_.Pixel());
    HSVBuf->Invalidate();
}

void TColorSel::BeginSelection(TShape* swatch, const AnsiString& caption)
{
    swatch_ = nullptr;
    SetCaption(caption);
    remembered_ = SwatchColour(swatch);
    rememberedTag_ = swatch->GetTag();
    sel_.Load(remembered_, rememberedTag_);
    squareDown_ = false;
    ShowSelection(false);
    swatch_ = swatch;
}

void TColorSel::EndSelection(TModalResult result)
{
    TShape* swatch = swatch_;
    swatch_ = nullptr;
    squareDown_ = false;
    if (!swatch) return;
    if (result == mrOk) {
        remembered_ = sel_.Pixel();
        rememberedTag_ = sel_.Tag();
    }
    SetSwatchColour(swatch, remembered_, rememberedTag_);
    ::ColorChanged();
}

TModalResult TColorSel::OpenFor(TShape* swatch)
{
    const char* key = swatch == BackColourSwatch() ? "SelBackCol" : "SelDrawCol";
    return OpenFor(swatch, Translate(key));
}

TModalResult TColorSel::OpenFor(TShape* swatch, const AnsiString& caption)
{
    BeginSelection(swatch, caption);
    TModalResult result = mrCancel;
    try {
        result = ShowModal();
    } catch (...) {
        EndSelection(mrCancel);
        throw;
    }
    EndSelection(result);
    return result;
}

void TColorSel::ApplyCaptionColours(TColor activeEnd, TColor inactiveEnd)
{
    GradCaption->SetActiveEndColor(activeEnd);
    GradCaption->SetInactiveEndColor(inactiveEnd);
}

void ActivateColorSel(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
    auto* swatch = dynamic_cast<TShape*>(Sender);
    if (ColorSel && swatch) ColorSel->OpenFor(swatch);
}
