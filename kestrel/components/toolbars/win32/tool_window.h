// TCustomToolWindow: a window that either sits in a row of a TDock or floats
// in a small caption-bearing holder of its own (TFloatingWindowParent) above
// its parent form or above all windows. The user drags it by its drag handle
// (docked) or caption (floating): an outline follows the mouse and the
// window docks into the dock under the mouse, or floats, on release; a
// floating window is resized by its borders and hidden by its close button.
//
// The frame and caption are the tool window's own non-client area; the
// holder is a borderless popup exactly the tool window's size, owned by the
// parent form's window. The holder is kept (hidden) while the window is
// docked and reused when it floats again; it goes with the window.
//
// Floating visibility follows the parent form and the application (shared
// hooks of thread_hooks.h): shown only while Visible, hidden while the parent
// form is minimised or invisible (fmOnTopOfParentForm) and, with
// HideWhenInactive, while the application has no active window.
#ifndef KESTREL_TOOL_WINDOW_H
#define KESTREL_TOOL_WINDOW_H

#include <vector>

#include "forms.h"
#include "dock.h"

enum TDragHandleStyle { dhDouble, dhNone, dhSingle };
enum TToolWindowFloatingMode { fmOnTopOfParentForm, fmOnTopOfAllForms };

using TDockChangingExEvent = std::function<void(TObject* Sender, TDock* NewDock)>;
// Value accessors of the position store (saved_positions.h): Section is the
// tool window's name.
using TPositionReadIntProc = std::function<int(const AnsiString& Section, const AnsiString& Ident, int Default)>;
using TPositionWriteIntProc = std::function<void(const AnsiString& Section, const AnsiString& Ident, int Value)>;

// Private message that repaints the docked frame (posted, one at a time).
const UINT TBM_REDRAWFRAME = 6063;

class TCustomToolWindow;

// The borderless holder of one floating tool window. Escape pressed in it
// with no modifier goes to the tool window.
class TFloatingWindowParent : public TCustomForm {
public:
    TFloatingWindowParent(TCustomForm* ParentForm, TCustomToolWindow* Window);
    TCustomForm* GetParentForm() const { return parentForm_; }
    void SetParentForm(TCustomForm* Value);
    TCustomToolWindow* GetToolWindow() const { return window_; }
    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TCustomForm* parentForm_;
    TCustomToolWindow* window_;
};

class TCustomToolWindow : public TCustomControl {
public:
    explicit TCustomToolWindow(TComponent* AOwner);
    ~TCustomToolWindow() override;

    // A TDock docks the window; a form (or the window's own holder) makes it
    // float above that form. Anything else raises EInvalidOperation.
    void SetParent(TWinControl* AParent) override;
    void SetVisible(bool Value) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TDock* GetDockedTo() const { return dockedTo_; }
    // nullptr floats the window above its parent form. Raises
    // EInvalidOperation when there is no parent form to float on.
    void SetDockedTo(TDock* Value);
    bool IsFloating() const { return !dockedTo_; }
    int GetDockRow() const { return dockRow_; }
    void SetDockRow(int Value);
    int GetDockPos() const { return dockPos_; }
    void SetDockPos(int Value);
    TDockableTo GetDockableTo() const { return dockableTo_; }
    void SetDockableTo(TDockableTo Value) { dockableTo_ = Value; }
    TDock* GetDefaultDock() const { return defaultDock_; }
    void SetDefaultDock(TDock* Value);
    TToolWindowFloatingMode GetFloatingMode() const { return floatingMode_; }
    void SetFloatingMode(TToolWindowFloatingMode Value);
    bool GetActivateParent() const { return activateParent_; }
    void SetActivateParent(bool Value) { activateParent_ = Value; }
    bool GetHideWhenInactive() const { return hideWhenInactive_; }
    void SetHideWhenInactive(bool Value);
    bool GetCloseButton() const { return closeButton_; }
    void SetCloseButton(bool Value);
    bool GetFullSize() const { return fullSize_; }
    void SetFullSize(bool Value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TDragHandleStyle GetDragHandleStyle() const { return dragHandleStyle_; }
    void SetDragHandleStyle(TDragHandleStyle Value);
    // Floating borders can be dragged (sizing frame) or not (dialog frame).
    bool GetResizable() const { return resizable_; }
    void SetResizable(bool Value);

    // Screen position of the floating window; kept while it floats.
    POINT GetFloatingPosition() const { return floatingPos_; }
    void SetFloatingPosition(POINT Value);
    // The form the window belongs to (whose docks take it, above which it
    // floats).
    TCustomForm* GetParentForm() const;
    TFloatingWindowParent* GetFloatParent() const { return floatParent_; }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void AddDockForm(TCustomForm* Form);
    void RemoveDockForm(TCustomForm* Form);
    // Keeps a floating window on the work area of its nearest monitor.
    void MoveOnScreen(bool OnlyIfFullyOffscreen);

    // The thickness the window would have in a row of a dock of this
    // orientation (its client extent across).
    virtual int GetBarThickness(bool Vertical);
    // Lays the contents out for DockingTo (nullptr: floating) and reports
    // the client size that needs; only measures unless CanMoveControls.
    virtual void OrderControls(bool CanMoveControls, TDock* DockingTo, SIZE& NewClientSize);
    // Lays the contents out and sizes the window to them.
    void ArrangeControls();
    // Non-client insets (left, top, right, bottom) docked in Dock / floating.
    RECT DockedFrame(TDock* Dock) const;
    RECT FloatingFrame() const;
    // The dock's arrangement places the window (its own size handling stays
    // quiet meanwhile).
    void PlaceInDock(const RECT& Bounds);

    // Extension of the position store: values beyond the common ones.
    virtual void WritePositionData(const TPositionWriteIntProc& WriteInteger) { (void)WriteInteger; }
    virtual void ReadPositionData(const TPositionReadIntProc& ReadInteger) { (void)ReadInteger; }
    // After a restore: lay out again.
    virtual void PositionDataRead() { ArrangeControls(); }

    // Drag loop from a press at Grab (window coordinates); test aid too.
    void BeginMoving(POINT Grab);
    // Border resize loop for a hit-test code (HTLEFT ... HTBOTTOMRIGHT),
    // from a press at From (screen coordinates).
    void BeginSizing(int HitCode, POINT From);
    // The floating visibility rules, applied now.
    void UpdateVisibility();

    TNotifyEvent OnClose;
    TNotifyEvent OnDockChanged;
    TNotifyEvent OnDockChanging;
    TDockChangingExEvent OnDockChangingEx;
    TDockChangingExEvent OnDockChangingHidden;
    TNotifyEvent OnMove;
    TNotifyEvent OnRecreated;
    TNotifyEvent OnRecreating;
    TNotifyEvent OnVisibleChanged;

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    // The contents are laid out once all of them are loaded.
    void Loaded() override;
    void Resize() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    // A floating edge drag: told at the start, asked to adjust the rectangle
    // (screen coordinates) on each move, told at the end with the verdict.
    virtual void SizingBegin(int HitCode) { (void)HitCode; }
    virtual void SizingAdjust(RECT& Rect, int HitCode) { (void)Rect; (void)HitCode; }
    virtual void SizingEnd(bool Accepted) { (void)Accepted; }
    // The smallest client size while resizing.
    virtual SIZE MinimumClientSize() { return SIZE{1, 1}; }
    // Paints the dock's tiles behind the contents when the dock asks for it.
    bool DrawDockBackground(HDC DC, const RECT& Area);

private:
    friend class TDock;
    friend class TFloatingWindowParent;
    void LeaveParent();
    void ReparentInto(TWinControl* target, TDock* newDock);
    TFloatingWindowParent* HolderFor(TCustomForm* form);
    void PlaceHolder();
    void FrameChanged();
    void NcCalcSize(TMessage& Message);
    void NcPaint();
    void DrawDockedFrame(HDC dc, const RECT& wr);
    void DrawFloatingFrame(HDC dc, const RECT& wr);
    void DrawCaptionBar(HDC dc, const RECT& caption);
    RECT CloseButtonRect() const;  // window coordinates
    LRESULT HitTest(POINT screen);
    void MouseButtonPress(TMessage& Message, bool dbl);
    void CloseButtonLoop();
    void ApplyTopmost();
    void PostFrameRedraw();
    bool HiddenByRule() const;
    void DockedVisibilityChanged();

    TDock* dockedTo_ = nullptr;
    TDock* defaultDock_ = nullptr;
    TCustomForm* parentForm_ = nullptr;
    TFloatingWindowParent* floatParent_ = nullptr;
    int dockRow_ = 0;
    int dockPos_ = -1;
    TDockableTo dockableTo_ = dtAll;
    TToolWindowFloatingMode floatingMode_ = fmOnTopOfParentForm;
    bool activateParent_ = true;
    bool hideWhenInactive_ = true;
    bool closeButton_ = true;
    bool fullSize_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    TDragHandleStyle dragHandleStyle_ = dhDouble;
    bool resizable_ = true;
    POINT floatingPos_ = {0, 0};
    std::vector<TCustomForm*> dockForms_;
    int updateCount_ = 0;
    bool layoutPending_ = false;
    bool inactiveCaption_ = false;
    bool dockMoving_ = false;
    bool arranging_ = false;
    bool closePressed_ = false;
    bool reparenting_ = false;
};

// Every live tool window, for the shared hook procedure and tests.
const std::vector<TCustomToolWindow*>& ToolWindows();
// Test seam: false makes floating captions use the fallback drawing (the
// system's caption function exists everywhere the program runs).
bool& ToolWindowUseSystemCaption();

#endif
