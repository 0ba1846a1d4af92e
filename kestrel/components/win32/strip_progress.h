// TStripProgress: a flat, sunken progress strip that prints its caption and
// percentage inside itself. Painted whole through an off-screen bitmap so it
// does not flicker when stepped quickly.
#ifndef KESTREL_STRIP_PROGRESS_H
#define KESTREL_STRIP_PROGRESS_H

#include "controls.h"

class TStripProgress : public TCustomControl {
public:
    // 150 x 17, Max 100, white progress.
    explicit TStripProgress(TComponent* AOwner);

    int GetMax() const { return max_; }
    // Repaints later when the picture changes. A Max of 0 or less shows 0 %.
    void SetMax(int Value);
    int GetPosition() const { return position_; }
    // Repaints at once when the picture changes.
    void SetPosition(int Value);
    TColor GetProgressColor() const { return progressColor_; }
    void SetProgressColor(TColor Value);
    void SetText(const AnsiString& Value) override;

    int GetPercent() const { return percent_; }
    int GetFillWidth() const { return fill_; }
    // Draws the control as it looks into a DC of its size.
    void PaintTo(HDC DC);

    void WndProc(TMessage& Message) override;

protected:
    void Paint() override;
    void Resize() override;

private:
    // Recomputes the numbers; true when they changed.
    bool Recalc();

    int max_ = 100;
    int position_ = 0;
    TColor progressColor_ = clWhite;
    int percent_ = 0;
    int fill_ = 0;
};

#endif
