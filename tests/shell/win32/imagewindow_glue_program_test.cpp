// Image windows in the started program: the docked bars follow the picture
// opened or activated and the window that closes hands them on; windows
// moved near each other snap and glue, and sizing one sizes its glued
// neighbour; minimising, maximising and restoring.
#include "imagetitle.h"
#include "imagewindow_glue.h"
#include "mainwindow_fixture.h"
#include "toolbar.h"

namespace {

class ImageWindowArrangement : public MainWindow {
protected:
    TImageForm* Open(const char* name)
    {
        WriteSmallBmp(name);
        EXPECT_EQ(0, LoadPictureFile(nullptr, name, 0, false));
        gui::PumpUntilIdle();
        std::remove(name);
        return CurrentImageForm;
    }
    void Activate(TImageForm* f)
    {
        SetForegroundWindow(f->GetHandle());
        gui::PumpUntilIdle();
    }
    bool BarsIn(TImageForm* f) const
    {
        return MainForm->Toolbar->GetDockedTo() == f->LeftDock && MainForm->Palettebar->GetDockedTo() == f->RightDock;
    }
    static RECT Bounds(TControl* c)
    {
        RECT r;
        GetWindowRect(static_cast<TWinControl*>(c)->GetHandle(), &r);
        return r;
    }
    void Place(TImageForm* f, int left, int top, int width, int height)
    {
        f->SetBounds(left, top, width, height);
        gui::PumpUntilIdle();
    }
};

}  // namespace

TEST_F(ImageWindowArrangement, DockedBarsFollowTheCurrentPictureAndItsClosing)
{
    ASSERT_TRUE(started);
    TImageForm* untitled = First();
    ASSERT_TRUE(BarsIn(untitled));
    TImageForm* photo = Open("arrange_photo.bmp");
    ASSERT_NE(photo, untitled);
    EXPECT_TRUE(BarsIn(photo)) << "the opened picture takes the bars";
    Activate(untitled);
    EXPECT_TRUE(BarsIn(untitled)) << "activating a picture takes the bars";
    // The current window's caption looks active even without the focus,
    // the other's inactive even with it.
    EXPECT_EQ(untitled->Cap->GetInactiveBeginColor(), clActiveCaption);
    EXPECT_EQ(untitled->Cap->GetInactiveEndColor(), CaptionEndColors[0]);
    EXPECT_EQ(photo->Cap->GetActiveBeginColor(), clInactiveCaption);
    EXPECT_EQ(photo->Cap->GetActiveEndColor(), CaptionEndColors[1]);
    delete untitled;
    gui::PumpUntilIdle();
    EXPECT_TRUE(BarsIn(photo)) << "the closing window hands them on";

    // With none left they float below the main window, apart.
    delete photo;
    ASSERT_TRUE(MainForm->Toolbar->IsFloating());
    ASSERT_TRUE(MainForm->Palettebar->IsFloating());
    RECT main = Bounds(MainForm), tools = Bounds(MainForm->Toolbar), colours = Bounds(MainForm->Palettebar);
    RECT both;
    EXPECT_GE(tools.top, main.bottom - 1);
    EXPECT_GE(colours.top, main.bottom - 1);
    EXPECT_FALSE(IntersectRect(&both, &tools, &colours));
    gui::PumpUntilIdle();
}

TEST_F(ImageWindowArrangement, MovedWindowsSnapAndGlueAndSizeTogether)
{
    ASSERT_TRUE(started);
    AppSettings.ResizeNeigh = ResizeNeigh = true;
    TImageForm* a = First();
    TImageForm* b = Open("arrange_b.bmp");
    Place(a, 0, 200, 300, 250);
    Place(b, 500, 200, 300, 250);

    // b dragged to 2 pixels right of a's right edge snaps against it.
    RECT r{302, 210, 602, 460};
    SendMessageA(b->GetHandle(), WM_MOVING, WMSZ_LEFT, LPARAM(&r));
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.right, 600);
    EXPECT_TRUE(ImageReglueMark);
    Place(b, r.left, r.top, 300, 250);
    GlueImageWindowsWhenMarked();
    ASSERT_EQ(a->Links.size(), 1u);
    EXPECT_EQ(a->Links[0].side, 1);
    EXPECT_EQ(a->Links[0].neighbour, b);

    // a's right edge sized by 200: b follows down to 192 wide, and a's
    // edge stops there too.
    RECT s{0, 200, 500, 450};
    SendMessageA(a->GetHandle(), WM_SIZING, WMSZ_RIGHT, LPARAM(&s));
    EXPECT_EQ(s.right, 408);
    EXPECT_EQ(b->GetLeft(), 408);
    EXPECT_EQ(b->GetWidth(), 192);
}

TEST_F(ImageWindowArrangement, MinimiseMaximiseAndRestore)
{
    ASSERT_TRUE(started);
    TImageForm* a = First();
    TImageForm* b = Open("arrange_c.bmp");
    Place(a, 0, 200, 300, 250);
    Place(b, 300, 200, 300, 250);
    GlueImageWindows();

    // The marks are read at once: the activity timer clears them.
    ImageReglueMark = false;
    SendMessageA(a->GetHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_FALSE(ImageReglueMark) << "maximising keeps the links";
    gui::PumpUntilIdle();
    EXPECT_TRUE(BarsIn(a));
    EXPECT_EQ(MainForm->GetWindowState(), wsMaximized);
    SendMessageA(a->GetHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(ImageReglueMark);
    gui::PumpUntilIdle();
    Place(a, 0, 200, 300, 250);
    GlueImageWindows();
    ASSERT_EQ(a->Links.size(), 1u);
    EXPECT_EQ(a->Links[0].neighbour, b);

    ImageReglueMark = false;
    SendMessageA(b->GetHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(ImageReglueMark);
    gui::PumpUntilIdle();
    EXPECT_EQ(b->GetCaption(), ImageCaption(b->Picture, CaptionNameOnly, false));
}
