// TGradientCaption: a non-visual component that paints its
// owner form's title bar itself (a gradient in bands, the icon, an optional
// application name and the caption) with its own caption buttons.
//
// It subclasses the form's window (in front of the class library's own
// procedure) and takes WS_SYSMENU away so that Windows draws no buttons of
// its own; the whole caption then reports HTCAPTION and the hook sorts the
// non-client mouse messages itself. The destructor gives procedure and
// style back, but only while its own procedure is still the current one, so
// a later subclass keeps its chain.
//
// Known limit: a form whose window is re-created (border style changed after
// the component was made) loses the hook until the component is made again.
#ifndef KESTREL_GRADIENT_CAPTION_H
#define KESTREL_GRADIENT_CAPTION_H

#include <memory>

#include "buttons.h"
#include "forms.h"
#include "gradient_caption_model.h"

class TGradientCaption;
struct TCapHook;
LRESULT CALLBACK GradCapWndProc(HWND, UINT, WPARAM, LPARAM);

// One caption button. Never placed on a parent: it lives in the form's
// window coordinates and is drawn into the window DC by the caption.
class TGradientCaptionSystemButton : public TSpeedButton {
public:
    TGradientCaptionSystemButton(TGradientCaption* AOwner, TCapButtonKind AKind);

    TCapButtonKind GetKind() const { return kind_; }
    // Window coordinates of the form.
    RECT GetRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
    bool GetPressed() const { return pressed_; }
    bool GetTracking() const { return tracking_; }
    bool IsShown() const { return shown_; }
    bool IsEnabled() const { return enabled_; }

private:
    friend class TGradientCaption;
struct TCapHook;
LRESULT CALLBACK GradCapWndProc(HWND, UINT, WPARAM, LPARAM);
    TCapButtonKind kind_;
    bool pressed_ = false;
    bool tracking_ = false;
    bool shown_ = false;
};

class TGradientCaption : public TComponent {
public:
    // AOwner must be a form: else Exception "The gradcapt's owner must be a Form!".
    explicit TGradientCaption(TComponent* AOwner);
    ~TGradientCaption() override;

    TColor GetActiveBeginColor() const { return activeBegin_; }
    void SetActiveBeginColor(TColor Value) { SetColour(activeBegin_, Value); }
    TColor GetActiveEndColor() const { return activeEnd_; }
    void SetActiveEndColor(TColor Value) { SetColour(activeEnd_, Value); }
    TColor GetActiveFontColor() const { return activeFont_; }
    void SetActiveFontColor(TColor Value) { SetColour(activeFont_, Value); }
    TColor GetInactiveBeginColor() const { return inactiveBegin_; }
    void SetInactiveBeginColor(TColor Value) { SetColour(inactiveBegin_, Value); }
    TColor GetInactiveEndColor() const { return inactiveEnd_; }
    void SetInactiveEndColor(TColor Value) { SetColour(inactiveEnd_, Value); }
    TColor GetInactiveFontColor() const { return inactiveFontColor_; }
    void SetInactiveFontColor(TColor Value) { SetColour(inactiveFontColor_, Value); }

    AnsiString GetApplicationName() const { return appName_; }
    void SetApplicationName(const AnsiString& Value);
    // Copies are kept; changing the returned font redraws at the next paint.
    TFont* GetApplicationNameFont() const { return appNameFont_.get(); }
    void SetApplicationNameFont(const TFont* Value);
    TFont* GetCaptionFont() const { return captionFont_.get(); }
    void SetCaptionFont(const TFont* Value);
    int GetNumColors() const { return numColors_; }
    // At least 1 (smaller values raise EPropertyError).
    void SetNumColors(int Value);
    bool GetAutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value) { autoSize_ = Value; }

    TCustomForm* GetForm() const { return form_; }
    TGradientCaptionSystemButton* GetButton(TCapButtonKind Kind) const { return buttons_[Kind]; }
    // Recomputes and returns the rectangles (window coordinates).
    const TCapLayout& UpdateLayout();
    const TCapLayout& GetLayout() const { return layout_; }
    // The active pair is used while the form is the active window (an MDI
    // child: also while the main form is).
    bool IsFormActive() const;
    // Paints the caption now in the given state.
    void PaintCaption(bool Active);
    // Draws the caption into DC at (0,0) of a bitmap of the caption's size.
    void DrawCaption(HDC DC, bool Active);

    // Text as it fits Width in the DC's current font: cut with "..." when
    // too long.
    static AnsiString FitText(HDC DC, const AnsiString& Text, int Width);

private:
    friend LRESULT CALLBACK GradCapWndProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT HookProc(UINT Msg, WPARAM WParam, LPARAM LParam);
    LRESULT CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam);
    void SetColour(TColor& Field, TColor Value);
    void FrameChanged();
    LRESULT NcPaint(WPARAM Region);
    bool NcMouse(UINT Msg, WPARAM HitTest, POINT Screen);
    bool TrackMouse(UINT Msg, POINT Client);
    TGradientCaptionSystemButton* ButtonAt(POINT Window) const;
    void PressButton(TGradientCaptionSystemButton* Button);
    void ButtonCommand(TCapButtonKind Kind);
    void ShowSystemMenu(POINT Screen);
    bool IconicMouse(UINT Msg, POINT Screen);
    void ShowIconicMenu(POINT Screen);
    POINT ScreenToWindow(POINT p) const;
    TCapLayoutInput LayoutInput() const;
    void DrawButtons(HDC DC, const RECT& Caption, bool Active);
    void DrawIcon(HDC DC, const RECT& Caption);
    void DrawTitle(HDC DC, const RECT& Caption, bool Active);

    TCustomForm* form_ = nullptr;
    HWND hwnd_ = nullptr;
    TCapHook* hook_ = nullptr;  // shared with the window property
    LONG prevStyle_ = 0;
    TGradientCaptionSystemButton* buttons_[4] = {};
    TGradientCaptionSystemButton* tracked_ = nullptr;
    TCapLayout layout_;
    // A minimised form moved by hand: armed at the press, moving once the
    // mouse moved; a press without a move opens the system menu instead.
    bool iconicPress_ = false;
    bool iconicMoved_ = false;
    POINT iconicPressAt_ = {0, 0};
    POINT iconicOrigin_ = {0, 0};
    DWORD lastIconClick_ = 0;
    bool iconReclicked_ = false;  // the icon's menu was closed by a press on the icon
    bool rightPending_ = false;

    TColor activeBegin_ = 0x800000;
    TColor activeEnd_ = 0xFF0000;
    TColor activeFont_ = 0xFFFFFF;
    TColor inactiveBegin_ = 0x808080;
    TColor inactiveEnd_ = 0xC0C0C0;
    TColor inactiveFontColor_ = 0xC0C0C0;
    AnsiString appName_;
    std::unique_ptr<TFont> appNameFont_;
    std::unique_ptr<TFont> captionFont_;
    int numColors_ = 64;
    bool autoSize_ = false;
};

#endif
