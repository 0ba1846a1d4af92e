// What the image windows do for the tool framework, the picture document
// and the paint kit: they reach the window of a picture, or the current
// one, through these.
#include <algorithm>

#include "imageform.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "tool_host.h"
#include "toolmanager.h"

namespace {
const COLORREF OutlineGrey = 0x8F8F8F;

// The visible part of a window's view, in view pixels, for the ants.
bool AntsSurfaceOf(UDBuffer* pic, AntsSurface& surface)
{
    TImageForm* f = FindImageForm(pic);
    if (!f || !f->ShowBuf->HandleAllocated()) return false;
    TBuffer* view = f->ShowBuf;
    surface.left = std::max(0, -view->GetLeft());
    surface.top = std::max(0, -view->GetTop());
    surface.right = std::min(view->GetWidth(), surface.left + f->MaxSize->GetClientWidth());
    surface.bottom = std::min(view->GetHeight(), surface.top + f->MaxSize->GetClientHeight());
    surface.plot = [view](int x, int y, unsigned long colour) {
        HDC dc = view->GetCanvas()->GetHandle();  // bound while the view paints
        if (dc) {
            SetPixel(dc, x, y, colour);
            return;
        }
        HWND hwnd = view->GetHandle();
        dc = GetDC(hwnd);
        SetPixel(dc, x, y, colour);
        ReleaseDC(hwnd, dc);
    };
    return true;
}

// While the view paints, its own DC: clipped to what was just repainted, so
// an overlay redrawn there does not XOR away its parts outside.
void XorLine(int x1, int y1, int x2, int y2)
{
    if (!CurrentImageForm) return;
    HWND hwnd = CurrentImageForm->ShowBuf->GetHandle();
    TCanvas* canvas = CurrentImageForm->ShowBuf->GetCanvas();
    HDC paintDc = canvas->HandleAllocated() ? canvas->GetHandle() : nullptr;
    HDC dc = paintDc ? paintDc : GetDC(hwnd);
    HPEN pen = CreatePen(PS_SOLID, 1, OutlineGrey);
    HGDIOBJ old = SelectObject(dc, pen);
    int oldRop = SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SetROP2(dc, oldRop);
    SelectObject(dc, old);
    DeleteObject(pen);
    if (!paintDc) ReleaseDC(hwnd, dc);
}

void InstallToolServices()
{
    ToolHost.setStatusText = [](int panel, const AnsiString& text) {
        if (CurrentImageForm) CurrentImageForm->SetStatusText(panel, text);
    };
    ToolHost.setViewCursor = [](short cursor) {
        for (int i = 0; i < ImageFormCount(); ++i) GetImageForm(i)->ShowBuf->SetCursor(cursor);
    };
    ToolHost.releaseCapture = [] { ReleaseCapture(); };
}

void InstallPictureServices()
{
    PictureViews.repaint = [](UDBuffer* pic) {
        if (TImageForm* f = FindImageForm(pic)) f->ShowBuf->Invalidate();
    };
    PictureViews.pixelsChanged = [](UDBuffer* pic) {
        TImageForm* f = FindImageForm(pic);
        if (!f) return;
        f->ShowBuf->SetBuffer(nullptr);  // the same address may hold a new block
        f->ShowBuf->SetBuffer(pic);
        f->UpdateView();
    };
    PictureViews.updateView = [] {
        if (CurrentImageForm) CurrentImageForm->UpdateView();
    };
    PictureViews.zoom = [](UDBuffer* pic) {
        TImageForm* f = FindImageForm(pic);
        return f ? f->Zoom : 1.0;
    };
    PictureViews.antsSurface = AntsSurfaceOf;
}

void InstallPaintKitServices()
{
    PaintKitHost.invalidate = [](int left, int top, int right, int bottom) {
        if (!CurrentImageForm) return;
        RECT r{left, top, right, bottom};
        InvalidateRect(CurrentImageForm->ShowBuf->GetHandle(), &r, FALSE);
    };
    PaintKitHost.update = [] {
        if (CurrentImageForm) UpdateWindow(CurrentImageForm->ShowBuf->GetHandle());
    };
    PaintKitHost.visibleArea = [](ViewArea& area) {
        TImageForm* f = CurrentImageForm;
        if (!f) return false;
        area = ViewArea{f->MaxSize->GetHorzScrollBar()->GetPosition(), f->MaxSize->GetVertScrollBar()->GetPosition(),
                        f->MaxSize->GetClientWidth(), f->MaxSize->GetClientHeight()};
        return true;
    };
    PaintKitHost.canvasXorLine = XorLine;
    PaintKitHost.warpCursor = [](int x, int y) {
        MousePoint = TPoint{x, y};
        if (CurrentImageForm) CurrentImageForm->PutPointerOn(x, y);
    };
    PaintKitHost.updateCaption = [] {
        if (CurrentImageForm) CurrentImageForm->UpdateCaption(0);
    };
}
}  // namespace

TImageForm* FindImageForm(const UDBuffer* pic)
{
    for (int i = 0; i < ImageFormCount(); ++i)
        if (&GetImageForm(i)->Picture == pic) return GetImageForm(i);
    return nullptr;
}

void InstallImageWindowServices()
{
    InstallToolServices();
    InstallPictureServices();
    InstallPaintKitServices();
}
