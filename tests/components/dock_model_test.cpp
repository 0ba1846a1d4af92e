#include <gtest/gtest.h>

#include "dock_model.h"

namespace {

TDockRowBar Bar(int id, int row, int pos, int length, int thickness = 22, bool fullSize = false)
{
    TDockRowBar b;
    b.Bar = reinterpret_cast<void*>(static_cast<intptr_t>(id));
    b.Row = row;
    b.Pos = pos;
    b.Length = length;
    b.Thickness = thickness;
    b.FullSize = fullSize;
    return b;
}

int Id(const TDockRowBar& b)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(b.Bar));
}

}  // namespace

TEST(DockRows, EmptyRowsCloseUp)
{
    std::vector<TDockRowBar> bars = {Bar(1, 2, 0, 50), Bar(2, 0, 0, 50)};
    TDockArrangement a = ArrangeDockRows(bars, false, 300);
    ASSERT_EQ(2u, a.RowSizes.size());
    EXPECT_EQ(2, Id(bars[0]));
    EXPECT_EQ(0, bars[0].Row);
    EXPECT_EQ(1, bars[1].Row);
    EXPECT_EQ(26, a.Places[1].Across);  // row pitch: size + 4
    EXPECT_EQ(52, a.Thickness);
}

TEST(DockRows, FullSizeBarKeepsItsRowAlone)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, 0, 80), Bar(2, 0, 100, 60, 22, true)};
    TDockArrangement a = ArrangeDockRows(bars, false, 300);
    ASSERT_EQ(2u, a.RowSizes.size());
    // The full-size bar comes second in row 0, so it pushes the first one on.
    for (size_t i = 0; i < bars.size(); ++i) {
        if (Id(bars[i]) == 2) {
            EXPECT_EQ(0, bars[i].Row);
            EXPECT_EQ(0, bars[i].Pos);
            EXPECT_EQ(300, a.Places[i].AlongExtent);
        } else {
            EXPECT_EQ(1, bars[i].Row);
        }
    }
}

TEST(DockRows, TwoFullSizeBarsOnOneRowEndOnTwoRows)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, 0, 80, 22, true), Bar(2, 0, 10, 60, 22, true), Bar(3, 1, 0, 40)};
    ArrangeDockRows(bars, false, 300);
    EXPECT_EQ(0, bars[0].Row);
    EXPECT_EQ(1, bars[1].Row);
    EXPECT_EQ(2, bars[2].Row);
}

TEST(DockRows, OverflowSlidesTheRowBackButNotBeforeZero)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, 0, 100), Bar(2, 0, 250, 150)};
    TDockArrangement a = ArrangeDockRows(bars, false, 300);
    EXPECT_EQ(0, bars[0].Pos);
    EXPECT_EQ(150, bars[1].Pos);
    EXPECT_EQ(0, a.Places[0].Along);
    EXPECT_EQ(150, a.Places[1].Along);
    EXPECT_EQ(150, a.Places[1].AlongExtent);
    EXPECT_EQ(26, a.Places[1].AcrossExtent);
}

TEST(DockRows, OverlapsArePushedApartInStoredOrder)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, 30, 50), Bar(2, 0, 10, 50)};
    ArrangeDockRows(bars, false, 300);
    EXPECT_EQ(2, Id(bars[0]));
    EXPECT_EQ(10, bars[0].Pos);
    EXPECT_EQ(60, bars[1].Pos);
}

TEST(DockRows, EqualKeysKeepListOrder)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, -1, 40), Bar(2, 0, -1, 40), Bar(3, 0, -1, 40)};
    ArrangeDockRows(bars, false, 300);
    EXPECT_EQ(1, Id(bars[0]));
    EXPECT_EQ(2, Id(bars[1]));
    EXPECT_EQ(80, bars[2].Pos);
}

TEST(DockRows, LimitToOneRowAndNegativeRows)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, 0, 40), Bar(2, 3, 0, 40), Bar(3, 5, 0, 40)};
    TDockArrangement a = ArrangeDockRows(bars, true, 300);
    EXPECT_EQ(1u, a.RowSizes.size());
    for (const TDockRowBar& b : bars) EXPECT_EQ(0, b.Row);
    std::vector<TDockRowBar> negative = {Bar(1, -3, 0, 40), Bar(2, 1, 0, 40)};
    ArrangeDockRows(negative, false, 300);
    EXPECT_EQ(0, negative[0].Row);
    EXPECT_EQ(1, negative[1].Row);
}

TEST(DockRows, OneRowDockKeepsTheOrderOfTheStoredRows)
{
    // Stored rows come first, positions only within a row: the bar of row 1
    // follows every bar of row 0 whatever its position.
    struct Case {
        int rows[3], positions[3];
        int order[3];
    };
    const Case cases[] = {
        {{1, 0, 0}, {0, 50, 10}, {3, 2, 1}},
        {{0, 1, 2}, {90, 0, 5}, {1, 2, 3}},
        {{2, 2, 0}, {40, 0, 70}, {3, 2, 1}},
    };
    for (const Case& c : cases) {
        std::vector<TDockRowBar> bars;
        for (int i = 0; i < 3; ++i) bars.push_back(Bar(i + 1, c.rows[i], c.positions[i], 30));
        ArrangeDockRows(bars, true, 300);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(c.order[i], Id(bars[i])) << "case " << &c - cases << ", place " << i;
            EXPECT_EQ(0, bars[i].Row);
        }
    }
}

TEST(DockRows, RowSizeIsAtLeastEightAndTheThickestBar)
{
    std::vector<TDockRowBar> bars = {Bar(1, 0, 0, 40, 3), Bar(2, 1, 0, 40, 16), Bar(3, 1, 50, 40, 30)};
    TDockArrangement a = ArrangeDockRows(bars, false, 300);
    EXPECT_EQ((std::vector<int>{8, 30}), a.RowSizes);
    EXPECT_EQ(12 + 34, a.Thickness);
}

TEST(DockRows, RowOfOpensRowsAtBoundaries)
{
    std::vector<int> rows = {22, 22};  // rows span 0..26 and 26..52
    bool before = false;
    EXPECT_EQ(0, DockRowOf(rows, 3, before));
    EXPECT_TRUE(before);
    EXPECT_EQ(0, DockRowOf(rows, 13, before));
    EXPECT_FALSE(before);
    EXPECT_EQ(1, DockRowOf(rows, 28, before));  // within 5 of the boundary at 26
    EXPECT_TRUE(before);
    EXPECT_EQ(1, DockRowOf(rows, 40, before));
    EXPECT_FALSE(before);
    EXPECT_EQ(2, DockRowOf(rows, 55, before));
    EXPECT_TRUE(before);
    EXPECT_EQ(2, DockRowOf(rows, 500, before));
    EXPECT_FALSE(before);
    EXPECT_EQ(0, DockRowOf({}, 100, before));
}

TEST(DockRows, RowAtOffset)
{
    std::vector<int> rows = {22, 10};
    EXPECT_EQ(0, DockRowAtOffset(rows, 0));
    EXPECT_EQ(0, DockRowAtOffset(rows, 25));
    EXPECT_EQ(1, DockRowAtOffset(rows, 26));
    EXPECT_EQ(2, DockRowAtOffset(rows, 40));
}
