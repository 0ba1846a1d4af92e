// TCanvas: drawing on a device context that someone else owns (a window's
// paint DC, a bitmap's memory DC, a printer's DC).
//
// SetHandle saves the DC's state when it takes a DC and restores it when it
// lets go, so whatever the canvas selected never outlives the binding. Pen,
// Brush and Font are selected lazily, before the first drawing call that
// needs them, and again after they change.
#ifndef CLASSLIB_CANVAS_H
#define CLASSLIB_CANVAS_H

#include <functional>
#include <memory>
#include "winapi.h"
#include "ansistring.h"
#include "graphics.h"
#include "brush.h"
#include "font.h"
#include "pen.h"

class TGraphic;

class TCanvas {
public:
    TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    virtual ~TCanvas();

    // A subclass that makes its own DC (bitmap, printer) makes it here.
    HDC GetHandle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TPen* GetPen() { return pen_.get(); }
    TBrush* GetBrush() { return brush_.get(); }
    TFont* GetFont() { return font_.get(); }
    void SetPen(const TPen* pen) { pen_->Assign(pen); }
    void SetBrush(const TBrush* brush) { brush_->Assign(brush); }
    void SetFont(const TFont* font) { font_->Assign(font); }

    // Raster operation of CopyRect and Draw of bitmaps (SRCCOPY).
    DWORD GetCopyMode() const { return copyMode_; }
    void SetCopyMode(DWORD mode) { copyMode_ = mode; }

    POINT GetPenPos();
    void SetPenPos(POINT p) { MoveTo(p.x, p.y); }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(const POINT* points, int count);
    void Polygon(const POINT* points, int count);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const RECT& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void FillRect(const RECT& r);
    void FrameRect(const RECT& r);
    void DrawFocusRect(const RECT& r);
    void FloodFill(int x, int y, TColor color, bool surface);

    // Text in Font, on the brush colour unless the brush is clear.
    void TextOut(int x, int y, const AnsiString& text);
    // Clipped to r.
    void TextRect(const RECT& r, int x, int y, const AnsiString& text);
    SIZE TextExtent(const AnsiString& text);
    int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
    int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }

    // The graphic at its own size, or stretched to r. Null or empty: nothing.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const RECT& r, TGraphic* graphic);
    // Stretches source's part to dest here, with CopyMode.
    void CopyRect(const RECT& dest, TCanvas* source, const RECT& sourceRect);

    TColor GetPixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    RECT GetClipRect();

    // Fired before and after every drawing call (a bitmap passes them on).
    std::function<void(TCanvas* Sender)> OnChanging;
    std::function<void(TCanvas* Sender)> OnChange;

protected:
    virtual void CreateHandle() {}
    void Changing();
    void Changed();

private:
    enum : unsigned { PenValid = 1, BrushValid = 2, FontValid = 4 };

    // A DC with the tools of `need` selected; raises when there is no DC.
    HDC Require(unsigned need);

    HDC dc_ = nullptr;
    int savedState_ = 0;
    unsigned selected_ = 0;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TFont> font_;
    DWORD copyMode_ = SRCCOPY;
};

#endif
