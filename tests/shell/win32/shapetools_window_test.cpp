// The line, shape and fill tools in an image window, chosen by hot key and
// by tool button, driven by mouse messages at zoom 1 and 2: each operation
// paints what a reference drawn here paints, leaves no feedback or fill
// mark, shows on the screen, and undoes and redoes exactly.

#include <cmath>
#include <functional>

#include "../../painting/paintkit_fixture.h"
#include "../../painting/win32/imageform_fixture.h"
#include "extctrls.h"
#include "forms.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "shapes_tools.h"
#include "toolbar_button.h"
#include "toolbuttons.h"

namespace {

const unsigned long Ink = 0x00C01020, Paper = 0x00FFFFFF, Frame = 0x00000000;
const int W = 48, H = 40;

using Points = std::vector<TPoint>;

struct ToolCase {
    const char* name;
    int hotKey;
    P_icon* tool;
    bool drag;      // one press-drag-release along the points; else a click at each
    Points points;
    std::function<void(Buffer&)> reference;  // draws the expected picture
};

void Polyline(Buffer& b, const Points& p)
{
    for (size_t i = 1; i < p.size(); ++i) b.Line(Pair<int>{p[i - 1].x, p[i - 1].y}, Pair<int>{p[i].x, p[i].y}, Ink);
}

// Each row from its first to its last Ink pixel: a convex shape's inside.
void FillRows(Buffer& b)
{
    for (int y = 0; y < H; ++y) {
        int l = W, r = -1;
        for (int x = 0; x < W; ++x)
            if (*b.At(x, y) == Ink) l = std::min(l, x), r = std::max(r, x);
        if (l <= r) b.Box(Rect{l, y, r, y}, Ink);
    }
}

// The references a polygon and a freehand shape, a curve whose third click
// is on its line, and a fill inside the frame share.
void Triangle(Buffer& b)
{
    Polyline(b, {{10, 10}, {30, 10}, {20, 30}, {10, 10}});
    FillRows(b);
}
void StraightCurve(Buffer& b) { Polyline(b, {{0, 10}, {32, 10}}); }
void InsideTheFrame(Buffer& b) { b.Box(Rect{11, 11, 29, 29}, Ink); }

// Sixteen segments: radii below 32.
Points EllipseVertices(int cx, int cy, int rx, int ry)
{
    Points v = {{cx, cy - ry}};
    for (int i = 1; i <= 16; ++i) {
        int k = 64 * i % 1024;
        int s = int(std::trunc(512 * std::sin(2 * 3.14159265358979323846 * k / 1024)));
        int c = int(std::trunc(512 * std::sin(2 * 3.14159265358979323846 * (k + 256) / 1024)));
        v.push_back(TPoint{cx - rx * s / 512, cy - ry * c / 512});
    }
    return v;
}

class ShapeToolsWindow : public ImageFormTest {
protected:
    TPanel* panel = nullptr;

    void SetUp() override
    {
        ImageFormTest::SetUp();
        auto* holder = new TForm(app.get());
        panel = new TPanel(holder);
        panel->SetParent(holder);
        BuildToolButtons(panel, GetModuleHandleA(nullptr));
        PaintKitHost.foreColour = [] { return Ink; };
        PaintKitHost.backColour = [] { return Paper; };
        InitPaintKit();
        SetDabBrush(Ink);
    }

    void TearDown() override
    {
        FreePaintKitBuffers();
        FreeToolButtons();
        ImageFormTest::TearDown();
    }

    static std::vector<unsigned long> PixelsOf(UDBuffer& pic)
    {
        return std::vector<unsigned long>(pic.pixels, pic.pixels + pic.Width() * pic.Height());
    }

    static int Unshown(TImageForm* f, int zoom)
    {
        gui::PumpUntilIdle();
        gui::TPixels view = gui::ReadPixels(f->ShowBuf->GetHandle());
        int wrong = 0;
        for (int y = 0; y < H && zoom * y < view.Height; ++y)
            for (int x = 0; x < W && zoom * x < view.Width; ++x)
                wrong += view.At(zoom * x, zoom * y) != (*f->Picture.At(x, y) & 0xFFFFFF);
        return wrong;
    }

    // Hot key presses until the tool is current; then its group's button,
    // which shows it now, selects it too.
    void Choose(TImageForm* f, const ToolCase& c)
    {
        SelectTool(&tool, true, -1);
        for (int i = 0; i < 5 && CurrentTool != c.tool; ++i) Key(f, WORD(c.hotKey));
        ASSERT_EQ(CurrentTool, c.tool) << c.name;
        SelectTool(&tool, true, -1);
        TToolbarButton* button = nullptr;
        for (int g = 0; g < ToolGroupCount(); ++g)
            if (GetToolGroup(g).button == c.tool->groupButton) button = ToolButtons->GetButton(g);
        ASSERT_NE(button, nullptr);
        gui::Click(button, 10, 10);
        ASSERT_EQ(CurrentTool, c.tool) << c.name;
    }

    void Operate(TImageForm* f, const ToolCase& c, int zoom)
    {
        auto at = [zoom](TPoint p) { return TPoint{p.x * zoom + zoom / 2, p.y * zoom + zoom / 2}; };
        if (c.drag) {
            TPoint p = at(c.points[0]);
            MoveTo(f, p.x, p.y);
            Press(f, p.x, p.y);
            timer.Advance(300);
            for (TPoint q : c.points) MoveTo(f, at(q).x, at(q).y, MK_LBUTTON);
            Release(f, at(c.points.back()).x, at(c.points.back()).y);
        } else {
            for (TPoint q : c.points) {
                MoveTo(f, at(q).x, at(q).y);
                Press(f, at(q).x, at(q).y);
                Release(f, at(q).x, at(q).y);
            }
        }
        MoveTo(f, -1, -1);
        SendMessageA(f->ShowBuf->GetHandle(), WM_MOUSELEAVE, 0, 0);
        SelectTool(&tool, true, -1);  // takes back any feedback still shown
    }
};

TEST_F(ShapeToolsWindow, EachToolPaintsItsReferenceAtZoomOneAndTwoAndUndoes)
{
    ShapeToolSet& t = ShapeTools();
    const ToolCase cases[] = {
        {"line", 'L', &t.line, true, {{3, 4}, {17, 9}}, [](Buffer& b) { Polyline(b, {{3, 4}, {17, 9}}); }},
        {"connected lines", 'L', &t.lineCont, false, {{2, 2}, {20, 8}, {30, 20}},
         [](Buffer& b) { Polyline(b, {{2, 2}, {20, 8}, {30, 20}}); }},
        {"curve", 'U', &t.spline, false, {{0, 10}, {32, 10}, {16, 10}}, StraightCurve},
        {"filled rectangle", 'R', &t.boxRectf, true, {{2, 2}, {8, 5}}, [](Buffer& b) { b.Box(Rect{2, 2, 8, 5}, Ink); }},
        {"rectangle", 'R', &t.boxRect, true, {{2, 2}, {8, 5}}, [](Buffer& b) { b.Rectangle(Rect{2, 2, 8, 5}, Ink); }},
        {"circle", 'C', &t.circle, true, {{20, 20}, {23, 24}}, [](Buffer& b) { Polyline(b, EllipseVertices(20, 20, 5, 5)); }},
        {"fill", 'F', &t.fillSolid, false, {{20, 20}}, InsideTheFrame},
        {"filled polygon", 'D', &t.fillPoly, false, {{10, 10}, {30, 10}, {20, 30}, {11, 11}}, Triangle},
        {"filled freehand shape", 'D', &t.fillDraw, true, {{10, 10}, {30, 10}, {20, 30}, {10, 10}}, Triangle},
        {"connected curves", 'U', &t.splineCont, false, {{0, 10}, {32, 10}, {16, 10}}, StraightCurve},
        {"filled square", 'R', &t.boxSqrf, true, {{2, 2}, {8, 5}}, [](Buffer& b) { b.Box(Rect{2, 2, 8, 8}, Ink); }},
        {"square", 'R', &t.boxSqr, true, {{5, 5}, {8, 12}}, [](Buffer& b) { b.Rectangle(Rect{5, 5, 12, 12}, Ink); }},
        {"ellipse", 'C', &t.ellipse, true, {{24, 20}, {28, 22}},
         [](Buffer& b) { Polyline(b, EllipseVertices(24, 20, 6, 3)); }},
        {"pattern fill without a cut brush", 'F', &t.fillPattern, false, {{20, 20}}, InsideTheFrame},
    };
    TImageForm* f = NewShownWindow(W, H);
    ASSERT_NE(f, nullptr);
    for (int zoom : {1, 2}) {
        f->SetZoomStep(zoom);
        f->FitToPicture();
        gui::PumpUntilIdle();
        for (const ToolCase& c : cases) {
            // Paper with a frame the fill stays inside.
            f->Picture.Box(f->Picture.GetRect(), Paper);
            f->Picture.Rectangle(Rect{10, 10, 30, 30}, Frame);
            f->ShowBuf->Invalidate();
            std::vector<unsigned long> before = PixelsOf(f->Picture);
            Buffer want;
            want.Alloc(Pair<int>{W, H});
            want.Copy(f->Picture, Pair<int>{0, 0}, 0xFFFFFFFF);
            c.reference(want);
            std::vector<unsigned long> expected(want.pixels, want.pixels + W * H);

            Choose(f, c);
            Operate(f, c, zoom);
            std::vector<unsigned long> after = PixelsOf(f->Picture);
            EXPECT_EQ(after, expected) << c.name << " at zoom " << zoom;
            EXPECT_EQ(Unshown(f, zoom), 0) << c.name << " at zoom " << zoom;
            // Leaving the chained tool took back the step kept for a next
            // segment: one step per segment is left.
            int steps = c.tool == &t.lineCont ? 2 : 1;
            for (int i = 0; i < steps; ++i) ASSERT_TRUE(UDBuffer::Undo(&f->Picture, true)) << c.name;
            EXPECT_EQ(PixelsOf(f->Picture), before) << c.name << " at zoom " << zoom;
            EXPECT_EQ(Unshown(f, zoom), 0) << c.name;
            for (int i = 0; i < steps; ++i) ASSERT_TRUE(UDBuffer::Redo(&f->Picture)) << c.name;
            EXPECT_EQ(PixelsOf(f->Picture), after) << c.name;
        }
    }
}

}  // namespace
