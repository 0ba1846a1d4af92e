// The tip-of-the-day dialog over a tip file in a folder of its own: which
// tip shows, the Help button, the missing file, and what closing stores.
#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "../../gui/win32/timed_step.h"
#include "../textfile_fixture.h"
#include "appsettings.h"
#include "mainform.h"
#include "messages.h"
#include "tipform.h"

namespace {

class TipForm : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        savedDir = ProgramDir;
        ProgramDir = TestTempPath("").c_str();
        std::remove(TipsPath().c_str());
        AppSettings = TAppSettings();
        // The program's messages reach the Application's message box.
        MessageBoxHook = [](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            return Application->MessageBox(text, caption, flags);
        };
    }
    void TearDown() override
    {
        MessageBoxHook = nullptr;
        std::remove(TipsPath().c_str());
        ProgramDir = savedDir;
        AppSettings = TAppSettings();
        GuiTest::TearDown();
    }
    static std::string TipsPath() { return TestTempPath("tips.txt"); }

    AnsiString savedDir;
};

TEST_F(TipForm, ShowsTheNextTipWrapsAndEnablesHelpOnlyWithAContext)
{
    WriteTextFile(TipsPath(), "7,first\n0,second\n9,third\n");
    AppSettings.TODIndex = 3;
    TTipForm form(nullptr);
    EXPECT_STREQ("first", form.TipText->GetCaption().c_str());
    EXPECT_EQ(1, AppSettings.TODIndex);
    EXPECT_TRUE(form.HelpBtn->GetEnabled());
    form.HelpBtn->Click();
    ASSERT_EQ(1u, recorder->Helps.size());
    EXPECT_EQ(unsigned(HELP_CONTEXT), recorder->Helps[0].Command);
    EXPECT_EQ(7u, recorder->Helps[0].Data);

    form.NextTipBtn->Click();
    EXPECT_STREQ("second", form.TipText->GetCaption().c_str());
    EXPECT_FALSE(form.HelpBtn->GetEnabled());
    EXPECT_EQ(2, AppSettings.TODIndex);
    EXPECT_TRUE(recorder->Boxes.empty());
}

TEST_F(TipForm, MissingFileIsReportedOnlyFromTheMenuAndOpensNoEmptyDialog)
{
    RunTipOfTheDay(nullptr, true);  // the tip at start
    EXPECT_TRUE(recorder->Boxes.empty());
    RunTipOfTheDay(nullptr, false);  // Help > Tip of the Day
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ(Translate("NoTOD").c_str(), recorder->Boxes[0].Text.c_str());
    EXPECT_STREQ(Translate("Err").c_str(), recorder->Boxes[0].Caption.c_str());
    EXPECT_EQ(unsigned(MB_ICONWARNING), recorder->Boxes[0].Flags);
    EXPECT_EQ(nullptr, gui::OpenForm<TTipForm>());
}

TEST_F(TipForm, EscapeClosesAndTheCheckBoxIsStored)
{
    WriteTextFile(TipsPath(), "0," + std::string(2000, 'x') + "\n0,second\n");
    std::string shown;
    gui::WhenOpen<TTipForm>([&](TTipForm* f) {
        shown = f->TipText->GetCaption().c_str();
        f->ShowTipsCB->SetChecked(false);
        gui::PostKey(f->NextTipBtn, VK_ESCAPE);
        if (f->GetModalResult() == mrNone) {
            ADD_FAILURE() << "Escape left the dialog open";
            f->SetModalResult(mrCancel);
        }
    });
    RunTipOfTheDay(nullptr, true);
    EXPECT_EQ(std::string(1021, 'x'), shown);
    EXPECT_FALSE(AppSettings.ShowTOD);
    EXPECT_EQ(1, AppSettings.TODIndex);
    EXPECT_EQ(nullptr, gui::OpenForm<TTipForm>());
}

}  // namespace
