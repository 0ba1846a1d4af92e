#include "imagewindow_glue.h"

#include <algorithm>

#include "imageform.h"
#include "imagewindow_glue_model.h"
#include "imagewindow_host.h"
#include "text_tool_font.h"
#include "tool_window.h"
#include "workarea.h"

bool ImageReglueMark = false;

namespace {

GlueWindow BoxOf(TImageForm* f)
{
    GlueWindow w;
    w.left = f->GetLeft();
    w.top = f->GetTop();
    w.width = f->GetWidth();
    w.height = f->GetHeight();
    w.minimised = f->GetWindowState() == wsMinimized;
    return w;
}

// The windows as the model sees them, links included.
std::vector<GlueWindow> GlueModel()
{
    std::vector<GlueWindow> windows;
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        GlueWindow w = BoxOf(f);
        for (const TImageForm::GlueNeighbour& n : f->Links)
            if (n.neighbour->Index >= 0) w.links.push_back(GlueLink{n.side, n.neighbour->Index});
        windows.push_back(w);
    }
    return windows;
}

void MoveBars(TDock* from, TDock* to)
{
    while (from->GetToolbarCount() > 0) from->GetToolbars(from->GetToolbarCount() - 1)->SetDockedTo(to);
}

// WMSZ_* edges: which of left (-1) or right (1) and top (-1) or bottom (1).
int HorizontalEdge(int edge)
{
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT) return -1;
    if (edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT) return 1;
    return 0;
}

int VerticalEdge(int edge)
{
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT) return -1;
    if (edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT) return 1;
    return 0;
}

void PlaceMovedNeighbours(const std::vector<GlueWindow>& windows, int sized)
{
    for (int i = 0; i < ImageFormCount(); ++i) {
        const GlueWindow& w = windows[size_t(i)];
        if (i != sized && w.state == ResizeMoved) GetImageForm(i)->SetBounds(w.left, w.top, w.width, w.height);
    }
}

}  // namespace

void GlueImageWindows()
{
    std::vector<GlueWindow> windows;
    for (int i = 0; i < ImageFormCount(); ++i) windows.push_back(BoxOf(GetImageForm(i)));
    GlueWindows(windows);
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        f->ClearLinks();
        for (const GlueLink& l : windows[size_t(i)].links) f->AddLink(l.side, GetImageForm(l.neighbour));
    }
}

void GlueImageWindowsWhenMarked()
{
    if (!ImageReglueMark) return;
    ImageReglueMark = false;
    GlueImageWindows();
}

void UpdateImageCaptions()
{
    TColor activeEnd = clActiveCaption, inactiveEnd = clInactiveCaption;
    if (ImageWindowHost.captionEndColors) ImageWindowHost.captionEndColors(activeEnd, inactiveEnd);
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        bool current = f == CurrentImageForm;
        TColor begin = current ? clActiveCaption : clInactiveCaption, end = current ? activeEnd : inactiveEnd;
        f->Cap->SetActiveBeginColor(begin);
        f->Cap->SetActiveEndColor(end);
        f->Cap->SetInactiveBeginColor(begin);
        f->Cap->SetInactiveEndColor(end);
    }
}

void TImageForm::AddLink(int side, TImageForm* neighbour) { Links.push_back(GlueNeighbour{side, neighbour}); }

void TImageForm::ClearLinks() { Links.clear(); }

void TImageForm::GatherDockedBars(bool mainBars)
{
    LeftDock->BeginUpdate();
    RightDock->BeginUpdate();
    try {
        for (int i = 0; i < ImageFormCount(); ++i) {
            TImageForm* other = GetImageForm(i);
            if (other == this) continue;
            MoveBars(other->LeftDock, LeftDock);
            MoveBars(other->RightDock, RightDock);
        }
        if (mainBars && ImageWindowHost.dockMainBars) ImageWindowHost.dockMainBars(this);
    } catch (...) {
        RightDock->EndUpdate();
        LeftDock->EndUpdate();
        throw;
    }
    RightDock->EndUpdate();
    LeftDock->EndUpdate();
}

// The window is closing: with AlwaysDock its bars go to the window that is
// or becomes current; without it, or with none left, they float.
void TImageForm::HandOnBars(bool wasCurrent)
{
    TImageForm* heir = nullptr;
    if (AlwaysDock && ImageFormCount() > 0)
        heir = wasCurrent ? GetImageForm(std::min(Index, ImageFormCount() - 1)) : CurrentImageForm;
    if (heir && heir != this) {
        heir->LeftDock->BeginUpdate();
        heir->RightDock->BeginUpdate();
        MoveBars(LeftDock, heir->LeftDock);
        MoveBars(RightDock, heir->RightDock);
        heir->RightDock->EndUpdate();
        heir->LeftDock->EndUpdate();
    }
    UndockBars();
}

// ---- the window's messages

void TImageForm::WndProc(TMessage& Message)
{
    if (!ArrangeMessage(Message)) TForm::WndProc(Message);
}

// Answers true when the message was handled in full.
bool TImageForm::ArrangeMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETMINMAXINFO: {
        TForm::WndProc(Message);
        int left = 0, top = 0, height = 0;
        if (!ImageWindowHost.mainWindowBounds || !ImageWindowHost.mainWindowBounds(left, top, height)) return true;
        // Maximised, the window fills the work area below the main window.
        RECT work = PrimaryWorkArea();
        auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
        info->ptMaxPosition = POINT{work.left - 4, top + height - 1};
        info->ptMaxSize = POINT{work.right - work.left + 10, work.bottom - work.top - height + 7};
        return true;
    }
    case WM_INPUTLANGCHANGE:
        if (TFont* font = InstalledTextFont()) font->SetCharset(BYTE(Message.WParam));
        return false;
    case WM_SYSCOMMAND:
        SystemCommand(unsigned(Message.WParam & 0xFFF0));
        return false;
    case WM_MOVING:
        SnapMoving(*reinterpret_cast<RECT*>(Message.LParam));
        TForm::WndProc(Message);
        Message.Result = TRUE;
        return true;
    case WM_SIZING:
        if (ResizeNeigh) {
            SizeWithNeighbours(int(Message.WParam), *reinterpret_cast<RECT*>(Message.LParam));
            ImageReglueMark = true;
        }
        TForm::WndProc(Message);
        Message.Result = TRUE;
        return true;
    default:
        return false;
    }
}

void TImageForm::SystemCommand(unsigned command)
{
    if (command == SC_MINIMIZE) {
        ImageReglueMark = true;
        UpdateCaption(1);
        UndockBars();
    } else if (command == SC_MAXIMIZE) {
        if (ImageWindowHost.maximiseMainWindow) ImageWindowHost.maximiseMainWindow();
        UpdateCaption(2);
        GatherDockedBars(true);
    } else if (command == SC_RESTORE) {
        ImageReglueMark = true;
        UpdateCaption(2);
        if (AlwaysDock) GatherDockedBars(true);
    }
}

void TImageForm::SnapMoving(RECT& r)
{
    RECT work = PrimaryWorkArea();
    int left = 0, top = 0, height = 0;
    int mainBottom = -32768;  // no main window: nothing to snap to
    if (ImageWindowHost.mainWindowBounds && ImageWindowHost.mainWindowBounds(left, top, height))
        mainBottom = top + height - 1;
    std::vector<GlueWindow> others;
    for (int i = 0; i < ImageFormCount(); ++i)
        if (GetImageForm(i) != this) others.push_back(BoxOf(GetImageForm(i)));
    MoveRect m{r.left, r.top, r.right, r.bottom};
    SnapMovingRect(m, MoveRect{work.left, work.top, work.right, work.bottom}, mainBottom, others);
    r = RECT{m.left, m.top, m.right, m.bottom};
    ImageReglueMark = true;
}

// The glued neighbours follow the edges that move; an edge moves only as
// far as they allow.
void TImageForm::SizeWithNeighbours(int edge, RECT& r)
{
    std::vector<GlueWindow> windows = GlueModel();
    int right = GetLeft() + GetWidth(), bottom = GetTop() + GetHeight();
    int h = HorizontalEdge(edge), v = VerticalEdge(edge);
    if (h < 0) r.left = GetLeft() + SizeGluedWindow(windows, Index, GlueLeft, r.left - GetLeft());
    if (h > 0) r.right = right + SizeGluedWindow(windows, Index, GlueRight, r.right - right);
    if (h != 0) {
        PlaceMovedNeighbours(windows, Index);
        windows = GlueModel();
    }
    if (v < 0) r.top = GetTop() + SizeGluedWindow(windows, Index, GlueTop, r.top - GetTop());
    if (v > 0) r.bottom = bottom + SizeGluedWindow(windows, Index, GlueBottom, r.bottom - bottom);
    if (v != 0) PlaceMovedNeighbours(windows, Index);
}
