// TScrollBox: a bordered area whose contents scroll under the window's own
// scroll bars. Scrolling moves the child controls; positions are in pixels.
//
// With AutoScroll the ranges follow the children's extent: they are measured
// again when a child is added or removed, when the box is resized, and on
// UpdateScrollBars (call it after moving children in code). Without it each
// bar's Range is set by the program.
#ifndef CLASSLIB_SCROLLBOX_H
#define CLASSLIB_SCROLLBOX_H

#include <memory>

#include "stdctrls.h"

class TScrollBox;

class TControlScrollBar : public TPersistent {
public:
    TScrollBarKind GetKind() const { return kind_; }
    // 0 .. Range - the client size; values outside are clamped.
    int GetPosition() const { return position_; }
    void SetPosition(int Value);
    // The contents' size along the bar; the bar shows when it exceeds the
    // client size.
    int GetRange() const { return range_; }
    void SetRange(int Value);
    // The step of the arrows (8).
    int GetIncrement() const { return increment_; }
    void SetIncrement(int Value) { increment_ = Value < 1 ? 1 : Value; }
    // Scroll while the thumb is dragged, not only when it is let go.
    bool GetTracking() const { return tracking_; }
    void SetTracking(bool Value) { tracking_ = Value; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool Value);
    // Whether the bar is shown now.
    bool IsScrollBarVisible() const;

private:
    friend class TScrollBox;
    TControlScrollBar(TScrollBox* box, TScrollBarKind kind) : box_(box), kind_(kind) {}
    int ClientSize() const;
    int MaxPosition() const;
    void Apply();
    void Scroll(int sbCode);

    TScrollBox* box_;
    TScrollBarKind kind_;
    int position_ = 0;
    int range_ = 0;
    int increment_ = 8;
    bool tracking_ = false;
    bool visible_ = true;
};

class TScrollBox : public TWinControl {
public:
    // 185 x 41, a sunken border, AutoScroll on.
    explicit TScrollBox(TComponent* AOwner);
    ~TScrollBox() override;

    TControlScrollBar* GetHorzScrollBar() const { return horz_.get(); }
    TControlScrollBar* GetVertScrollBar() const { return vert_.get(); }
    bool GetAutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    // Measures the children again (AutoScroll) and shows the bars as needed.
    void UpdateScrollBars();
    // Scrolls so that the control is wholly visible (as far as it fits).
    void ScrollInView(TControl* AControl);

    void WndProc(TMessage& Message) override;

    // After each change of a position (scrolled by the user or in code).
    TNotifyEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void InsertControl(TControl* AControl) override;
    void RemoveControl(TControl* AControl) override;
    void Resize() override;

private:
    friend class TControlScrollBar;
    // Moves every child by (dx, dy).
    void ScrollBy(int dx, int dy);
    void CalcAutoRange();

    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    TBorderStyle borderStyle_ = bsSingle;
    bool updating_ = false;
};

#endif
