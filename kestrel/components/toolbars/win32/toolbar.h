// TCustomToolbar (published as TToolbar): the tool window that lays its
// child controls out in a line: one row docked in a horizontal dock, one
// column in a vertical dock, and lines that wrap at FloatRightX when
// floating, so that the user reshapes a floating toolbar by dragging its
// edges (the drag snaps to the shapes the layout can take).
//
// TToolbarSep: the separator between groups of controls; it may only stand
// on a toolbar. A wrap after a separator makes it zero-wide and leaves an
// etched line between the lines unless it is Blank.
#ifndef KESTREL_TOOLBAR_H
#define KESTREL_TOOLBAR_H

#include <vector>

#include "toolbar_model.h"
#include "tool_window.h"

class TCustomToolbar : public TCustomToolWindow {
public:
    explicit TCustomToolbar(TComponent* AOwner);
    ~TCustomToolbar() override;

    // The client width at which the floating layout wraps; 0: one line.
    int GetFloatRightX() const { return floatRightX_; }
    void SetFloatRightX(int Value);
    // max(8, the largest width (vertical) or height (otherwise) of the
    // visible non-separator controls).
    int GetMinRowSize(bool Vertical);
    // The controls in layout order.
    int GetOrderCount() const { return static_cast<int>(order_.size()); }
    TControl* GetOrder(int Index) const;
    const std::vector<TTbLineBreak>& GetLineBreaks() const { return breaks_; }

    int GetBarThickness(bool Vertical) override;
    void OrderControls(bool CanMoveControls, TDock* DockingTo, SIZE& NewClientSize) override;

    void WritePositionData(const TPositionWriteIntProc& WriteInteger) override;
    void ReadPositionData(const TPositionReadIntProc& ReadInteger) override;

    // The shapes the floating toolbar may take for an edge drag (test aid).
    std::vector<TTbShape> FloatingShapes(bool ByHeight);

protected:
    void InsertControl(TControl* AControl) override;
    void RemoveControl(TControl* AControl) override;
    // A control that grows, shrinks, shows or hides moves the others.
    void ChildChanged(TControl* AControl) override;
    void Paint() override;
    void SizingBegin(int HitCode) override;
    void SizingAdjust(RECT& Rect, int HitCode) override;
    void SizingEnd(bool Accepted) override;
    SIZE MinimumClientSize() override;

private:
    std::vector<TTbItem> Items(std::vector<TControl*>& controls);

    int floatRightX_ = 0;
    std::vector<TControl*> order_;
    std::vector<TTbLineBreak> breaks_;
    // Edge drag state.
    std::vector<TTbShape> shapes_;
    int shape_ = 0;
    int savedFloatRightX_ = 0;
    int lastExtent_ = 0;
    bool lastGrowing_ = true;
};

class TToolbar : public TCustomToolbar {
public:
    explicit TToolbar(TComponent* AOwner) : TCustomToolbar(AOwner) {}
};

class TToolbarSep : public TGraphicControl {
public:
    explicit TToolbarSep(TComponent* AOwner);

    // Raises EInvalidOperation for any parent but a toolbar.
    void SetParent(TWinControl* AParent) override;
    int GetSizeHorz() const { return sizeHorz_; }
    void SetSizeHorz(int Value);
    int GetSizeVert() const { return sizeVert_; }
    void SetSizeVert(int Value);
    bool GetBlank() const { return blank_; }
    void SetBlank(bool Value);

protected:
    void Paint() override;

private:
    void SizeChanged();

    int sizeHorz_ = 6;
    int sizeVert_ = 6;
    bool blank_ = false;
};

#endif
