// Common dialogs through the test seam, and the message dialogs through the
// Application's recorder: nothing here waits for a user.
#include <string>
#include <vector>

#include "dialogs.h"
#include "gui_fixture.h"
#include "printer.h"

namespace {

class DialogSeam : public GuiTest {
protected:
    void TearDown() override
    {
        TCommonDialog::ExecuteHook = nullptr;
        GuiTest::TearDown();
    }
};

}  // namespace

TEST_F(DialogSeam, TheHookReplacesTheOpenDialogAndSeesItsSettings)
{
    TOpenDialog dialog(nullptr);
    dialog.SetFilter("Pictures|*.bmp;*.pcx|All|*.*");
    dialog.SetTitle("Open picture");
    dialog.SetFilterIndex(2);
    std::vector<std::string> events;
    dialog.OnShow = [&](TObject*) { events.push_back("show"); };
    dialog.OnClose = [&](TObject*) { events.push_back("close"); };
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        events.push_back("hook");
        auto* open = dynamic_cast<TOpenDialog*>(d);
        EXPECT_EQ(&dialog, open);
        EXPECT_STREQ("Open picture", open->GetTitle().c_str());
        EXPECT_EQ(2, open->GetFilterIndex());
        open->SetFileName("C:\\pictures\\cat.bmp");
        return true;
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_STREQ("C:\\pictures\\cat.bmp", dialog.GetFileName().c_str());
    EXPECT_EQ((std::vector<std::string>{"show", "hook", "close"}), events);

    TCommonDialog::ExecuteHook = [](TCommonDialog*) { return false; };
    EXPECT_FALSE(dialog.Execute());
}

TEST_F(DialogSeam, AnExceptionFromTheHookStillClosesTheDialog)
{
    TSaveDialog dialog(nullptr);
    bool closed = false;
    dialog.OnClose = [&](TObject*) { closed = true; };
    TCommonDialog::ExecuteHook = [](TCommonDialog*) -> bool { throw EAbort(); };
    EXPECT_THROW(dialog.Execute(), EAbort);
    EXPECT_TRUE(closed);
}

TEST_F(DialogSeam, ColourFontAndPrintDialogsUseTheHookToo)
{
    TCommonDialog::ExecuteHook = [](TCommonDialog* d) {
        if (auto* c = dynamic_cast<TColorDialog*>(d)) c->SetColor(0x123456);
        if (auto* f = dynamic_cast<TFontDialog*>(d)) f->GetFont()->SetName("Courier New");
        if (auto* p = dynamic_cast<TPrintDialog*>(d)) p->SetCopies(3);
        return true;
    };
    TColorDialog color(nullptr);
    EXPECT_TRUE(color.Execute());
    EXPECT_EQ(0x123456, color.GetColor());
    TFontDialog font(nullptr);
    EXPECT_TRUE(font.Execute());
    EXPECT_STREQ("Courier New", font.GetFont()->GetName().c_str());
    // Even with no printer installed: scripted runs must get past it.
    TPrintDialog print(nullptr);
    EXPECT_TRUE(print.Execute());
    EXPECT_EQ(3, print.GetCopies());
    TPrinterSetupDialog setup(nullptr);
    EXPECT_TRUE(setup.Execute());
}

TEST_F(DialogSeam, PrintDialogsWithoutAPrinterFailCleanly)
{
    if (Printer()->HasPrinter()) GTEST_SKIP() << "a printer is installed";
    int windows = gui::LiveTopLevelWindows();
    TPrintDialog print(nullptr);
    TPrinterSetupDialog setup(nullptr);
    bool shown = false;
    print.OnShow = setup.OnShow = [&](TObject*) { shown = true; };
    try {
        print.Execute();
        ADD_FAILURE() << "no EPrinter";
    } catch (const EPrinter& e) {
        EXPECT_STREQ("There is no default printer currently selected", e.Message.c_str());
    }
    EXPECT_THROW(setup.Execute(), EPrinter);
    EXPECT_FALSE(shown);
    EXPECT_EQ(windows, gui::LiveTopLevelWindows());
}

TEST_F(DialogSeam, ShowMessageAndMessageDlgGoThroughTheApplication)
{
    ShowMessage("Saved.");
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_STREQ("Saved.", recorder->Boxes[0].Text.c_str());
    EXPECT_STREQ("Kestrel test", recorder->Boxes[0].Caption.c_str());
    EXPECT_EQ(UINT(MB_OK), recorder->Boxes[0].Flags);

    recorder->Reply = IDNO;
    EXPECT_EQ(mrNo, MessageDlg("Save changes?", mtConfirmation, mbYesNoCancel, 0));
    EXPECT_STREQ("Confirm", recorder->Boxes[1].Caption.c_str());
    EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONQUESTION), recorder->Boxes[1].Flags);

    recorder->Reply = IDOK;
    EXPECT_EQ(mrOk, MessageDlg("Disk full", mtError, mbOK | mbHelp, 12));
    EXPECT_STREQ("Error", recorder->Boxes[2].Caption.c_str());
    EXPECT_EQ(UINT(MB_OK | MB_ICONERROR | MB_HELP), recorder->Boxes[2].Flags);

    MessageDlg("Custom", mtCustom, mbOK, 0);
    EXPECT_STREQ("Kestrel test", recorder->Boxes[3].Caption.c_str());
    EXPECT_EQ(UINT(MB_OK), recorder->Boxes[3].Flags);
}

TEST(MessageDlgFlags, ButtonsMapToTheNearestMessageBox)
{
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONWARNING), MessageDlgFlags(mtWarning, mbYes | mbNo));
    EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONWARNING), MessageDlgFlags(mtWarning, mbYes | mbNo | mbCancel | mbYesToAll));
    EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONINFORMATION), MessageDlgFlags(mtInformation, mbOKCancel));
    EXPECT_EQ(UINT(MB_ABORTRETRYIGNORE), MessageDlgFlags(mtCustom, mbAbortRetryIgnore));
    EXPECT_EQ(UINT(MB_RETRYCANCEL), MessageDlgFlags(mtCustom, mbRetry | mbCancel));
    EXPECT_EQ(UINT(MB_OK), MessageDlgFlags(mtCustom, 0));
    EXPECT_EQ(UINT(MB_OK), MessageDlgFlags(TMsgDlgType(99), mbOK)) << "an unknown type is custom";
}
