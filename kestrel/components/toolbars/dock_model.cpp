#include "dock_model.h"

#include <algorithm>

namespace {

int HighestRow(const std::vector<TDockRowBar>& bars)
{
    int highest = -1;
    for (const TDockRowBar& b : bars) highest = std::max(highest, b.Row);
    return highest;
}

bool RowUsed(const std::vector<TDockRowBar>& bars, int row)
{
    for (const TDockRowBar& b : bars)
        if (b.Row == row) return true;
    return false;
}

// Rows numbered 0..n-1 without gaps.
void CloseEmptyRows(std::vector<TDockRowBar>& bars)
{
    int r = 0;
    while (r <= HighestRow(bars)) {
        if (RowUsed(bars, r)) {
            ++r;
            continue;
        }
        for (TDockRowBar& b : bars)
            if (b.Row > r) --b.Row;
    }
}

// A full-size bar keeps its row to itself; the others (and every row above)
// move one further. The highest row is read anew because it keeps rising.
void PackRows(std::vector<TDockRowBar>& bars)
{
    for (int row = 0; row <= HighestRow(bars); ++row) {
        for (size_t i = 0; i < bars.size(); ++i) {
            if (bars[i].Row != row || !bars[i].FullSize) continue;
            bool shared = false;
            for (size_t j = 0; j < bars.size(); ++j)
                if (j != i && bars[j].Row == row) shared = true;
            if (!shared) continue;
            for (size_t j = 0; j < bars.size(); ++j)
                if (j != i && bars[j].Row >= row) ++bars[j].Row;
        }
        int a = 0;
        for (TDockRowBar& b : bars) {
            if (b.Row != row) continue;
            if (a >= b.Pos) b.Pos = a;
            a = b.Pos + b.Length;
        }
    }
}

// The whole row slides back by the overflow of its last overflowing bar.
void FitRows(std::vector<TDockRowBar>& bars, int clientLength)
{
    for (size_t j = 0; j < bars.size(); ++j) {
        TDockRowBar& bar = bars[j];
        if (bar.FullSize) {
            bar.Pos = 0;
            continue;
        }
        for (size_t k = bars.size(); k-- > j;) {
            const TDockRowBar& last = bars[k];
            if (last.Row != bar.Row) continue;
            int excess = last.Pos + last.Length - clientLength;
            if (excess > 0) {
                bar.Pos -= excess;
                break;
            }
        }
    }
}

}  // namespace

TDockArrangement ArrangeDockRows(std::vector<TDockRowBar>& Bars, bool LimitToOneRow, int ClientLength)
{
    TDockArrangement out;
    std::stable_sort(Bars.begin(), Bars.end(), [](const TDockRowBar& a, const TDockRowBar& b) {
        return a.Row != b.Row ? a.Row < b.Row : a.Pos < b.Pos;
    });
    // After the sort: bars of a dock limited to one row keep the order of
    // their rows. A negative stored row would escape the gap closing, which
    // starts at 0.
    for (TDockRowBar& b : Bars)
        if (b.Row < 0 || LimitToOneRow) b.Row = 0;
    CloseEmptyRows(Bars);
    PackRows(Bars);
    int rows = HighestRow(Bars) + 1;
    out.RowSizes.assign(rows, 8);
    for (const TDockRowBar& b : Bars) out.RowSizes[b.Row] = std::max(out.RowSizes[b.Row], b.Thickness);
    FitRows(Bars, ClientLength);
    out.Places.resize(Bars.size());
    int s = 0;
    for (int row = 0; row < rows; ++row) {
        int z = out.RowSizes[row];
        int b = 0;
        for (size_t i = 0; i < Bars.size(); ++i) {
            TDockRowBar& bar = Bars[i];
            if (bar.Row != row) continue;
            if (b >= bar.Pos) bar.Pos = b;
            TDockRowPlace& p = out.Places[i];
            p.Along = bar.Pos;
            p.Across = s;
            p.AcrossExtent = z + DockBarFrame;
            p.AlongExtent = bar.FullSize ? ClientLength : bar.Length;
            b = bar.Pos + bar.Length;
        }
        s += z + DockBarFrame;
    }
    out.Thickness = s;
    return out;
}

int DockRowOf(const std::vector<int>& RowSizes, int Coordinate, bool& Before)
{
    Before = false;
    int b = 0;
    int rows = static_cast<int>(RowSizes.size());
    for (int i = 0;; ++i) {
        if (b + 5 >= Coordinate) {
            Before = true;
            return i;
        }
        if (i >= rows) return i;  // past the last row the end is unbounded
        int c = b + RowSizes[i] + DockBarFrame;
        if (Coordinate <= c - 5) return i;
        b = c;
    }
}

int DockRowAtOffset(const std::vector<int>& RowSizes, int Coordinate)
{
    int end = 0;
    int rows = static_cast<int>(RowSizes.size());
    for (int i = 0; i < rows; ++i) {
        end += RowSizes[i] + DockBarFrame;
        if (end > Coordinate) return i;
    }
    return rows;
}
