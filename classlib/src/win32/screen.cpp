// TScreen and TMouse.
#include "screen.h"

#include <algorithm>

#include "forms.h"

TScreen* Screen = nullptr;
TMouse* Mouse = nullptr;

namespace {

struct BuiltInCursor {
    TCursor id;
    LPCSTR name;
};

// IDC_SIZE and IDC_ICON are obsolete; crDrag, crMultiDrag, crHSplit,
// crVSplit, crSQLWait and crNoDrop have no system cursor and use the nearest.
const BuiltInCursor builtIn[] = {
    {crArrow, IDC_ARROW},     {crCross, IDC_CROSS},       {crIBeam, IDC_IBEAM},     {crSizeNESW, IDC_SIZENESW},
    {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},  {crDrag, IDC_ARROW},        {crNoDrop, IDC_NO},       {crHSplit, IDC_SIZEWE},
    {crVSplit, IDC_SIZENS},   {crMultiDrag, IDC_ARROW},   {crSQLWait, IDC_WAIT},    {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},    {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},
};

}  // namespace

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner)
{
    for (const BuiltInCursor& c : builtIn) cursors_[c.id] = LoadCursorA(nullptr, c.name);
    cursors_[crDefault] = LoadCursorA(nullptr, IDC_ARROW);
    cursors_[crNone] = nullptr;
    if (!Screen) Screen = this;
}

TScreen::~TScreen()
{
    for (auto& entry : owned_) DestroyCursor(entry.second);
    if (Screen == this) Screen = nullptr;
}

void TScreen::SetCursor(TCursor Value)
{
    if (Value == cursor_) return;
    cursor_ = Value;
    // Let the window under the mouse choose again at once.
    POINT p;
    ::GetCursorPos(&p);
    HWND under = WindowFromPoint(p);
    DWORD pid = 0;
    if (under) GetWindowThreadProcessId(under, &pid);
    if (under && pid == GetCurrentProcessId())
        SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    else if (Value != crDefault)
        ::SetCursor(GetCursors(Value));
}

HCURSOR TScreen::GetCursors(TCursor Index) const
{
    auto own = owned_.find(Index);
    if (own != owned_.end()) return own->second;
    auto it = cursors_.find(Index);
    if (it != cursors_.end()) return it->second;
    return cursors_.at(crDefault);
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle)
{
    auto own = owned_.find(Index);
    if (own != owned_.end()) {
        if (own->second == Handle) return;
        DestroyCursor(own->second);
        owned_.erase(own);
    }
    if (Handle) owned_[Index] = Handle;
}

int TScreen::GetWidth() const
{
    return GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::GetHeight() const
{
    return GetSystemMetrics(SM_CYSCREEN);
}

int TScreen::GetPixelsPerInch() const
{
    HDC dc = GetDC(nullptr);
    int ppi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return ppi;
}

RECT TScreen::GetWorkAreaRect() const
{
    RECT r = {0, 0, GetWidth(), GetHeight()};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return r;
}

TCustomForm* TScreen::GetForms(int Index) const
{
    if (Index < 0 || Index >= GetFormCount())
        throw EListError(AnsiString().sprintf("List index out of bounds (%d)", Index));
    return forms_[Index];
}

TWinControl* TScreen::GetActiveControl() const
{
    return activeForm_ ? activeForm_->GetActiveControl() : nullptr;
}

void TScreen::AddForm(TCustomForm* form)
{
    forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) SetActiveForm(nullptr);
}

void TScreen::SetActiveForm(TCustomForm* form)
{
    if (form == activeForm_) return;
    activeForm_ = form;
    if (OnActiveFormChange) OnActiveFormChange(this);
}

POINT TMouse::GetCursorPos() const
{
    POINT p = {0, 0};
    ::GetCursorPos(&p);
    return p;
}

void TMouse::SetCursorPos(POINT p)
{
    ::SetCursorPos(p.x, p.y);
}
