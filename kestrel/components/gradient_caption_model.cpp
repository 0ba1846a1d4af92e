#include "gradient_caption_model.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace {

bool IsToolWindow(TCapBorder b)
{
    return b == cbToolWindow || b == cbSizeToolWin;
}

void FrameOf(const TCapLayoutInput& in, int& x, int& y)
{
    const TCapMetrics& m = in.Metrics;
    x = y = 0;
    if (in.Minimized || in.Border == cbSingle || in.Border == cbDialog || in.Border == cbToolWindow) {
        x = m.DlgFrameX;
        y = m.DlgFrameY;
    } else if (in.Border == cbSizeable || in.Border == cbSizeToolWin) {
        x = m.FrameX;
        y = m.FrameY;
    }
}

int CaptionHeightOf(const TCapLayoutInput& in)
{
    if (!in.HasCaption || in.Border == cbNone) return 0;
    return (IsToolWindow(in.Border) ? in.Metrics.SmCaptionHeight : in.Metrics.CaptionHeight) - 1;
}

// Which buttons show, and which of them work.
void ChooseButtons(const TCapLayoutInput& in, TCapLayout& out)
{
    if (out.CaptionHeight <= 0 || !(in.BorderIcons & capSystemMenu) || !in.HadSystemMenu) return;
    out.Buttons[cbkClose].Visible = true;
    if (IsToolWindow(in.Border)) return;
    bool dialog = in.Border == cbDialog;
    bool minimize = !dialog && (in.BorderIcons & capMinimize);
    bool maximize = !dialog && (in.BorderIcons & capMaximize);
    out.Buttons[cbkHelp].Visible = dialog && (in.BorderIcons & capHelp);
    if (minimize || maximize) {
        out.Buttons[cbkMinimize].Visible = out.Buttons[cbkMaximize].Visible = true;
        out.Buttons[cbkMinimize].Enabled = minimize;
        out.Buttons[cbkMaximize].Enabled = maximize;
    }
}

void PlaceButtons(const TCapLayoutInput& in, TCapLayout& out)
{
    const TRect& cap = out.Caption;
    if (IsToolWindow(in.Border)) {
        // One close button, square, the caption's full height.
        TCapButtonLayout& close = out.Buttons[cbkClose];
        close.Rect = TRect{cap.Right - cap.Height(), cap.Top, cap.Right, cap.Bottom};
        return;
    }
    int w = in.Metrics.ButtonWidth - 2;
    int h = in.Metrics.ButtonHeight - 4;
    int top = cap.Top + (cap.Height() - h) / 2;
    int right = cap.Right;
    const TCapButtonKind order[] = {cbkClose, cbkMaximize, cbkMinimize, cbkHelp};
    for (TCapButtonKind k : order) {
        TCapButtonLayout& b = out.Buttons[k];
        if (!b.Visible) continue;
        b.Rect = TRect{right - w, top, right, top + h};
        right -= w;
        if (k == cbkClose) right -= 2;  // a gap between close and the others
    }
}

}  // namespace

TCapLayout LayoutCaption(const TCapLayoutInput& in)
{
    TCapLayout out;
    FrameOf(in, out.FrameX, out.FrameY);
    out.CaptionHeight = CaptionHeightOf(in);
    out.Caption = TRect{out.FrameX, out.FrameY, std::max(out.FrameX, in.WindowWidth - out.FrameX),
                           out.FrameY + std::max(0, out.CaptionHeight)};
    bool iconBorder = in.Border == cbSingle || in.Border == cbSizeable;
    if (out.CaptionHeight > 0 && iconBorder && in.HadSystemMenu && (in.BorderIcons & capSystemMenu))
        out.Icon = TRect{out.Caption.Left, out.Caption.Top, out.Caption.Left + in.Metrics.ButtonWidth,
                            out.Caption.Bottom};
    else
        out.Icon = TRect{out.Caption.Left, out.Caption.Top, out.Caption.Left, out.Caption.Bottom};
    ChooseButtons(in, out);
    PlaceButtons(in, out);
    int textRight = out.Caption.Right;
    for (const TCapButtonLayout& b : out.Buttons)
        if (b.Visible) textRight = std::min(textRight, b.Rect.Left);
    out.Text = TRect{out.Icon.Right, out.Caption.Top + 2, std::max(out.Icon.Right, textRight),
                        std::max(out.Caption.Top + 2, out.Caption.Bottom - 2)};
    return out;
}

int CapMulDiv(int a, int b, int c)
{
    if (c == 0) return -1;
    long long p = static_cast<long long>(a) * b;
    long long q = std::llabs(p) / std::llabs(static_cast<long long>(c));
    long long r = std::llabs(p) % std::llabs(static_cast<long long>(c));
    if (2 * r >= std::llabs(static_cast<long long>(c))) ++q;
    bool negative = (p < 0) != (c < 0);
    return static_cast<int>(negative ? -q : q);
}

TCapSpan GradientBand(int i, int n, int left, int right)
{
    return TCapSpan{left + CapMulDiv(i, right - left, n), left + CapMulDiv(i + 1, right - left, n)};
}

unsigned GradientBandColor(unsigned beginRGB, unsigned endRGB, int i, int n)
{
    if (n < 1 || i < 0 || i >= n) throw std::invalid_argument("gradient band out of range");
    if (n == 1) return beginRGB & 0xFFFFFF;
    unsigned out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int b = static_cast<int>((beginRGB >> shift) & 0xFF);
        int e = static_cast<int>((endRGB >> shift) & 0xFF);
        int c = std::clamp(b + CapMulDiv(i, e - b, n - 1), 0, 255);
        out |= static_cast<unsigned>(c) << shift;
    }
    return out;
}

TCapSysMenuState SystemMenuState(bool minimized, bool maximized, const TCapButtonLayout& minButton,
                                 const TCapButtonLayout& maxButton)
{
    TCapSysMenuState s;
    s.Restore = minimized || maximized;
    s.Move = s.Size = !(minimized || maximized);
    s.Minimize = minButton.Visible && minButton.Enabled;
    s.Maximize = maxButton.Visible && maxButton.Enabled;
    s.RestoreIsDefault = minimized;
    return s;
}

bool CapButtonHit(const TRect& r, TCapButtonKind kind, int x, int y)
{
    int right = r.Right + (kind == cbkClose ? 2 : 0);
    return x >= r.Left && x < right && y >= r.Top - 2 && y < r.Bottom + 2;
}
