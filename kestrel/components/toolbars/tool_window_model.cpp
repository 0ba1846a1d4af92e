#include "tool_window_model.h"

#include <algorithm>

TRect MoveRectOnScreen(const TRect& R, const TRect& Work, bool OnlyIfFullyOffscreen)
{
    if (OnlyIfFullyOffscreen && R.Intersects(Work)) return R;
    int w = R.Width();
    int h = R.Height();
    int left = R.Left;
    int top = R.Top;
    if (left + w > Work.Right) left = Work.Right - w;
    if (top + h > Work.Bottom) top = Work.Bottom - h;
    if (left < Work.Left) left = Work.Left;
    if (top < Work.Top) top = Work.Top;
    return TRect{left, top, left + w, top + h};
}

int OutlineStart(int Mouse, int Grab, int StartSize, int OutlineSize)
{
    if (StartSize <= 1) return Mouse - Grab;
    // MulDiv rounding, in 64 bits so that large sizes cannot overflow.
    long long num = static_cast<long long>(OutlineSize - 1) * Grab;
    long long den = StartSize - 1;
    long long q = (2 * num + (num >= 0 ? den : -den)) / (2 * den);
    return Mouse - static_cast<int>(q);
}

TRect DockZone(const TRect& Dock, int GrabX, int GrabY, int StartWidth, int StartHeight)
{
    int w = std::max(StartWidth, 1);
    int h = std::max(StartHeight, 1);
    int gx = std::min(std::max(GrabX, 0), w);
    int gy = std::min(std::max(GrabY, 0), h);
    TRect z = Dock;
    z.Left -= 32 * gx / w;
    z.Right += 32 * (w - gx) / w;
    z.Top -= 20 * gy / h;
    z.Bottom += 20 * (h - gy) / h;
    return z;
}

TRect KeepOutlineReachable(const TRect& Outline, const TRect& Work, int Frame, int Caption)
{
    int inset = Frame + 4;
    TRect r = Outline;
    int dx = 0;
    int dy = 0;
    if (r.Right <= Work.Left + inset) dx = Work.Left + inset - r.Right + 1;
    if (r.Left >= Work.Right - inset) dx = Work.Right - inset - r.Left - 1;
    if (r.Bottom <= Work.Top + inset) dy = Work.Top + inset - r.Bottom + 1;
    if (r.Top >= Work.Bottom - inset) dy = Work.Bottom - inset - r.Top - 1;
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
    int minTop = Work.Top + 4 - Frame - Caption;
    if (r.Top < minTop) {
        r.Bottom += minTop - r.Top;
        r.Top = minTop;
    }
    return r;
}

std::string ShortenCaption(const std::string& Text, int MaxWidth, const std::function<int(const std::string&)>& Width)
{
    if (Width(Text) <= MaxWidth) return Text;
    std::string s = Text + "...";
    while (s.size() > 4 && Width(s) > MaxWidth) s.erase(s.size() - 4, 1);
    return s;
}
