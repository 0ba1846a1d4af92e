// Fitting the window to its picture keeps room for the bars that are to
// dock in its two empty docks.
#include "imageform_fixture.h"
#include "imagelayout.h"

TEST_F(ImageFormTest, FittingWidensTheWindowForEachEmptyDockWhileBarsAlwaysDock)
{
    int widths[2] = {0, 0};
    for (bool always : {false, true}) {
        AlwaysDock = always;
        TImageForm* f = NewShownWindow(300, 200);
        f->FitToPicture();
        EXPECT_EQ(0, f->LeftDock->GetToolbarCount() + f->RightDock->GetToolbarCount());
        widths[always] = f->GetWidth();
        delete f;
        gui::PumpUntilIdle();
    }
    AlwaysDock = true;
    EXPECT_EQ(2 * EmptyDockRoom, widths[1] - widths[0]);
}
