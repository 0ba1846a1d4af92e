// The line, shape and fill tools driven through the tool-step machine on a
// 48x40 picture with a 1x1 brush: pixel sets compared with references
// drawn here by Pixmill's own Line, undo and redo of each operation, and no
// feedback or fill mark left behind.
#ifndef TESTS_PAINTING_DRAWTOOLS_FIXTURE_H
#define TESTS_PAINTING_DRAWTOOLS_FIXTURE_H

#include <set>
#include <utility>

#include "optionbar.h"
#include "paintkit_fixture.h"
#include "shapes_tools.h"

using PixelSet = std::set<std::pair<int, int>>;

class DrawToolTest : public PaintKitTest {
protected:
    static constexpr int W = 48, H = 40;
    static constexpr unsigned long Ground = 0x00404040;
    std::vector<unsigned long> before;
    ShapeToolSet& tools = ShapeTools();

    void SetUp() override
    {
        PaintKitTest::SetUp();
        pic.Alloc(Pair<int>{W, H});
        pic.Box(pic.GetRect(), Ground);
        SetBrush({"#"}, HandleCentre);
        MousePoint = TPoint{OutsideView, OutsideView};
        // The tools are the program's own: options left by another test go.
        for (P_fill* f : {(P_fill*)&tools.fillSolid, (P_fill*)&tools.fillPattern}) {
            f->shading = f->eightConnected = 0;
            f->tolerance = 0;
        }
        tools.fillPattern.originMode = 0;
        for (P_line* l : {&tools.line, (P_line*)&tools.lineCont}) {
            l->lineMode = l->arrow = 0;
            l->lineValue = 2;
        }
    }

    std::vector<unsigned long> All() const { return std::vector<unsigned long>(pic.pixels, pic.pixels + W * H); }

    void Use(P_icon& tool)
    {
        SelectTool(&tool, false, -1);
        before = All();
    }
    void Drag(TPoint a, TPoint b)
    {
        Press(a.x, a.y);
        timer.Advance(300);
        Move(b.x, b.y);
        Release(b.x, b.y);
    }
    void Click(TPoint p)
    {
        Press(p.x, p.y);
        Release(p.x, p.y);
    }

    PixelSet Changed() const
    {
        PixelSet s;
        for (int i = 0; i < W * H; ++i)
            if (pic.pixels[i] != before[size_t(i)]) s.insert({i % W, i / W});
        return s;
    }
    static PixelSet Line(TPoint a, TPoint b)
    {
        Buffer m;
        m.Alloc(Pair<int>{W, H});
        m.Box(m.GetRect(), 0);
        m.Line(Pair<int>{a.x, a.y}, Pair<int>{b.x, b.y}, 1);
        PixelSet s;
        for (int i = 0; i < W * H; ++i)
            if (m.pixels[i]) s.insert({i % W, i / W});
        return s;
    }
    static PixelSet Union(std::initializer_list<PixelSet> sets)
    {
        PixelSet u;
        for (const PixelSet& s : sets) u.insert(s.begin(), s.end());
        return u;
    }
    bool AllChangedAre(unsigned long colour) const
    {
        for (auto p : Changed())
            if (*pic.At(p.first, p.second) != colour) return false;
        return true;
    }
    bool NoFlagsLeft() const
    {
        for (int i = 0; i < W * H; ++i)
            if (pic.pixels[i] & 0xFF000000) return false;
        return true;
    }
    // The operation undoes to the picture before it and redoes to after it.
    void ExpectUndoRedo()
    {
        std::vector<unsigned long> after = All();
        EXPECT_TRUE(NoFlagsLeft());
        ASSERT_TRUE(UDBuffer::Undo(&pic, true));
        EXPECT_EQ(All(), before);
        ASSERT_TRUE(UDBuffer::Redo(&pic));
        EXPECT_EQ(All(), after);
    }
};

#endif
