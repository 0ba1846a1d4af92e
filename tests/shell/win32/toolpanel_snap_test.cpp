// The floating tool windows snap under the main window when they are let
// go near it, whether dragged by the user or moved by code.
#include "bare_mainform_fixture.h"

namespace {

class FloatingToolWindow : public BareMainForm {
protected:
    void SetUp() override
    {
        BareMainForm::SetUp();
        bar = MainForm->Toolbar;
        ASSERT_TRUE(bar->IsFloating());
        GetWindowRect(MainForm->GetHandle(), &mainRect);
    }

    // Drags the window by its caption so that its top-left corner ends at
    // (x, y); Ctrl keeps it from docking into the main window's dock.
    void DragTo(int x, int y)
    {
        const POINT grab = {12, 0};
        POINT p = {x + grab.x, y + grab.y};
        HWND h = bar->GetHandle();
        ScreenToClient(h, &p);
        PostMessageA(h, WM_KEYDOWN, VK_CONTROL, 0);
        PostMessageA(h, WM_MOUSEMOVE, MK_LBUTTON, gui::PointParam(p.x, p.y));
        PostMessageA(h, WM_LBUTTONUP, 0, gui::PointParam(p.x, p.y));
        bar->BeginMoving(grab);
        gui::PumpUntilIdle();
    }

    RECT HolderRect()
    {
        RECT r;
        GetWindowRect(bar->GetFloatParent()->GetHandle(), &r);
        return r;
    }

    TCustomToolWindow* bar = nullptr;
    RECT mainRect{};
};

TEST_F(FloatingToolWindow, DraggedJustUnderTheMainWindowItsTopMeetsTheBottom)
{
    DragTo(mainRect.left + 50, mainRect.bottom + 4);
    EXPECT_TRUE(bar->IsFloating());
    EXPECT_EQ(mainRect.bottom, bar->GetFloatingPosition().y);
    EXPECT_EQ(mainRect.bottom, HolderRect().top);
    EXPECT_EQ(mainRect.left + 50, HolderRect().left);
}

TEST_F(FloatingToolWindow, DraggedFurtherAwayItStaysWhereItWasLetGo)
{
    DragTo(mainRect.left + 50, mainRect.bottom + 40);
    EXPECT_TRUE(bar->IsFloating());
    EXPECT_GT(HolderRect().top, mainRect.bottom + 30);
    EXPECT_EQ(bar->GetFloatingPosition().y, HolderRect().top);
}

TEST_F(FloatingToolWindow, MovedByCodeItSnapsOnceAndStays)
{
    HWND holder = bar->GetFloatParent()->GetHandle();
    SetWindowPos(holder, nullptr, mainRect.left + 80, mainRect.bottom - 5, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    gui::PumpUntilIdle();
    EXPECT_EQ(mainRect.bottom, HolderRect().top);
    EXPECT_EQ(mainRect.left + 80, HolderRect().left);
    EXPECT_EQ(mainRect.bottom, bar->GetFloatingPosition().y);
    // The palette window follows the same rule.
    HWND palette = MainForm->Palettebar->GetFloatParent()->GetHandle();
    SetWindowPos(palette, nullptr, mainRect.left + 200, mainRect.bottom + 6, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    gui::PumpUntilIdle();
    RECT r;
    GetWindowRect(palette, &r);
    EXPECT_EQ(mainRect.bottom, r.top);
}

}  // namespace
