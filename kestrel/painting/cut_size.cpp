#include "cut_size.h"

#include <algorithm>
#include <cmath>

#include "cut_tools.h"
#include "optionbar.h"
#include "pictureview.h"
#include "picture_document.h"
#include "toolmanager.h"

namespace {

const int WidthOption = 1, HeightOption = 2;
const int DoublingLimit = 8192;

// The ratio to size by: a ratio never set (0) or not a number would size a
// side to nothing or divide by zero, so the sides themselves say it then.
double UsableRatio(const FixedCutSize& s)
{
    if (s.ratio > 0 && std::isfinite(s.ratio)) return s.ratio;
    return double(s.height) / double(s.width);
}

int Side(double v)
{
    double r = std::floor(v + 0.5);
    if (!(r >= 1)) return 1;
    return r > 65535 ? 65535 : int(r);
}

// Width or height changes first, by step; the other side follows the ratio.
FixedCutSize Step(FixedCutSize s, int step)
{
    double ratio = UsableRatio(s);
    if (s.height < s.width) {
        s.width = std::max(1, s.width + step);
        s.height = Side(s.width * ratio);
    } else {
        s.height = std::max(1, s.height + step);
        s.width = Side(s.height / ratio);
    }
    return s;
}

P_cut_resize& Fixed() { return CutTools().resize; }

// The size the controls show; the tool's own while there are none.
FixedCutSize Current()
{
    P_cut_resize& t = Fixed();
    if (GetOptionControl(HeightOption)) {
        t.width = std::max(1, int(GetOptionValue(WidthOption)));
        t.height = std::max(1, int(GetOptionValue(HeightOption)));
    }
    return FixedCutSize{t.width, t.height, t.ratio};
}

// The controls show the size without calling their handlers, so a size the
// keys keep in ratio leaves the ratio as it was.
void Show(const FixedCutSize& s, bool takeRatio)
{
    P_cut_resize& t = Fixed();
    t.width = s.width;
    t.height = s.height;
    t.ratio = takeRatio ? double(s.height) / double(s.width) : s.ratio;
    SetOptionValue(WidthOption, s.width);
    SetOptionValue(HeightOption, s.height);
    RefreshOutline(true, true);
}

}  // namespace

FixedCutSize ShrinkFixedCut(FixedCutSize s)
{
    if (s.width <= 1 || s.height <= 1) return s;
    return Step(s, -1);
}

FixedCutSize GrowFixedCut(FixedCutSize s, int pictureWidth, int pictureHeight)
{
    if (s.width >= pictureWidth || s.height >= pictureHeight) return s;
    return Step(s, 1);
}

namespace {

// A size key's change to the size the controls show, with the picture's
// width and height as the limits; nothing unless the fixed rectangle is
// current. A side changed alone sets the ratio; shrinking and growing keep it.
template <class Change> void SizeKey(Change change, bool takeRatio)
{
    if (CurrentTool != &Fixed() || !CurrentPicture) return;
    FixedCutSize s = Current();
    change(s, CurrentPicture->Width(), CurrentPicture->Height());
    Show(s, takeRatio);
}

}  // namespace

void CutRectWidthDown()
{
    SizeKey([](FixedCutSize& s, int, int) { s.width = s.width > 1 ? s.width - 1 : s.width; }, true);
}

void CutRectWidthUp()
{
    SizeKey([](FixedCutSize& s, int pw, int) { s.width = s.width < pw ? s.width + 1 : s.width; }, true);
}

void CutRectHeightDown()
{
    SizeKey([](FixedCutSize& s, int, int) { s.height = s.height > 1 ? s.height - 1 : s.height; }, true);
}

void CutRectHeightUp()
{
    SizeKey([](FixedCutSize& s, int, int ph) { s.height = s.height < ph ? s.height + 1 : s.height; }, true);
}

void CutRectShrink()
{
    SizeKey([](FixedCutSize& s, int, int) { s = ShrinkFixedCut(s); }, false);
}

void CutRectGrow()
{
    SizeKey([](FixedCutSize& s, int pw, int ph) { s = GrowFixedCut(s, pw, ph); }, false);
}

void RunCutRectKey(ImageKey key)
{
    switch (key) {
    case ImageKey::CutRectNarrower: CutRectWidthDown(); break;
    case ImageKey::CutRectWider: CutRectWidthUp(); break;
    case ImageKey::CutRectLower: CutRectHeightDown(); break;
    case ImageKey::CutRectHigher: CutRectHeightUp(); break;
    case ImageKey::CutRectSmaller: CutRectShrink(); break;
    case ImageKey::CutRectLarger: CutRectGrow(); break;
    default: break;
    }
}

void ResetCutSize() { Show(FixedCutSize{416, 312, 0}, true); }

void DoubleCutSize()
{
    FixedCutSize s = Current();
    if (s.width < DoublingLimit) s.width *= 2;
    if (s.height < DoublingLimit) s.height *= 2;
    Show(s, true);
}

void HalveCutSize()
{
    FixedCutSize s = Current();
    if (s.width > 1) s.width /= 2;
    if (s.height > 1) s.height /= 2;
    Show(s, true);
}

void CutSizeChangedByHand() { Show(Current(), true); }
