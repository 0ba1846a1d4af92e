#include "optionbar_view.h"

#include <algorithm>
#include <cmath>

#include "bitmap.h"
#include "buttons.h"
#include "exceptions.h"
#include "extctrls.h"
#include "forms.h"
#include "spinedit.h"
#include "tool_window.h"
#include "userlevel.h"
#include "winapi.h"

namespace {
TOptionBarView* Installed = nullptr;

const int ItemGap = 6;   // between items
const int LabelGap = 3;  // between a label and its control
const int ButtonHeight = 21;
const int SeparatorWidth = 8;

// The model keeps 0x00RRGGBB; a TColor is 0x00BBGGRR.
TColor SwatchColor(double pixel)
{
    unsigned long rgb = (unsigned long)(long long)pixel & 0xFFFFFF;
    return TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

double SwatchPixel(TColor color)
{
    unsigned long bgr = (unsigned long)ColorToRGB(color) & 0xFFFFFF;
    return double(((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF));
}

SIZE MeasureText(HFONT font, const AnsiString& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r = {0, 0, 0, 0};
    // An empty text still has a line's height.
    const char* s = text.IsEmpty() ? " " : text.c_str();
    DrawTextA(dc, s, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    SIZE size = {text.IsEmpty() ? 0 : r.right - r.left, r.bottom - r.top};
    return size;
}

void ClearActiveControlOf(TControl* control)
{
    if (TCustomForm* form = control ? GetParentForm(control) : nullptr) form->SetActiveControl(nullptr);
}
}  // namespace

TOptionBarView::TOptionBarView(TComponent* AOwner, TWinControl* Bar, TLabel* CaptionLabel)
    : TComponent(AOwner), bar_(Bar), captionLabel_(CaptionLabel)
{
    if (!Bar) throw EInvalidOperation("Option bar has no window");
    bar_->FreeNotification(this);
    if (captionLabel_) captionLabel_->FreeNotification(this);
    Installed = this;
    OptionBarView.build = [this](const OptionBarDescription& d) { Build(d); };
    OptionBarView.show = [this](bool shown) { ShowBar(shown); };
    OptionBarView.clearActiveControl = [this]() { ClearActiveControlOf(bar_); };
    OptionBarView.showValue = [this](int index) { ShowValue(index); };
}

TOptionBarView::~TOptionBarView()
{
    if (Installed == this) {
        Installed = nullptr;
        OptionBarView = OptionBarViewServices();
    }
    FreeControls();
}

void TOptionBarView::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == bar_) bar_ = nullptr;
    if (AComponent == captionLabel_) captionLabel_ = nullptr;
    for (Built& b : built_)
        if (b.control == AComponent) b.control = nullptr;
    for (Value& v : values_) {
        if (v.control == AComponent) v.control = nullptr;
        if (v.label == AComponent) v.label = nullptr;
    }
}

TControl* TOptionBarView::GetValueControl(int Index) const
{
    return Index >= 0 && Index < GetValueControlCount() ? values_[size_t(Index)].control : nullptr;
}

TLabel* TOptionBarView::GetValueLabel(int Index) const
{
    return Index >= 0 && Index < GetValueControlCount() ? values_[size_t(Index)].label : nullptr;
}

TControl* TOptionBarView::GetBuilt(int Index) const
{
    return Index >= 0 && Index < GetBuiltCount() ? built_[size_t(Index)].control : nullptr;
}

HFONT TOptionBarView::BarFont() const
{
    return bar_ ? bar_->GetFont()->GetHandle() : HFONT(GetStockObject(DEFAULT_GUI_FONT));
}

int TOptionBarView::TextWidth(const AnsiString& Text) const { return MeasureText(BarFont(), Text).cx; }

int TOptionBarView::TextHeight() const { return MeasureText(BarFont(), "").cy; }

void TOptionBarView::FreeControls()
{
    values_.clear();
    std::vector<Built> old;
    old.swap(built_);
    // Newest first, as an owner frees them.
    for (auto it = old.rbegin(); it != old.rend(); ++it) delete it->control;
}

void TOptionBarView::Add(TControl* Control, int ItemLevel)
{
    built_.push_back(Built{Control, ItemLevel, false});
    Control->SetParent(bar_);
}

TLabel* TOptionBarView::MakeLabel(const AnsiString& Caption, const AnsiString& Hint, int ItemLevel)
{
    TLabel* label = new TLabel(this);
    label->SetAutoSize(false);
    label->SetCaption(Caption);
    label->SetHint(Hint);
    label->SetTag(ItemLevel * 4096);
    SIZE size = MeasureText(BarFont(), Caption);
    label->SetBounds(0, 0, size.cx, size.cy + 1);
    Add(label, ItemLevel);
    return label;
}

TControl* TOptionBarView::MakeValueControl(const OptionItem& Item)
{
    switch (Item.kind) {
    case 'B':
    case 'P': {
        TSpeedButton* button = new TSpeedButton(this);
        if (Item.kind == 'B') {
            button->SetCaption(Item.caption);
            button->SetBounds(0, 0, TextWidth(Item.caption) + 14, ButtonHeight);
        } else {
            // A toggle of its own group, which can be released.
            button->SetGroupIndex(int(values_.size()) + 1);
            button->SetAllowAllUp(true);
            button->SetBounds(0, 0, ButtonHeight, ButtonHeight);
            try {
                TBitmap glyph;
                glyph.LoadFromResourceName(GetModuleHandleA(nullptr), Item.caption);
                button->SetGlyph(&glyph);
            } catch (const Exception&) {
                // A language file naming a glyph the program lacks: a plain button.
            }
        }
        return button;
    }
    case 'C': {
        TCheckBox* box = new TCheckBox(this);
        box->SetCaption(Item.caption);
        box->SetBounds(0, 0, TextWidth(Item.caption) + 20, TextHeight() + 4);
        return box;
    }
    case 'F':
    case 'I': {
        TSpinEdit* spin = new TSpinEdit(this);
        TValueType type = Item.kind == 'F' ? vtFloat : vtInt;
        int decimals = std::max(0, std::min(18, Item.decimals));
        spin->SetValueType(type);
        spin->SetDecimal(decimals);
        spin->SetMinValue(Item.minimum);
        spin->SetMaxValue(Item.maximum);
        int width = std::max(TextWidth(FormatSpinValue(Item.minimum, type, decimals)),
                             TextWidth(FormatSpinValue(Item.maximum, type, decimals))) + 30;
        spin->SetBounds(0, 0, width, spin->GetMinHeight());
        return spin;
    }
    case 'L': {
        TComboBox* combo = new TComboBox(this);
        combo->SetStyle(csDropDownList);
        int widest = 0;
        for (const AnsiString& entry : Item.entries) {
            combo->GetItems()->Add(entry);
            widest = std::max(widest, TextWidth(entry));
        }
        combo->SetBounds(0, 0, widest + 30, combo->GetHeight());
        return combo;
    }
    case 'O': {
        TShape* swatch = new TShape(this);
        swatch->SetBounds(0, 0, 28, 20);
        return swatch;
    }
    default:
        return nullptr;
    }
}

void TOptionBarView::Build(const OptionBarDescription& Description)
{
    if (!bar_) return;
    FreeControls();
    if (captionLabel_) captionLabel_->SetCaption(Description.caption);
    for (const OptionItem& item : Description.items) {
        if (item.kind == 'S') {
            TBevel* sep = new TBevel(this);
            sep->SetShape(bsSpacer);
            sep->SetBounds(0, 0, SeparatorWidth, ButtonHeight);
            sep->SetTag(item.Tag());
            Add(sep, item.level);
            continue;
        }
        if (item.kind == 'T') {
            MakeLabel(item.caption, item.hint, item.level);
            continue;
        }
        // The model skips what tools cannot address; so does the window.
        if (GetValueControlCount() >= MaxOptionControls) continue;
        bool labelled = item.kind == 'F' || item.kind == 'I' || item.kind == 'L' || item.kind == 'O';
        TLabel* label = nullptr;
        if (labelled) {
            label = MakeLabel(item.caption, item.hint, item.level);
            built_.back().labelOfNext = true;
        }
        TControl* control = MakeValueControl(item);
        if (!control) continue;
        control->SetHint(item.hint);
        control->SetTag(item.Tag());
        Add(control, item.level);
        if (label) label->SetFocusControl(dynamic_cast<TWinControl*>(control));
        int index = GetValueControlCount();
        values_.push_back(Value{item.kind, control, label, nullptr});
        auto changed = [this, index](TObject*) { Changed(index); };
        if (auto* spin = dynamic_cast<TSpinEdit*>(control)) {
            spin->OnChange = changed;
            spin->OnExit = changed;
        } else if (auto* combo = dynamic_cast<TComboBox*>(control)) {
            combo->OnChange = changed;
        } else if (auto* box = dynamic_cast<TCheckBox*>(control)) {
            box->OnClick = changed;
        } else if (auto* button = dynamic_cast<TSpeedButton*>(control)) {
            button->OnClick = changed;
        }
    }
    Refresh();
    Place();
}

void TOptionBarView::Place()
{
    int height = bar_->GetHeight();
    int x = 2;
    if (captionLabel_ && captionLabel_->GetParent() == bar_)
        x = captionLabel_->GetLeft() + captionLabel_->GetWidth() + ItemGap;
    for (size_t i = 0; i < built_.size(); ++i) {
        TControl* c = built_[i].control;
        if (!c || (built_[i].level > Level)) continue;
        int top = std::max(0, (height - c->GetHeight()) / 2);
        c->SetBounds(x, top, c->GetWidth(), c->GetHeight());
        x += c->GetWidth() + (built_[i].labelOfNext ? LabelGap : ItemGap);
    }
}

void TOptionBarView::ShowBar(bool Shown)
{
    if (!bar_) return;
    for (const Built& b : built_) {
        if (!b.control) continue;
        bool on = Shown && Level >= b.level;
        b.control->SetVisible(on);
        b.control->SetEnabled(on);
    }
    if (Shown) {
        Refresh();
        Place();
        // At the start of its row, whatever the row held before.
        if (auto* window = dynamic_cast<TCustomToolWindow*>(bar_)) window->SetDockPos(0);
    }
    bar_->SetEnabled(Shown);
    bar_->SetVisible(Shown);
}

double TOptionBarView::ReadControl(const Value& V) const
{
    if (!V.control) return 0;
    switch (V.kind) {
    case 'L':
        return static_cast<TComboBox*>(V.control)->GetItemIndex();
    case 'F':
    case 'I':
        return double(static_cast<TSpinEdit*>(V.control)->GetValue());
    case 'C':
        return static_cast<TCheckBox*>(V.control)->GetChecked() ? 1 : 0;
    case 'O':
        return SwatchPixel(static_cast<TShape*>(V.control)->GetBrush()->GetColor());
    case 'B':
    case 'P':
        return static_cast<TSpeedButton*>(V.control)->GetDown() ? 1 : 0;
    default:
        return 0;
    }
}

void TOptionBarView::WriteControl(const Value& V, double Number)
{
    if (!V.control) return;
    switch (V.kind) {
    case 'L':
        static_cast<TComboBox*>(V.control)->SetItemIndex(int(Number));
        break;
    case 'F':
    case 'I':
        static_cast<TSpinEdit*>(V.control)->SetValue(Number);
        break;
    case 'C':
        static_cast<TCheckBox*>(V.control)->SetChecked(Number != 0);
        break;
    case 'O':
        static_cast<TShape*>(V.control)->GetBrush()->SetColor(SwatchColor(Number));
        V.control->Invalidate();
        break;
    case 'P':
        static_cast<TSpeedButton*>(V.control)->SetDown(Number != 0);
        break;
    default:
        break;
    }
}

void TOptionBarView::Refresh()
{
    writing_ = true;
    try {
        for (size_t i = 0; i < values_.size(); ++i) WriteControl(values_[i], GetOptionValue(int(i)));
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void TOptionBarView::ShowValue(int Index)
{
    // The control the user is changing already shows the value.
    if (writing_ || Index < 0 || Index >= GetValueControlCount()) return;
    writing_ = true;
    try {
        WriteControl(values_[size_t(Index)], GetOptionValue(Index));
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
}

void TOptionBarView::Changed(int Index)
{
    if (writing_ || Index >= GetValueControlCount()) return;
    // Copied: the handler may rebuild the bar (a tool switch), freeing this entry.
    Value v = values_[size_t(Index)];
    double number = ReadControl(v);
    // A control that re-shows its text (a spin edit losing the focus) is no change.
    if (v.kind != 'B' && number == GetOptionValue(Index)) return;
    writing_ = true;
    try {
        SetOptionValue(Index, number);
    } catch (...) {
        writing_ = false;
        throw;
    }
    writing_ = false;
    if (v.handler) v.handler(v.control);
}

void TOptionBarView::SetOptionHandler(int Index, TNotifyEvent Handler)
{
    if (Index < 0 || Index >= GetValueControlCount()) return;
    values_[size_t(Index)].handler = std::move(Handler);
}

void TOptionBarView::SetOptionMouseHandler(int Index, TMouseEvent Handler)
{
    if (Index < 0 || Index >= GetValueControlCount() || values_[size_t(Index)].kind != 'O') return;
    if (TControl* swatch = values_[size_t(Index)].control) swatch->OnMouseDown = std::move(Handler);
}

void SetOptionHandler(int Index, TNotifyEvent Handler)
{
    if (Installed) Installed->SetOptionHandler(Index, std::move(Handler));
}

void SetOptionMouseHandler(int Index, TMouseEvent Handler)
{
    if (Installed) Installed->SetOptionMouseHandler(Index, std::move(Handler));
}

int OptionTextWidth(const AnsiString& Text)
{
    if (Installed) return Installed->TextWidth(Text);
    return MeasureText(HFONT(GetStockObject(DEFAULT_GUI_FONT)), Text).cx;
}
