// TCustomFloatTabControl, TFloatTabSheet, TFloatPageControl, TFloatingForm.
#include "floattabs.h"

#include <commctrl.h>

#include <algorithm>

#include "application.h"
#include "floattabs_model.h"
#include "list.h"
#include "sysutils.h"

namespace {

const int GripSize = 7;
const int GripPressLength = 20;
const int DragThreshold = 3;

// Common controls 4.70 and later have InitCommonControlsEx; older ones only
// the plain call, which registers the tab class too.
void InitTabClasses()
{
    static bool done = false;
    if (done) return;
    done = true;
    typedef BOOL(WINAPI * TInitEx)(const INITCOMMONCONTROLSEX*);
    HMODULE comctl = GetModuleHandleA("comctl32.dll");
    if (!comctl) comctl = LoadLibraryA("comctl32.dll");
    auto initEx = comctl ? reinterpret_cast<TInitEx>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")))
                         : nullptr;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TAB_CLASSES};
    if (!initEx || !initEx(&icc)) InitCommonControls();
}

void CheckSize(int Value, const char* Name)
{
    if (Value < 0 || Value > 32767) throw EPropertyError(Format("%s property out of range", Name));
}

}  // namespace

// ---- TCustomFloatTabControl

TCustomFloatTabControl::TCustomFloatTabControl(TComponent* AOwner)
    : TCustomTabControl(AOwner), tabInactiveFont_(new TFont)
{
    InitTabClasses();
    tabInactiveFont_->Assign(GetFont());
    tabInactiveFont_->OnChange = [this](TObject*) {
        if (HandleAllocated()) InvalidateRect(handle_, nullptr, TRUE);
    };
}

TCustomFloatTabControl::~TCustomFloatTabControl()
{
    tabInactiveFont_->OnChange = nullptr;
}

void TCustomFloatTabControl::CheckButtonStyle()
{
    if (buttonStyle_) throw EInvalidOperation("Buttons are only supported when aligned along the top");
}

void TCustomFloatTabControl::SetTabPosition(TTabPosition Value)
{
    if (Value == tabPosition_) return;
    CheckButtonStyle();
    tabPosition_ = Value;
    StyleChanged();
}

void TCustomFloatTabControl::SetVerticalTabs(bool Value)
{
    if (Value == verticalTabs_) return;
    CheckButtonStyle();
    verticalTabs_ = Value;
    StyleChanged();
}

void TCustomFloatTabControl::SetButtonStyle(bool Value)
{
    if (Value == buttonStyle_) return;
    buttonStyle_ = Value;
    if (Value) {
        verticalTabs_ = false;
        tabPosition_ = tpTopLeft;
    }
    StyleChanged();
}

void TCustomFloatTabControl::SetFlatButtons(bool Value)
{
    if (Value == flatButtons_) return;
    flatButtons_ = Value;
    StyleChanged();
}

void TCustomFloatTabControl::SetFlatSeperators(bool Value)
{
    flatSeperators_ = Value;
    if (HandleAllocated())
        SendMessageA(handle_, TCM_SETEXTENDEDSTYLE, TCS_EX_FLATSEPARATORS, Value ? TCS_EX_FLATSEPARATORS : 0);
}

void TCustomFloatTabControl::SetFocusButtons(bool Value)
{
    if (Value == focusButtons_) return;
    focusButtons_ = Value;
    StyleChanged();
}

void TCustomFloatTabControl::SetMultiLine(bool Value)
{
    if (Value == multiLine_) return;
    multiLine_ = Value;
    if (!Value) scrollOpposite_ = false;
    StyleChanged();
}

void TCustomFloatTabControl::SetScrollOpposite(bool Value)
{
    if (Value == scrollOpposite_) return;
    scrollOpposite_ = Value;
    if (Value) multiLine_ = true;
    StyleChanged();
}

void TCustomFloatTabControl::SetMultiSelect(bool Value)
{
    if (Value == multiSelect_) return;
    multiSelect_ = Value;
    StyleChanged();
}

void TCustomFloatTabControl::SetUseMSDrawing(bool Value)
{
    if (Value == useMSDrawing_) return;
    useMSDrawing_ = Value;
    StyleChanged();
}

void TCustomFloatTabControl::SetTabHeight(int Value)
{
    CheckSize(Value, "TabHeight");
    if (Value == tabHeight_) return;
    tabHeight_ = Value;
    ApplyItemSize();
}

void TCustomFloatTabControl::SetTabWidth(int Value)
{
    CheckSize(Value, "TabWidth");
    if (Value == tabWidth_) return;
    bool fixedChanged = (Value == 0) != (tabWidth_ == 0);
    tabWidth_ = Value;
    if (fixedChanged)
        StyleChanged();
    else
        ApplyItemSize();
}

void TCustomFloatTabControl::SetTabInactiveColor(TColor Value)
{
    tabInactiveColor_ = Value;
    if (HandleAllocated()) InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomFloatTabControl::SetTabInactiveFont(const TFont* Value)
{
    tabInactiveFont_->Assign(Value);
}

void TCustomFloatTabControl::SetTextRotation(TTextRotation Value)
{
    textRotation_ = Value;
    if (HandleAllocated()) InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomFloatTabControl::SetImages(TImageList* Value)
{
    images_ = Value;
    RestoreImages();
}

void TCustomFloatTabControl::StyleChanged()
{
    if (HandleAllocated()) RecreateWnd();
    Realign();
}

void TCustomFloatTabControl::ApplyItemSize()
{
    if (!HandleAllocated()) return;
    if (tabWidth_ || tabHeight_) SendMessageA(handle_, TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth_, tabHeight_));
    Realign();
}

void TCustomFloatTabControl::CreateParams(TCreateParams& Params)
{
    TCustomTabControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    if (tabPosition_ == tpBottomRight) Params.Style |= TCS_BOTTOM;  // TCS_RIGHT with vertical tabs
    if (verticalTabs_) Params.Style |= TCS_VERTICAL | TCS_MULTILINE;
    if (buttonStyle_) Params.Style |= TCS_BUTTONS;
    if (flatButtons_) Params.Style |= TCS_FLATBUTTONS;
    if (focusButtons_) Params.Style |= TCS_FOCUSONBUTTONDOWN;
    if (multiLine_) Params.Style |= TCS_MULTILINE;
    if (scrollOpposite_) Params.Style |= TCS_SCROLLOPPOSITE;
    if (multiSelect_) Params.Style |= TCS_MULTISELECT;
    if (hotTrack_ && useMSDrawing_) Params.Style |= TCS_HOTTRACK;
    if (!useMSDrawing_) Params.Style |= TCS_OWNERDRAWFIXED;
    if (tabWidth_) Params.Style |= TCS_FIXEDWIDTH;
    if (!GetTabStop()) Params.Style |= TCS_FOCUSNEVER;
}

void TCustomFloatTabControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    SetFlatSeperators(flatSeperators_);
    if (tabWidth_ || tabHeight_) SendMessageA(handle_, TCM_SETITEMSIZE, 0, MAKELPARAM(tabWidth_, tabHeight_));
    for (int i = 0; i < GetTabCount(); ++i) {
        const TTabItem& item = tabs_[i];
        TCITEMA tc = {};
        tc.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        tc.pszText = const_cast<char*>(item.Text.c_str());
        tc.iImage = item.ImageIndex;
        tc.lParam = reinterpret_cast<LPARAM>(item.Data);
        if (SendMessageA(handle_, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tc)) < 0) ListIndexError(i);
    }
    // The image list goes on once the window has settled.
    PostMessageA(handle_, FTM_RESTOREIMAGES, 0, 0);
}

void TCustomFloatTabControl::RestoreImages()
{
    if (!HandleAllocated()) return;
    SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageA(handle_, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_ ? images_->GetHandle() : nullptr));
    for (int i = 0; i < GetTabCount(); ++i) {
        TCITEMA tc = {};
        tc.mask = TCIF_IMAGE;
        tc.iImage = images_ ? tabs_[i].ImageIndex : -1;
        SendMessageA(handle_, TCM_SETITEMA, i, reinterpret_cast<LPARAM>(&tc));
    }
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void TCustomFloatTabControl::CheckTabIndex(int Index) const
{
    if (Index < 0 || Index >= GetTabCount()) ListIndexError(Index);
}

AnsiString TCustomFloatTabControl::GetTabText(int Index) const
{
    CheckTabIndex(Index);
    return tabs_[Index].Text;
}

void* TCustomFloatTabControl::GetTabData(int Index) const
{
    CheckTabIndex(Index);
    return tabs_[Index].Data;
}

void TCustomFloatTabControl::InsertTabItem(int Index, const AnsiString& Text, int ImageIndex, void* Data)
{
    if (Index < 0 || Index > GetTabCount()) ListIndexError(Index);
    if (HandleAllocated()) {
        TCITEMA tc = {};
        tc.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
        tc.pszText = const_cast<char*>(Text.c_str());
        tc.iImage = images_ ? ImageIndex : -1;
        tc.lParam = reinterpret_cast<LPARAM>(Data);
        if (SendMessageA(handle_, TCM_INSERTITEMA, Index, reinterpret_cast<LPARAM>(&tc)) < 0) ListIndexError(Index);
    }
    tabs_.insert(tabs_.begin() + Index, TTabItem{Text, ImageIndex, Data});
}

void TCustomFloatTabControl::DeleteTabItem(int Index)
{
    CheckTabIndex(Index);
    if (HandleAllocated() && !SendMessageA(handle_, TCM_DELETEITEM, Index, 0)) ListIndexError(Index);
    tabs_.erase(tabs_.begin() + Index);
    if (hotTab_ >= GetTabCount()) hotTab_ = -1;
}

void TCustomFloatTabControl::ClearTabItems()
{
    if (HandleAllocated()) SendMessageA(handle_, TCM_DELETEALLITEMS, 0, 0);
    tabs_.clear();
    hotTab_ = -1;
}

void TCustomFloatTabControl::SetTabItemText(int Index, const AnsiString& Text)
{
    CheckTabIndex(Index);
    tabs_[Index].Text = Text;
    if (!HandleAllocated()) return;
    TCITEMA tc = {};
    tc.mask = TCIF_TEXT;
    tc.pszText = const_cast<char*>(Text.c_str());
    if (!SendMessageA(handle_, TCM_SETITEMA, Index, reinterpret_cast<LPARAM>(&tc))) ListIndexError(Index);
}

void TCustomFloatTabControl::SetTabItemImage(int Index, int ImageIndex)
{
    CheckTabIndex(Index);
    tabs_[Index].ImageIndex = ImageIndex;
    if (!HandleAllocated()) return;
    TCITEMA tc = {};
    tc.mask = TCIF_IMAGE;
    tc.iImage = images_ ? ImageIndex : -1;
    if (!SendMessageA(handle_, TCM_SETITEMA, Index, reinterpret_cast<LPARAM>(&tc))) ListIndexError(Index);
}

int TCustomFloatTabControl::GetTabIndex()
{
    if (!HandleAllocated()) return -1;
    return static_cast<int>(SendMessageA(handle_, TCM_GETCURSEL, 0, 0));
}

void TCustomFloatTabControl::SelectTab(int Index)
{
    if (HandleAllocated()) SendMessageA(handle_, TCM_SETCURSEL, Index, 0);
}

int TCustomFloatTabControl::IndexOfTabAt(int X, int Y)
{
    if (!HandleAllocated()) return -1;
    TCHITTESTINFO hit = {};
    hit.pt = POINT{X, Y};
    return static_cast<int>(SendMessageA(handle_, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

RECT TCustomFloatTabControl::GetTabRect(int Index)
{
    CheckTabIndex(Index);
    RECT r = {0, 0, 0, 0};
    if (HandleAllocated()) SendMessageA(handle_, TCM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
    return r;
}

RECT TCustomFloatTabControl::GetDisplayRect()
{
    RECT r = TCustomTabControl::GetDisplayRect();
    r.top += 2;
    r.bottom = std::max(r.top, r.bottom);
    return r;
}

AnsiString TCustomFloatTabControl::TabHint(int TabIndex)
{
    (void)TabIndex;
    return GetHint();
}

void TCustomFloatTabControl::ShiftTab(int From, int To)
{
    if (From == To) return;
    CheckTabIndex(From);
    CheckTabIndex(To);
    TTabItem item = tabs_[From];
    DeleteTabItem(From);
    InsertTabItem(To, item.Text, item.ImageIndex, item.Data);
    SelectTab(To);
}

bool TCustomFloatTabControl::DialogChar(char Key)
{
    if (!GetEnabled() || !HandleAllocated() || !IsWindowVisible(handle_)) return false;
    for (int i = 0; i < GetTabCount(); ++i) {
        if (!IsAccelFor(Key, tabs_[i].Text)) continue;
        if (i != GetTabIndex() && CanChange()) {
            SelectTab(i);
            Change();
        }
        return true;
    }
    return false;
}

void TCustomFloatTabControl::DrawTab(HDC DC, int TabIndex, const RECT& Rect, bool Active)
{
    HBRUSH fill = CreateSolidBrush(ColorToRGB(Active ? GetColor() : tabInactiveColor_));
    FillRect(DC, &Rect, fill);
    DeleteObject(fill);
    RECT r = Rect;
    if (!Active && !buttonStyle_) {
        // Unselected tabs sit back from the page.
        int shift = tabPosition_ == tpTopLeft ? 1 : -2;
        if (verticalTabs_)
            OffsetRect(&r, shift, 0);
        else
            OffsetRect(&r, 0, shift);
    }
    const TTabItem& item = tabs_[TabIndex];
    int textLeft = r.left + 5;
    if (images_ && item.ImageIndex >= 0 && item.ImageIndex < images_->GetCount()) {
        int y = (r.top + r.bottom - images_->GetHeight()) / 2 + (Active ? 0 : 1);
        TCanvas canvas;
        canvas.SetHandle(DC);
        images_->Draw(&canvas, r.left + 5, y, item.ImageIndex, GetEnabled());
        canvas.SetHandle(nullptr);
        textLeft = r.left + 5 + images_->GetWidth() + 5;
    }
    TFont* font = Active ? GetFont() : tabInactiveFont_.get();
    HGDIOBJ oldFont = SelectObject(DC, font->GetHandle());
    SetBkMode(DC, TRANSPARENT);
    SetTextColor(DC, TabIndex == hotTab_ && hotTrack_ ? GetSysColor(COLOR_HIGHLIGHT) : ColorToRGB(font->GetColor()));
    if (textRotation_ == trRotated) {
        LOGFONTA lf = {};
        GetObjectA(font->GetHandle(), sizeof(lf), &lf);
        lf.lfEscapement = lf.lfOrientation = tabPosition_ == tpTopLeft ? 900 : 2700;
        HFONT rotated = CreateFontIndirectA(&lf);
        SelectObject(DC, rotated);
        SIZE ext = {0, 0};
        GetTextExtentPoint32A(DC, item.Text.c_str(), item.Text.Length(), &ext);
        int cx = (r.left + r.right) / 2;
        int cy = (r.top + r.bottom) / 2;
        if (tabPosition_ == tpTopLeft)
            TextOutA(DC, cx - ext.cy / 2, cy + ext.cx / 2, item.Text.c_str(), item.Text.Length());
        else
            TextOutA(DC, cx + ext.cy / 2, cy - ext.cx / 2, item.Text.c_str(), item.Text.Length());
        SelectObject(DC, oldFont);
        DeleteObject(rotated);
        return;
    }
    RECT text = {textLeft, r.top, r.right, r.bottom};
    DrawTextA(DC, item.Text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS);
    SelectObject(DC, oldFont);
}

void TCustomFloatTabControl::DrawItem(DRAWITEMSTRUCT* Item)
{
    int index = static_cast<int>(Item->itemID);
    if (index < 0 || index >= GetTabCount()) return;
    bool active = (Item->itemState & ODS_SELECTED) != 0;
    if (OnDrawTab) {
        OnDrawTab(this, index, Item->rcItem, active);
        return;
    }
    int saved = SaveDC(Item->hDC);
    DrawTab(Item->hDC, index, Item->rcItem, active);
    RestoreDC(Item->hDC, saved);
}

void TCustomFloatTabControl::MouseMoveTabs(int X, int Y)
{
    int tab = IndexOfTabAt(X, Y);
    if (shiftFrom_ >= 0) {
        LPCSTR shape = tab < 0 ? IDC_NO : tab == shiftFrom_ ? IDC_ARROW : IDC_SIZEALL;
        ::SetCursor(LoadCursorA(nullptr, shape));
    }
    if (tab == hotTab_) return;
    int old = hotTab_;
    hotTab_ = tab;
    if (OnTabTrack) OnTabTrack(this, tab);
    SetHint(TabHint(tab));
    if (!hotTrack_) return;
    if (old >= 0 && old < GetTabCount()) {
        RECT r = GetTabRect(old);
        InvalidateRect(handle_, &r, FALSE);
    }
    if (tab >= 0) {
        RECT r = GetTabRect(tab);
        InvalidateRect(handle_, &r, FALSE);
    }
}

void TCustomFloatTabControl::EndShift(int X, int Y)
{
    int from = shiftFrom_;
    shiftFrom_ = -1;
    if (GetCapture() == handle_) ReleaseCapture();
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    int to = IndexOfTabAt(X, Y);
    if (to < 0 || to == from) return;
    ShiftTab(from, to);
    if (OnTabShift) OnTabShift(this);
}

void TCustomFloatTabControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_DRAWITEM:
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam));
        Message.Result = TRUE;
        return;
    case FTM_RESTOREIMAGES: RestoreImages(); return;
    case CM_DIALOGCHAR:
        // Alt+letter anywhere on the form (and letters typed on it).
        if (DialogChar(MessageChar(Message))) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_LBUTTONDOWN:
        if (allowTabShifting_) {
            POINT p = MessagePoint(Message);
            int tab = IndexOfTabAt(p.x, p.y);
            if (tab >= 0 && tab == GetTabIndex()) {
                shiftFrom_ = tab;
                SetCapture(handle_);
            }
        }
        break;
    case WM_MOUSEMOVE: {
        POINT p = MessagePoint(Message);
        MouseMoveTabs(p.x, p.y);
        break;
    }
    case WM_LBUTTONUP:
        if (shiftFrom_ >= 0) {
            POINT p = MessagePoint(Message);
            EndShift(p.x, p.y);
            return;
        }
        break;
    case CM_MOUSELEAVE:
        if (hotTab_ >= 0) {
            int old = hotTab_;
            hotTab_ = -1;
            if (hotTrack_ && old < GetTabCount() && HandleAllocated()) {
                RECT r = GetTabRect(old);
                InvalidateRect(handle_, &r, FALSE);
            }
        }
        break;
    case CM_FONTCHANGED:
        TCustomTabControl::WndProc(Message);
        Realign();
        return;
    default: break;
    }
    TCustomTabControl::WndProc(Message);
}

// ---- TFloatTabSheet

TFloatTabSheet::~TFloatTabSheet()
{
    if (desktopDC_) {
        ReleaseDC(nullptr, desktopDC_);
        desktopDC_ = nullptr;
    }
    if (pageControl_) pageControl_->RemovePage(this);
    if (homeControl_) {
        auto& list = homeControl_->floating_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    if (floatingForm_) {
        // The form must not hand back a sheet that is gone.
        floatingForm_->sheet_ = nullptr;
        floatingForm_->Release();
        floatingForm_ = nullptr;
    }
}

void TFloatTabSheet::SetPageIndex(int Value)
{
    if (!pageControl_) throw EInvalidOperation("Tab sheet has no page control");
    int count = pageControl_->GetPageCount();
    if (Value < 0 || Value >= count) throw EListError(InvalidPageIndexText(Value, count));
    pageControl_->MovePage(this, Value);
}

int TFloatTabSheet::GetTabIndex() const
{
    if (!pageControl_ || !tabVisible_) return -1;
    int index = 0;
    for (TFloatTabSheet* p : pageControl_->pages_) {
        if (p == this) return index;
        if (p->tabVisible_) ++index;
    }
    return -1;
}

void TFloatTabSheet::SetTabVisible(bool Value)
{
    if (Value == tabVisible_) return;
    tabVisible_ = Value;
    if (pageControl_) pageControl_->RebuildTabs();
}

void TFloatTabSheet::SetImageIndex(int Value)
{
    imageIndex_ = Value;
    int tab = GetTabIndex();
    if (tab >= 0) pageControl_->SetTabItemImage(tab, Value);
}

void TFloatTabSheet::SetText(const AnsiString& Value)
{
    TWinControl::SetText(Value);
    int tab = GetTabIndex();
    if (tab >= 0) {
        pageControl_->SetTabItemText(tab, Value);
        pageControl_->Realign();
    }
    if (floatingForm_) floatingForm_->SetCaption(Value);
}

void TFloatTabSheet::SetDragable(bool Value)
{
    if (Value == dragable_) return;
    dragable_ = Value;
    if (HandleAllocated())
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFloatTabSheet::SetGripAlign(TGripAlign Value)
{
    if (Value == gripAlign_) return;
    gripAlign_ = Value;
    if (HandleAllocated() && dragable_)
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The strip in window coordinates of the sheet.
RECT TFloatTabSheet::GripRect()
{
    RECT w = {0, 0, width_, height_};
    if (HandleAllocated()) {
        GetWindowRect(handle_, &w);
        OffsetRect(&w, -w.left, -w.top);
    }
    switch (gripAlign_) {
    case gaLeft: w.right = w.left + GripSize; break;
    case gaRight: w.left = w.right - GripSize; break;
    case gaTop: w.bottom = w.top + GripSize; break;
    case gaBottom: w.top = w.bottom - GripSize; break;
    }
    return w;
}

RECT TFloatTabSheet::GetGripPressRect()
{
    RECT r = GripRect();
    if (gripAlign_ == gaLeft || gripAlign_ == gaRight)
        r.bottom = std::min(r.bottom, r.top + GripPressLength);
    else
        r.right = std::min(r.right, r.left + GripPressLength);
    return r;
}

void TFloatTabSheet::NcCalcSize(TMessage& Message)
{
    RECT* r = Message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(Message.LParam);
    switch (gripAlign_) {
    case gaLeft: r->left = std::min(r->right, r->left + GripSize); break;
    case gaRight: r->right = std::max(r->left, r->right - GripSize); break;
    case gaTop: r->top = std::min(r->bottom, r->top + GripSize); break;
    case gaBottom: r->bottom = std::max(r->top, r->bottom - GripSize); break;
    }
}

void TFloatTabSheet::PaintGrip()
{
    HDC dc = GetWindowDC(handle_);
    if (!dc) return;
    RECT strip = GripRect();
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    bool vertical = gripAlign_ == gaLeft || gripAlign_ == gaRight;
    int length = vertical ? strip.bottom - strip.top : strip.right - strip.left;
    COLORREF dot = GetSysColor(IsWindowEnabled(handle_) ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    // Dots only along the press area's length, as far as the strip allows.
    for (const TGripDot& d : GripDots(std::min(length, GripPressLength))) {
        int x = strip.left + (vertical ? 1 + d.Across : d.Along);
        int y = strip.top + (vertical ? d.Along : 1 + d.Across);
        SetPixel(dc, x, y, light);
        SetPixel(dc, x + 1, y, dot);
        SetPixel(dc, x, y + 1, dot);
        SetPixel(dc, x + 1, y + 1, dot);
    }
    ReleaseDC(handle_, dc);
}

void TFloatTabSheet::DrawDragFrame()
{
    if (desktopDC_) DrawFocusRect(desktopDC_, &dragFrame_);
}

void TFloatTabSheet::DragMove(POINT Screen)
{
    if (!dragging_) {
        if (std::abs(Screen.x - pressAt_.x) <= DragThreshold && std::abs(Screen.y - pressAt_.y) <= DragThreshold)
            return;
        desktopDC_ = GetDC(nullptr);
        if (!desktopDC_) {
            armed_ = false;
            if (GetCapture() == handle_) ReleaseCapture();
            if (Application)
                Application->MessageBox("Could not retreive Desktop Window device context.", Application->GetTitle(),
                                        MB_OK | MB_ICONERROR);
            return;
        }
        dragging_ = true;
    } else {
        DrawDragFrame();  // erase the last one
    }
    RECT w = {0, 0, width_, height_};
    GetWindowRect(handle_, &w);
    OffsetRect(&w, Screen.x - pressAt_.x, Screen.y - pressAt_.y);
    dragFrame_ = w;
    DrawDragFrame();
}

void TFloatTabSheet::DragEnd(POINT Screen)
{
    bool wasDragging = dragging_;
    armed_ = false;
    dragging_ = false;
    if (GetCapture() == handle_) ReleaseCapture();
    if (!wasDragging) return;
    DrawDragFrame();
    ReleaseDC(nullptr, desktopDC_);
    desktopDC_ = nullptr;
    RECT w = {0, 0, width_, height_};
    GetWindowRect(handle_, &w);
    TearOff(POINT{w.left + Screen.x - pressAt_.x, w.top + Screen.y - pressAt_.y});
}

bool TFloatTabSheet::TearOff(POINT ScreenTopLeft)
{
    TFloatPageControl* control = pageControl_;
    if (!control || floatingForm_) return false;
    if (control->GetPageCount() <= 1 && !control->GetRemoveLastTab()) return false;
    int w = width_;
    int h = height_;
    control->SheetFloated(this);
    TComponent* owner = Application ? static_cast<TComponent*>(Application) : control->GetOwner();
    floatingForm_ = new TFloatingForm(owner, this);
    floatingForm_->SetCaption(GetText());
    floatingForm_->SetBounds(ScreenTopLeft.x, ScreenTopLeft.y, w, h);
    floatingForm_->SetClientWidth(w);
    floatingForm_->SetClientHeight(h);
    floatingForm_->SetSheetIcon(control->GetImages(), imageIndex_);
    if (OnFloatChange) OnFloatChange(this, 0);
    SetParent(floatingForm_);
    SetBounds(0, 0, w, h);
    SetAlign(alClient);
    SetVisible(true);
    floatingForm_->Show();
    return true;
}

// The floating form is closing: back into the control.
void TFloatTabSheet::ComeBack()
{
    TFloatingForm* form = floatingForm_;
    floatingForm_ = nullptr;
    if (form) {
        form->sheet_ = nullptr;
        form->Hide();
    }
    SetAlign(alNone);
    TFloatPageControl* home = homeControl_;
    homeControl_ = nullptr;
    if (!home) {
        SetParent(nullptr);
        return;
    }
    SetVisible(false);
    pageControl_ = home;
    SetParent(home);
    home->SheetReturned(this);
    if (OnFloatChange) OnFloatChange(this, 1);
}

void TFloatTabSheet::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCCALCSIZE:
        TWinControl::WndProc(Message);
        if (dragable_) NcCalcSize(Message);
        return;
    case WM_NCPAINT:
        TWinControl::WndProc(Message);
        if (dragable_) PaintGrip();
        return;
    case WM_NCHITTEST: {
        POINT p = MessagePoint(Message);
        RECT w;
        GetWindowRect(handle_, &w);
        RECT strip = GripRect();
        if (dragable_ && PtInRect(&strip, POINT{p.x - w.left, p.y - w.top})) {
            Message.Result = HTBORDER;
            return;
        }
        break;
    }
    case WM_NCLBUTTONDOWN: {
        if (!dragable_ || !pageControl_) break;
        POINT p = MessagePoint(Message);
        RECT w;
        GetWindowRect(handle_, &w);
        RECT press = GetGripPressRect();
        bool enough = pageControl_->GetPageCount() > 1 || pageControl_->GetRemoveLastTab();
        if (enough && PtInRect(&press, POINT{p.x - w.left, p.y - w.top})) {
            armed_ = true;
            dragging_ = false;
            pressAt_ = p;
            SetCapture(handle_);
            Message.Result = 0;
            return;
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (armed_) {
            POINT p = MessagePoint(Message);
            ::ClientToScreen(handle_, &p);
            DragMove(p);
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (armed_) {
            POINT p = MessagePoint(Message);
            ::ClientToScreen(handle_, &p);
            DragEnd(p);
            return;
        }
        break;
    case WM_CAPTURECHANGED:
        if (armed_ && reinterpret_cast<HWND>(Message.LParam) != handle_) {
            if (dragging_) {
                DrawDragFrame();
                ReleaseDC(nullptr, desktopDC_);
                desktopDC_ = nullptr;
            }
            armed_ = dragging_ = false;
        }
        break;
    default: break;
    }
    TWinControl::WndProc(Message);
}

// ---- TFloatPageControl

// Floating sheets stay where they are and forget their home.
TFloatPageControl::~TFloatPageControl()
{
    for (TFloatTabSheet* page : floating_) page->homeControl_ = nullptr;
    floating_.clear();
}

void TFloatPageControl::SetActivePage(TFloatTabSheet* Page)
{
    if (Page && Page->pageControl_ != this) return;
    ShowPage(Page);
}

std::vector<bool> TFloatPageControl::TabsVisible(bool CheckTabVisible) const
{
    std::vector<bool> eligible;
    for (TFloatTabSheet* p : pages_) eligible.push_back(!CheckTabVisible || p->tabVisible_);
    return eligible;
}

TFloatTabSheet* TFloatPageControl::FindNextPage(TFloatTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const
{
    int current = CurPage ? CurPage->GetPageIndex() : -1;
    int next = NextPageIndex(TabsVisible(CheckTabVisible), current, GoForward);
    return next < 0 ? nullptr : pages_[next];
}

void TFloatPageControl::SelectNextPage(bool GoForward)
{
    TFloatTabSheet* next = FindNextPage(activePage_, GoForward, true);
    if (!next || next == activePage_ || !CanChange()) return;
    ShowPage(next);
    TCustomFloatTabControl::Change();
}

void TFloatPageControl::CreateWnd()
{
    TCustomFloatTabControl::CreateWnd();
    SelectActiveTab();
    Realign();
}

// The strip is rebuilt whatever changed, since hidden tabs shift the rest.
void TFloatPageControl::PagesChanged(int, int)
{
    if (!IsDestroying()) RebuildTabs();
}

void TFloatPageControl::SelectActiveTab()
{
    SelectTab(activePage_ ? activePage_->GetTabIndex() : -1);
}

// The next sheet with a tab takes its place.
int TFloatPageControl::PageAfterRemoval(int Index) const
{
    int next = NextPageIndex(TabsVisible(true), Index - 1, true);
    return next < 0 ? TCustomPageControl::PageAfterRemoval(Index) : next;
}

// The strip follows the sheets with TabVisible, in sheet order.
void TFloatPageControl::RebuildTabs()
{
    if (HandleAllocated()) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
    ClearTabItems();
    for (TFloatTabSheet* p : pages_)
        if (p->tabVisible_) InsertTabItem(GetTabCount(), p->GetText(), p->imageIndex_, p);
    SelectActiveTab();
    if (HandleAllocated()) {
        SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
    Realign();
}

TFloatTabSheet* TFloatPageControl::PageOfTab(int TabIndex) const
{
    if (TabIndex < 0 || TabIndex >= GetTabCount()) return nullptr;
    return static_cast<TFloatTabSheet*>(GetTabData(TabIndex));
}

// The focus must not stay in a sheet that is hidden.
void TFloatPageControl::HidePage(TFloatTabSheet* Page)
{
    HWND focus = GetFocus();
    bool held = Page->HandleAllocated() && focus && (focus == Page->GetHandle() || IsChild(Page->GetHandle(), focus));
    Page->SetVisible(false);
    if (!held || !HandleAllocated()) return;
    TFloatTabSheet* shown = activePage_;
    if (shown && shown->CanFocus()) {
        shown->SelectNext(nullptr, true, true);
        if (!shown->Focused() && GetFocus() != nullptr && IsChild(shown->GetHandle(), GetFocus()) == FALSE)
            ::SetFocus(handle_);
    } else {
        ::SetFocus(handle_);
    }
}

void TFloatPageControl::Change()
{
    TFloatTabSheet* page = PageOfTab(GetTabIndex());
    if (page) ShowPage(page);
    TCustomFloatTabControl::Change();
}

AnsiString TFloatPageControl::TabHint(int TabIndex)
{
    TFloatTabSheet* page = TabIndex >= 0 ? PageOfTab(TabIndex) : activePage_;
    return page ? page->GetTabHint() : AnsiString();
}

void TFloatPageControl::ShiftTab(int From, int To)
{
    TFloatTabSheet* moving = PageOfTab(From);
    TFloatTabSheet* target = PageOfTab(To);
    if (!moving || !target || moving == target) return;
    MovePage(moving, target->GetPageIndex());
}

bool TFloatPageControl::DialogChar(char Key)
{
    if (!GetEnabled() || !HandleAllocated() || !IsWindowVisible(handle_)) return false;
    for (TFloatTabSheet* p : pages_) {
        if (!p->tabVisible_ || !IsAccelFor(Key, p->GetText())) continue;
        if (p != activePage_ && CanChange()) {
            ShowPage(p);
            TCustomFloatTabControl::Change();
        }
        return true;
    }
    return false;
}

void TFloatPageControl::SheetFloated(TFloatTabSheet* Page)
{
    Page->homeControl_ = this;
    RemovePage(Page);
    floating_.push_back(Page);
    Perform(FTM_SHEETFLOATED, 0, reinterpret_cast<LPARAM>(Page));
}

void TFloatPageControl::SheetReturned(TFloatTabSheet* Page)
{
    floating_.erase(std::remove(floating_.begin(), floating_.end(), Page), floating_.end());
    pages_.push_back(Page);
    Perform(FTM_SHEETRETURNED, 0, reinterpret_cast<LPARAM>(Page));
}

void TFloatPageControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case FTM_SHEETFLOATED:
        if (OnFloatChange) OnFloatChange(this, 0);
        return;
    case FTM_SHEETRETURNED: {
        auto* page = reinterpret_cast<TFloatTabSheet*>(Message.LParam);
        std::vector<int> keys;
        for (TFloatTabSheet* p : pages_) keys.push_back(p->staticPageIndex_);
        std::vector<TFloatTabSheet*> sorted;
        for (int i : StaticPageOrder(keys)) sorted.push_back(pages_[i]);
        pages_ = sorted;
        RebuildTabs();
        if (OnFloatChange) OnFloatChange(this, 1);
        ShowPage(page);
        return;
    }
    case CM_DIALOGKEY:
        if (Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated() &&
            IsWindowVisible(handle_) && activePage_) {
            SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
            Message.Result = 1;
            return;
        }
        break;
    default: break;
    }
    TCustomFloatTabControl::WndProc(Message);
}

// ---- TFloatingForm

TFloatingForm::TFloatingForm(TComponent* AOwner, TFloatTabSheet* Sheet) : TForm(AOwner), sheet_(Sheet)
{
    SetBorderStyle(bsToolWindow);
    OnClose = [this](TObject*, TCloseAction& Action) {
        Action = caFree;
        if (sheet_) sheet_->ComeBack();
    };
}

TFloatingForm::~TFloatingForm()
{
    // Freed without a close (the application ending): the sheet goes home
    // first, so that it is not freed with this form.
    if (sheet_) sheet_->ComeBack();
    if (icon_) DestroyIcon(icon_);
}

void TFloatingForm::SetSheetIcon(TImageList* Images, int Index)
{
    if (!Images || Index < 0 || Index >= Images->GetCount()) return;
    HICON icon = ImageList_GetIcon(Images->GetHandle(), Index, ILD_NORMAL);
    if (!icon) return;
    SendMessageA(GetHandle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
}

void TFloatingForm::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    if (sheet_ && sheet_->GetFloatOnTop() && Application && Application->GetMainForm() &&
        Application->GetMainForm() != this)
        Params.WndParent = Application->GetMainForm()->GetHandle();
}
