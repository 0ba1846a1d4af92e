// TStatusBar: the status window with panels kept by the object.
#include "comctrls.h"

#include <commctrl.h>

#include <algorithm>

#include "list.h"

// ---- TStatusPanel

void TStatusPanel::Changed(bool sizes)
{
    if (sizes)
        bar_->UpdateParts();
    else
        bar_->UpdatePanel(GetIndex());
}

int TStatusPanel::GetIndex() const
{
    return bar_->GetPanels()->IndexOf(this);
}

void TStatusPanel::SetWidth(int Value)
{
    width_ = std::max(0, Value);
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value)
{
    alignment_ = Value;
    Changed(false);
}

void TStatusPanel::SetText(const AnsiString& Value)
{
    if (Value == text_) return;
    text_ = Value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value)
{
    bevel_ = Value;
    Changed(false);
}

// ---- TStatusPanels

TStatusPanels::~TStatusPanels() {}

TStatusPanel* TStatusPanels::Add()
{
    panels_.emplace_back(new TStatusPanel(bar_));
    bar_->UpdateParts();
    return panels_.back().get();
}

TStatusPanel* TStatusPanels::GetItems(int Index) const
{
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
    return panels_[Index].get();
}

void TStatusPanels::Delete(int Index)
{
    if (Index < 0 || Index >= GetCount()) ListIndexError(Index);
    panels_.erase(panels_.begin() + Index);
    bar_->UpdateParts();
}

void TStatusPanels::Clear()
{
    panels_.clear();
    bar_->UpdateParts();
}

int TStatusPanels::IndexOf(const TStatusPanel* Panel) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (panels_[i].get() == Panel) return i;
    return -1;
}

// ---- TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner) : TWinControl(AOwner), panels_(new TStatusPanels(this))
{
    controlStyle_ = csAcceptsControls | csClickEvents | csDoubleClicks;
    width_ = 200;
    height_ = 19;
    SetColor(clBtnFace);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {}

void TStatusBar::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, STATUSCLASSNAMEA);
    // Our alignment places the bar; the class must not move itself.
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (sizeGrip_) Params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    UpdateParts();
}

void TStatusBar::SetSimplePanel(bool Value)
{
    if (Value == simplePanel_) return;
    simplePanel_ = Value;
    UpdateParts();
}

void TStatusBar::SetSimpleText(const AnsiString& Value)
{
    simpleText_ = Value;
    if (HandleAllocated() && simplePanel_)
        SendMessageA(handle_, SB_SETTEXTA, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TStatusBar::SetSizeGrip(bool Value)
{
    if (Value == sizeGrip_) return;
    sizeGrip_ = Value;
    RecreateWnd();
}

// Right edges, each panel after the ones before; the last reaches the end.
void TStatusBar::UpdateParts()
{
    if (!HandleAllocated()) return;
    SendMessageA(handle_, SB_SIMPLE, simplePanel_, 0);
    if (simplePanel_) {
        SetSimpleText(simpleText_);
        return;
    }
    int count = panels_->GetCount();
    std::vector<int> edges(std::max(1, count), -1);
    int x = 0;
    for (int i = 0; i + 1 < count; ++i) {
        x += panels_->GetItems(i)->GetWidth();
        edges[i] = x;
    }
    SendMessageA(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (count == 0) SendMessageA(handle_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    for (int i = 0; i < count; ++i) UpdatePanel(i);
}

void TStatusBar::UpdatePanel(int Index)
{
    if (!HandleAllocated() || simplePanel_ || Index < 0) return;
    TStatusPanel* panel = panels_->GetItems(Index);
    // Tabs in front centre or right-align the text.
    static const char* const prefix[] = {"", "\t\t", "\t"};
    AnsiString text = AnsiString(prefix[panel->GetAlignment()]) + panel->GetText();
    static const WPARAM bevel[] = {SBT_NOBORDERS, 0, SBT_POPOUT};
    SendMessageA(handle_, SB_SETTEXTA, Index | bevel[panel->GetBevel()], reinterpret_cast<LPARAM>(text.c_str()));
}
