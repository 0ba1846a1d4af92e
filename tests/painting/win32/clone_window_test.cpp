// The clone brush's source cross in a real image window: a repaint of part
// of the view leaves the whole cross on the screen.
#include <algorithm>

#include "brushes_tools.h"
#include "imageform_fixture.h"
#include "paintkit.h"
#include "../paintkit_fixture.h"
#include "toolbox_tools.h"

namespace {

class CloneWindow : public ImageFormTest {
protected:
    void TearDown() override
    {
        FreePaintKitBuffers();
        ToolOverlayFlag = false;
        ImageFormTest::TearDown();
    }

    // Pixels of the view that are not white, row by row, around (cx, cy).
    static std::vector<bool> Marks(TImageForm* f, int cx, int cy)
    {
        gui::PumpUntilIdle();
        gui::TPixels view = gui::ReadPixels(f->ShowBuf->GetHandle());
        std::vector<bool> marks;
        for (int y = cy - 6; y <= cy + 6; ++y)
            for (int x = cx - 6; x <= cx + 6; ++x) marks.push_back(view.At(x, y) != 0xFFFFFF);
        return marks;
    }
};

TEST_F(CloneWindow, APartialRepaintKeepsTheWholeSourceCross)
{
    TImageForm* f = NewShownWindow(48, 32);
    ASSERT_NE(f, nullptr);
    f->Picture.Box(f->Picture.GetRect(), 0x00FFFFFF);
    f->ShowBuf->Invalidate();
    SetDabBrush(0x00FFFFFF);  // a white dab: only the cross shows
    P_clone& clone = ToolBoxTools().clone;
    clone.sourceX = 14;  // the offset from the pointer
    clone.sourceY = 2;
    clone.sourceJustSet = 0;
    SelectTool(&clone, false, -1);
    MoveTo(f, 10, 10);
    std::vector<bool> whole = Marks(f, 24, 12);
    ASSERT_GE(std::count(whole.begin(), whole.end(), true), 16);
    RECT right = {24, 4, 32, 20};
    InvalidateRect(f->ShowBuf->GetHandle(), &right, FALSE);
    UpdateWindow(f->ShowBuf->GetHandle());
    EXPECT_EQ(Marks(f, 24, 12), whole);
}

}  // namespace
