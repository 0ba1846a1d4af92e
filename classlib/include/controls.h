// Controls: TControl (anything on a form), TWinControl (has a window),
// TGraphicControl (paints on its parent's window) and TCustomControl (a
// window that paints itself on a Canvas).
//
// Conventions:
// - Properties are GetXxx/SetXxx pairs; a setter makes the Win32 call and the
//   repaint at once, so a form built in code behaves like a loaded one.
// - A windowed control creates its window on demand (GetHandle), after its
//   parent's. Every message reaches the object's virtual WndProc(TMessage&),
//   which handles what it knows and passes the rest on to its base class; the
//   last step is DefaultHandler (the system class's procedure for controls
//   made from BUTTON, EDIT, ..., DefWindowProc otherwise).
// - Notifications a parent receives for a child window (WM_COMMAND,
//   WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_HSCROLL, WM_VSCROLL,
//   WM_CTLCOLOR*) are sent to the child object as CN_BASE + message.
// - Exceptions never leave a window procedure: the trampoline hands them to
//   HandleCallbackException (the application shows the message).
// - Events are not fired while a control is being destroyed.
#ifndef CLASSLIB_CONTROLS_H
#define CLASSLIB_CONTROLS_H

#include <memory>
#include <vector>

#include "component.h"
#include "canvas.h"

class TWinControl;
class TPopupMenu;

// A message as the object sees it; Result is what the window procedure returns.
struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result;
};

// The parameters of the common messages, typed, so that no handler takes
// them apart by hand.
// The pointer's place in a mouse message's LPARAM: client coordinates for
// the client mouse messages, screen coordinates for the non-client ones.
// Both halves are signed: a captured pointer left of or above the window
// stands at negative coordinates.
inline POINT PointFromLParam(LPARAM LParam)
{
    return POINT{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}
inline POINT MessagePoint(const TMessage& Message) { return PointFromLParam(Message.LParam); }
// The virtual-key code of WM_KEYDOWN, WM_KEYUP and CM_DIALOGKEY.
inline WORD MessageKey(const TMessage& Message) { return static_cast<WORD>(Message.WParam); }
// The character of WM_CHAR and CM_DIALOGCHAR.
inline char MessageChar(const TMessage& Message) { return static_cast<char>(Message.WParam); }
// The scroll code (SB_LINEUP ...) of WM_HSCROLL and WM_VSCROLL.
inline int MessageScrollCode(const TMessage& Message) { return LOWORD(Message.WParam); }

// Private messages of the library, never passed to a system procedure.
enum : UINT {
    CM_BASE = 0xB000,
    CM_MOUSEENTER = CM_BASE + 1,  // the mouse came over the control
    CM_MOUSELEAVE = CM_BASE + 2,
    CM_DIALOGKEY = CM_BASE + 3,   // WParam: Tab, Enter, Escape or an arrow nobody wanted; Result 1 = used
    CM_RELEASE = CM_BASE + 4,     // deferred deletion of a form
    CM_ENABLEDCHANGED = CM_BASE + 5,
    CM_VISIBLECHANGED = CM_BASE + 6,
    CM_FONTCHANGED = CM_BASE + 7,
    CM_COLORCHANGED = CM_BASE + 8,
    CM_TEXTCHANGED = CM_BASE + 9,
    CM_DIALOGCHAR = CM_BASE + 10,  // WParam: a character (Alt+letter or typed on the form) nobody used; Result 1 = used
    // Reflected notifications: CN_BASE + WM_COMMAND and so on.
    CN_BASE = 0xBC00,
    CN_COMMAND = CN_BASE + WM_COMMAND,
    CN_NOTIFY = CN_BASE + WM_NOTIFY,
    CN_DRAWITEM = CN_BASE + WM_DRAWITEM,
    CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM,
    CN_HSCROLL = CN_BASE + WM_HSCROLL,
    CN_VSCROLL = CN_BASE + WM_VSCROLL,
    CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT,
    CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX,
    CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN,
    CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR,
    CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC,
    CN_KEYDOWN = CN_BASE + WM_KEYDOWN,  // from the message loop, before dispatch; Result 1 = used
    CM_LAST = 0xBFFF,
};

// Whether Key is Caption's accelerator character ("&x"; "&&" is a plain "&"), ignoring case.
bool IsAccel(char Key, const AnsiString& Caption);

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Form and control borders (controls use bsNone and bsSingle).
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
typedef TFormBorderStyle TBorderStyle;

// Cursor ids; negative ids are the built-in ones, positive ids are free for
// the program's own (Screen->SetCursors).
typedef int TCursor;
enum : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
    crSize = -22,
};

// Bits of TControl::GetControlStyle.
typedef unsigned TControlStyle;
enum : unsigned {
    csAcceptsControls = 1,  // children may be placed on it
    csCaptureMouse = 2,     // keeps the mouse while a button is down
    csClickEvents = 4,      // button down then up inside = Click
    csDoubleClicks = 8,     // a double click calls DblClick
    csOpaque = 16,          // paints its whole area: no background erase
    csSetCaption = 32,      // Name sets Caption while both are equal
};

// The window a TWinControl is made from; CreateParams fills it in.
struct TCreateParams {
    AnsiString Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSA WindowClass = {};
    AnsiString WinClassName;
};

class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* GetParent() const { return parent_; }
    virtual void SetParent(TWinControl* AParent);

    int GetLeft() const { return left_; }
    int GetTop() const { return top_; }
    int GetWidth() const { return width_; }
    int GetHeight() const { return height_; }
    void SetLeft(int Value) { SetBounds(Value, top_, width_, height_); }
    void SetTop(int Value) { SetBounds(left_, Value, width_, height_); }
    void SetWidth(int Value) { SetBounds(left_, top_, Value, height_); }
    void SetHeight(int Value) { SetBounds(left_, top_, width_, Value); }
    // Negative sizes count as 0.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    RECT GetBoundsRect() const;
    void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }

    virtual RECT GetClientRect();
    int GetClientWidth() { return GetClientRect().right; }
    int GetClientHeight() { return GetClientRect().bottom; }
    void SetClientWidth(int Value);
    void SetClientHeight(int Value);
    // Client coordinates of this control <-> screen.
    virtual POINT ClientToScreen(POINT p);
    virtual POINT ScreenToClient(POINT p);

    TAlign GetAlign() const { return align_; }
    void SetAlign(TAlign Value);

    bool GetVisible() const { return visible_; }
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool GetEnabled() const { return enabled_; }
    virtual void SetEnabled(bool Value);

    TColor GetColor() const { return color_; }
    void SetColor(TColor Value);
    bool GetParentColor() const { return parentColor_; }
    void SetParentColor(bool Value);
    // The control's font; changing it sets ParentFont to false.
    TFont* GetFont() const { return font_.get(); }
    void SetFont(const TFont* Value) { font_->Assign(Value); }
    bool GetParentFont() const { return parentFont_; }
    void SetParentFont(bool Value);

    // Caption and Text are one string (a window's text).
    virtual AnsiString GetText();
    virtual void SetText(const AnsiString& Value);
    AnsiString GetCaption() { return GetText(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    void SetName(const AnsiString& Value) override;

    AnsiString GetHint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    bool GetShowHint() const { return showHint_; }
    void SetShowHint(bool Value) { showHint_ = Value; }
    TCursor GetCursor() const { return cursor_; }
    void SetCursor(TCursor Value);
    TPopupMenu* GetPopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* Value);
    int GetHelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }
    TControlStyle GetControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle Value) { controlStyle_ = Value; }

    // Sends a message straight to WndProc (no window needed).
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    void Repaint();
    virtual void BringToFront();
    virtual void SendToBack();

    // The mouse is over the control (between CM_MOUSEENTER and CM_MOUSELEAVE).
    bool MouseInControl() const { return mouseInside_; }

    virtual void WndProc(TMessage& Message);
    // What happens to a message nobody handled.
    virtual void DefaultHandler(TMessage& Message);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;

    // Overridables: each fires its event.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Resize();

protected:
    // WM_CONTEXTMENU: shows PopupMenu (with AutoPopup) at a screen point, or
    // at the control's centre for the keyboard (-1, -1). True when shown.
    bool ContextPopup(TMessage& Message);
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Size or place changed without a window to tell us (graphic controls,
    // windowed controls before their window exists).
    void BoundsChanged(bool sizeChanged);
    // Asks the parent to lay out its aligned children again.
    void RequestAlign();
    // The parent's colour and font, for controls that follow them.
    virtual void ParentColorChanged();
    virtual void ParentFontChanged();
    // After Font changed (it is already changed).
    virtual void FontChanged();
    virtual void ColorChanged();
    bool IsWindowed() const { return windowed_; }

    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    AnsiString text_;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks | csSetCaption;
    bool windowed_ = false;

private:
    friend class TWinControl;
    void MouseButtonMessage(TMessage& Message, TMouseButton button, bool down, bool dbl);

    TWinControl* parent_ = nullptr;
    TAlign align_ = alNone;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool fontFromParent_ = false;  // the font is being set by the parent
    AnsiString hint_;
    bool showHint_ = false;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr;
    int helpContext_ = 0;
    bool clicked_ = false;
    bool mouseInside_ = false;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // Creates the window (and its parents') when there is none. Raises
    // EInvalidOperation for a child control without parent, EOutOfResources
    // when Windows refuses.
    HWND GetHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded() { GetHandle(); }
    // Destroys the window (children first), keeping every property.
    void DestroyHandle();
    void RecreateWnd();

    int GetControlCount() const { return static_cast<int>(controls_.size()); }
    // In insertion order; raises EListError.
    TControl* GetControl(int Index) const;
    bool ContainsControl(TControl* Control) const;
    // The visible, enabled child under a client point (graphic children only
    // unless allowWindowed).
    TControl* ControlAtPos(POINT p, bool allowWindowed = false) const;
    void SetParent(TWinControl* AParent) override;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    RECT GetClientRect() override;
    POINT ClientToScreen(POINT p) override;
    POINT ScreenToClient(POINT p) override;
    void SetVisible(bool Value) override;
    void SetEnabled(bool Value) override;
    AnsiString GetText() override;
    void SetText(const AnsiString& Value) override;
    void Invalidate() override;
    void Update() override;
    void BringToFront() override;
    void SendToBack() override;

    // Layout of the aligned children; nested Disable/Enable pairs batch it.
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    void Realign();

    bool GetTabStop() const { return tabStop_; }
    void SetTabStop(bool Value);
    int GetTabOrder() const;
    void SetTabOrder(int Value);
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& List) const;
    // Moves the focus to the next (or previous) focusable control after
    // CurControl, wrapping round.
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    // This control and its parents below the form are visible and enabled.
    virtual bool CanFocus() const;
    // Raises EInvalidOperation when the control cannot take the focus (or
    // its form is hidden or disabled).
    virtual void SetFocus();
    bool Focused() const;

    void WndProc(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

    virtual void KeyDown(unsigned short& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void KeyUp(unsigned short& Key, TShiftState Shift);
    virtual void DoEnter();
    virtual void DoExit();

protected:
    virtual void CreateParams(TCreateParams& Params);
    // Makes Params a superclass of a system (or common-control) window class;
    // its procedure becomes the one DefaultHandler calls.
    void CreateSubClass(TCreateParams& Params, const char* ClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    // The window is gone (WM_NCDESTROY): the object forgets it.
    virtual void WindowDestroyed();

    // Painting: PaintHandler wraps BeginPaint/EndPaint round PaintWindow and
    // PaintControls (the graphic children at their offsets).
    void PaintHandler(TMessage& Message);
    virtual void PaintWindow(HDC DC);
    void PaintControls(HDC DC);
    // Whether WM_PAINT goes through PaintHandler even without graphic children.
    virtual bool PaintsItself() const { return false; }

    virtual void AlignControls(RECT& Rect);
    virtual void InsertControl(TControl* AControl);
    virtual void RemoveControl(TControl* AControl);
    // A descendant is leaving (deleted or re-parented); forms drop it as
    // their active control. The default asks the parent.
    virtual void ControlRemoving(TControl* AControl);
    // A child's size or visibility changed (after any realignment).
    virtual void ChildChanged(TControl* AControl) { (void)AControl; }
    // A descendant got the focus; forms remember it.
    virtual void FocusChanged(TWinControl* AControl);
    // Forms with KeyPreview see their controls' keys first.
    virtual bool WantsKeyPreview() const { return false; }
    // Forms with a menu bar: its height is not client area.
    virtual bool HasMenuBar() const { return false; }
    // Forms offer a key-down (WM_KEYDOWN or WM_SYSKEYDOWN) to their menus
    // before it is a dialog key; true when a menu item took it.
    virtual bool IsMenuShortCut(const TMessage& KeyMessage)
    {
        (void)KeyMessage;
        return false;
    }
    TWinControl* TopParent();

    void FontChanged() override;
    void ColorChanged() override;
    // The background brush (Color); owned by the control.
    HBRUSH GetBrushHandle();
    // Reads the window's place and size back; true when the size changed.
    bool UpdateBounds();
    bool DoKeyDown(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    bool DoKeyPress(TMessage& Message);

    HWND handle_ = nullptr;
    WNDPROC defWndProc_ = nullptr;

private:
    friend class TControl;
    friend struct WindowBinding;
    void CreateHandle();
    bool RouteMouseToChild(TMessage& Message);
    void TrackMouse(POINT p);
    void MouseLeft();
    bool HandleCursor(TMessage& Message);
    bool IsShortCutKey(TMessage& Message);
    bool MenuKeyToMainForm(TMessage& Message);
    bool ContextPopupForChild(TMessage& Message);
    void HandleDialogKeyDown(TMessage& Message);
    // Offers Message to each child until one answers non-zero.
    void BroadcastToControls(TMessage& Message);
    bool OfferDialogChar(TMessage& Message);
    void ReflectToChild(TMessage& Message, HWND child);
    void EraseBackground(TMessage& Message);
    void CtlColor(TMessage& Message);
    void FreeBrush();

    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
    int alignDisabled_ = 0;
    bool aligning_ = false;
    bool alignPending_ = false;
    bool reparenting_ = false;
    TControl* hoverChild_ = nullptr;
    TControl* captureChild_ = nullptr;
    HBRUSH brush_ = nullptr;
    TColor brushColor_ = 0;
};

// A control without a window: it paints on its parent's DC at its own offset
// (with its Canvas) and gets the mouse through its parent.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    TCanvas* GetCanvas() const { return canvas_.get(); }

    void WndProc(TMessage& Message) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A window that paints itself: Canvas is bound to the paint DC for Paint.
// Subclasses that paint with their own BeginPaint override WndProc for
// WM_PAINT and WM_ERASEBKGND.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas* GetCanvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    bool PaintsItself() const override { return true; }

private:
    std::unique_ptr<TCanvas> canvas_;
};

// The control object of a window made by this library, or nullptr.
TWinControl* FindControl(HWND Handle);

// Shift state from a mouse message's WParam (plus Alt from the keyboard).
TShiftState KeysToShiftState(WPARAM Keys);
// Shift state of a key message (its LParam carries Alt).
TShiftState KeyDataToShiftState(LPARAM KeyData);

#endif
