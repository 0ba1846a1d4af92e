// The about panel and the splash screen: the home-page link, closing by a
// press or by losing the activation, and the splash's hidden link.
#include <string>
#include <vector>

#include "../../gui/win32/gui_fixture.h"
#include "../../gui/win32/timed_step.h"
#include "aboutpanel.h"
#include "messages.h"
#include "screen.h"

namespace {

class AboutPanel : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        savedOpen = OpenInBrowser;
        OpenInBrowser = [this](const AnsiString& address) {
            opened.push_back(address.c_str());
            return browserStarts;
        };
        MessageBoxHook = [](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            return Application->MessageBox(text, caption, flags);
        };
    }
    void TearDown() override
    {
        MessageBoxHook = nullptr;
        OpenInBrowser = savedOpen;
        GuiTest::TearDown();
    }

    TAboutPanel* ShownPanel()
    {
        TAboutPanel* panel = new TAboutPanel(app.get());
        panel->Show();
        gui::PumpUntilIdle();
        return panel;
    }
    static bool PanelOpen() { return gui::OpenForm<TAboutPanel>() != nullptr; }

    std::function<bool(const AnsiString&)> savedOpen;
    std::vector<std::string> opened;
    bool browserStarts = true;
};

TEST_F(AboutPanel, PressOnTheLinkOpensTheHomePageAndElsewhereCloses)
{
    TAboutPanel* panel = ShownPanel();
    gui::MouseDown(panel->Image1, 320, 10);
    gui::PumpUntilIdle();
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(HomePageAddress, opened[0]);
    EXPECT_TRUE(PanelOpen());
    gui::MouseDown(panel->Image1, 437, 17);  // the link's last pixel
    EXPECT_EQ(2u, opened.size());
    gui::MouseDown(panel->Image1, 100, 100);
    gui::PumpUntilIdle();
    EXPECT_EQ(2u, opened.size());
    EXPECT_FALSE(PanelOpen());
    EXPECT_TRUE(recorder->Boxes.empty());
}

TEST_F(AboutPanel, BrowserThatDoesNotStartIsReported)
{
    browserStarts = false;
    TAboutPanel* panel = ShownPanel();
    gui::MouseDown(panel->Image1, 320, 10);
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ(Translate("CantOpenBrowser").c_str(), recorder->Boxes[0].Text.c_str());
    delete panel;
}

TEST_F(AboutPanel, HandCursorOnlyOverTheLink)
{
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    Screen->SetCursors(HandCursor, CopyCursor(hand));
    TAboutPanel* panel = ShownPanel();
    HWND h = panel->GetHandle();
    auto cursorAt = [h](int x, int y) {
        POINT p{x, y};
        ClientToScreen(h, &p);
        SetCursorPos(p.x, p.y);
        SendMessageA(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    EXPECT_EQ(Screen->GetCursors(HandCursor), cursorAt(314, 4));
    EXPECT_NE(Screen->GetCursors(HandCursor), cursorAt(313, 4));
    EXPECT_NE(Screen->GetCursors(HandCursor), cursorAt(320, 18));
    delete panel;
}

TEST_F(AboutPanel, LosingTheActivationClosesIt)
{
    ShownPanel();
    TForm* other = new TForm(app.get());
    other->Show();
    gui::PumpUntilIdle();
    EXPECT_FALSE(PanelOpen());
    delete other;
}

TEST_F(AboutPanel, SplashHidesTheLinkUnderTheTopLeftColourAndClosesAtTheEnd)
{
    TAboutPanel about(nullptr);
    TCanvas* plain = about.Image1->GetCanvas();
    CreateSplash(app.get());
    TAboutPanel* splash = Splash();
    ASSERT_NE(nullptr, splash);
    EXPECT_EQ((Screen->GetWidth() - 441) / 2, splash->GetLeft());
    EXPECT_EQ((Screen->GetHeight() - 341) / 2, splash->GetTop());
    TCanvas* c = splash->Image1->GetCanvas();
    TColor background = c->GetPixels(0, 0);
    int differing = 0, linkText = 0;
    for (int y = AboutLinkRect.top; y < AboutLinkRect.bottom; ++y)
        for (int x = AboutLinkRect.left; x < AboutLinkRect.right; ++x) {
            differing += c->GetPixels(x, y) != background;
            linkText += plain->GetPixels(x, y) != background;
        }
    EXPECT_EQ(0, differing);
    EXPECT_GT(linkText, 20);  // the about panel shows its link there

    ShowSplash();
    TForm* firstPicture = new TForm(app.get());
    firstPicture->Show();
    gui::PumpUntilIdle();
    // The first picture takes the activation; the splash stays until the end.
    EXPECT_EQ(firstPicture->GetHandle(), GetActiveWindow());
    EXPECT_EQ(splash, Splash());
    EXPECT_TRUE(IsWindowVisible(splash->GetHandle()));
    gui::MouseDown(splash->Image1, 320, 10);  // a hidden link does not act
    EXPECT_TRUE(opened.empty());
    CloseSplash();
    gui::PumpUntilIdle();
    EXPECT_EQ(nullptr, Splash());
    CloseSplash();  // nothing left to close
    delete firstPicture;
}

}  // namespace
