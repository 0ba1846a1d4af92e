// The main window's menu answers its keys from a picture window too, as
// typed (SendInput, so that Ctrl and Alt are really held), while the keys
// the picture window needs itself still reach it.
#include <string>

#include "../../gui/win32/timed_step.h"
#include "mainwindow_fixture.h"
#include "open_dialog_preview.h"
#include "picturefiles_dialogdriver.h"
#include "save_dialog_options.h"

namespace {

class MainMenuKeys : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        picture = GetImageForm(0);
        SetForegroundWindow(picture->GetHandle());
        SetFocus(picture->GetHandle());
        gui::PumpUntilIdle();
        ASSERT_EQ(picture->GetHandle(), GetForegroundWindow());
    }
    void TearDown() override
    {
        delete OpenPlus;
        OpenPlus = nullptr;
        delete SavePlus;
        SavePlus = nullptr;
        MainWindow::TearDown();
    }

    TImageForm* picture = nullptr;
};

TEST_F(MainMenuKeys, CtrlOInAPictureWindowShowsTheOpenDialog)
{
    std::string title;
    dialogdriver::Start({[&title](HWND dialog) {
        char text[128] = "";
        GetWindowTextA(dialog, text, sizeof text);
        title = text;
        return true;
    }});
    gui::InputKeyStroke('O', VK_CONTROL);
    EXPECT_TRUE(dialogdriver::Finish());
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(1, ImageFormCount());  // cancelled
}

TEST_F(MainMenuKeys, KeysThatAreNoShortCutStillReachThePicture)
{
    bool before = AntiAlias;
    gui::InputKeyStroke('T', VK_CONTROL);  // the picture's anti-alias switch
    EXPECT_NE(before, AntiAlias);
    gui::InputKeyStroke('T', VK_CONTROL);
    EXPECT_EQ(before, AntiAlias);
}

TEST_F(MainMenuKeys, AltLetterInAPictureWindowOpensTheMainMenu)
{
    bool opened = false;
    MainForm->File1->OnClick = [&opened](TObject*) {
        opened = true;
        gui::Later([] { EndMenu(); });
    };
    gui::InputKeyStroke('F', VK_MENU);
    gui::PumpUntilIdle();
    EXPECT_TRUE(opened);
}

}  // namespace
