#include "toolbar_model.h"

#include <algorithm>
#include <climits>

namespace {

struct TMargins {
    int StartAlong, EndAlong, StartAcross, EndAcross;
};

// Floating toolbars keep a small border round their controls; docked ones
// leave that to the dock's frame.
TMargins MarginsFor(bool floating)
{
    if (floating) return TMargins{4, 4, 2, 1};
    return TMargins{0, 0, 0, 0};
}

int AlongSize(const TTbItem& item, bool vertical)
{
    if (item.Separator) return vertical ? item.SizeVert : item.SizeHorz;
    return vertical ? item.Height : item.Width;
}

int AcrossSize(const TTbItem& item, bool vertical)
{
    return vertical ? item.Width : item.Height;
}

// Groups end after each separator (which belongs to the group it ends).
std::vector<std::vector<int>> BuildGroups(const std::vector<TTbItem>& items)
{
    std::vector<std::vector<int>> groups(1);
    for (size_t i = 0; i < items.size(); ++i) {
        groups.back().push_back(static_cast<int>(i));
        if (items[i].Separator && i + 1 < items.size()) groups.emplace_back();
    }
    return groups;
}

TTbBounds MakeBounds(bool vertical, int along, int across, int alongSize, int acrossSize)
{
    if (vertical) return TTbBounds{across, along, acrossSize, alongSize};
    return TTbBounds{along, across, alongSize, acrossSize};
}

}  // namespace

int TTbLayout::ClientWidth() const
{
    return Vertical ? ClientAcross : ClientAlong;
}

int TTbLayout::ClientHeight() const
{
    return Vertical ? ClientAlong : ClientAcross;
}

int ToolbarMinRowSize(const std::vector<TTbItem>& Items, bool Vertical)
{
    int size = 8;
    for (const TTbItem& item : Items)
        if (!item.Separator) size = std::max(size, AcrossSize(item, Vertical));
    return size;
}

int ToolbarWrapLimit(const std::vector<TTbItem>& Items, const TTbLayoutParams& Params)
{
    if (!Params.Floating || Params.FloatRightX == 0) return INT_MAX / 2;
    int limit = Params.FloatRightX;
    for (const TTbItem& item : Items)
        if (!item.Separator) limit = std::max(limit, item.Width + 8);
    return limit;
}

TTbLayout LayoutToolbar(const std::vector<TTbItem>& Items, const TTbLayoutParams& Params)
{
    const bool vertical = Params.Vertical && !Params.Floating;
    const TMargins m = MarginsFor(Params.Floating);
    const int wrap = ToolbarWrapLimit(Items, Params);
    const int rowSize = ToolbarMinRowSize(Items, vertical);
    const int centreIn = Params.AcrossExtent > 0 ? Params.AcrossExtent : rowSize;
    TTbLayout out;
    out.Vertical = vertical;
    out.Items.resize(Items.size());
    int across = m.StartAcross;
    int extent = m.StartAlong;
    if (Items.empty()) extent += 8;
    int e = m.StartAlong;
    bool pendingBreak = false;
    int extentBeforeSeparator = extent;
    std::vector<std::vector<int>> groups = BuildGroups(Items);
    for (size_t g = 0; g < groups.size(); ++g) {
        const std::vector<int>& group = groups[g];
        int groupLength = 0;
        for (int i : group)
            if (!Items[i].Separator) groupLength += AlongSize(Items[i], vertical);
        if (Params.Floating && (pendingBreak || wrap < e + groupLength + m.EndAlong)) {
            e = m.StartAlong;
            pendingBreak = false;
            const std::vector<int>& previous = g > 0 ? groups[g - 1] : group;
            if (g > 0 && !previous.empty()) {
                across += rowSize + 6;
                int separator = previous.back();
                if (Items[separator].Separator) {
                    extent = extentBeforeSeparator;
                    out.Items[separator].Width = 0;
                    out.Breaks.push_back(TTbLineBreak{static_cast<short>(across), Items[separator].Blank});
                }
            }
        }
        for (int i : group) {
            const TTbItem& item = Items[i];
            int size = AlongSize(item, vertical);
            if (Params.Floating && !item.Separator && wrap < e + size + m.EndAlong) {
                e = m.StartAlong;
                across += rowSize;
                pendingBreak = true;
            }
            if (item.Separator) {
                extentBeforeSeparator = extent;
                out.Items[i] = MakeBounds(vertical, e, across, size, centreIn);
            } else {
                int acrossSize = AcrossSize(item, vertical);
                out.Items[i] = MakeBounds(vertical, e, across + (centreIn - acrossSize) / 2, size, acrossSize);
            }
            e += size;
            extent = std::max(extent, e);
        }
    }
    out.ClientAlong = extent + m.EndAlong;
    out.ClientAcross = across + rowSize + m.EndAcross;
    return out;
}

std::vector<TTbShape> ToolbarShapes(const std::function<TTbSize(int FloatRightX)>& Measure, int WidestControl,
                                    TTbSize Frame, bool ByHeight)
{
    std::vector<TTbShape> shapes;
    TTbSize widest = Measure(0);
    shapes.push_back(TTbShape{widest.Width + Frame.Width, widest.Height + Frame.Height, 0});
    int lowest = WidestControl + 8;
    int i = widest.Width - 1;
    while (i >= lowest) {
        TTbSize got = Measure(i);
        if (got.Width < i) {
            // Nothing between got.Width and i gives a new shape.
            i = got.Width;
            continue;
        }
        TTbShape shape{got.Width + Frame.Width, got.Height + Frame.Height, i};
        TTbShape& last = shapes.back();
        if (last.Height == shape.Height)
            last = shape;
        else if (last.Width != shape.Width)
            shapes.push_back(shape);
        --i;
    }
    std::stable_sort(shapes.begin(), shapes.end(), [ByHeight](const TTbShape& a, const TTbShape& b) {
        return ByHeight ? a.Height < b.Height : a.Width < b.Width;
    });
    return shapes;
}

namespace {

int Key(const TTbShape& s, bool byHeight)
{
    return byHeight ? s.Height : s.Width;
}

}  // namespace

int ToolbarSnapTolerance(const std::vector<TTbShape>& Shapes, int Current, bool ByHeight)
{
    int tolerance = 12;
    int n = static_cast<int>(Shapes.size());
    if (Current < 0 || Current >= n) return 0;
    int here = Key(Shapes[Current], ByHeight);
    if (Current > 0) tolerance = std::min(tolerance, here - Key(Shapes[Current - 1], ByHeight) - 1);
    if (Current + 1 < n) tolerance = std::min(tolerance, Key(Shapes[Current + 1], ByHeight) - here - 1);
    return std::max(tolerance, 0);
}

int ToolbarSnapStep(const std::vector<TTbShape>& Shapes, int Current, int Extent, bool Growing, bool DirectionChanged,
                    int Tolerance, bool ByHeight)
{
    int n = static_cast<int>(Shapes.size());
    if (Current < 0 || Current >= n) return Current;
    int here = Key(Shapes[Current], ByHeight);
    if (DirectionChanged && Extent >= here - Tolerance && Extent <= here + Tolerance) return Current;
    int chosen = Current;
    if (Growing) {
        for (int i = Current + 1; i < n; ++i)
            if (Key(Shapes[i], ByHeight) <= Extent) chosen = i;
    } else {
        for (int i = Current - 1; i >= 0; --i)
            if (Key(Shapes[i], ByHeight) >= Extent) chosen = i;
    }
    return chosen;
}
