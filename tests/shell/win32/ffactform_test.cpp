// The filter factory in the started main window: the menu command, error
// markers, preview, Cancel and OK.
#include "mainwindow_fixture.h"

#include "ffactform.h"
#include "menus.h"
#include "messages.h"
#include "undo_entry.h"

namespace {

int UndoSteps(UDBuffer* pic)
{
    int n = 0;
    for (UndoEntry* e = pic->undoHead; e; e = e->next)
        ++n;
    return n;
}

class FilterFactory : public MainWindow {
protected:
    UDBuffer* pic = nullptr;

    void SetUp() override
    {
        MainWindow::SetUp();
        pic = CurrentPicture;
        ASSERT_NE(nullptr, pic);
        pic->Box(pic->GetRect(), 0x00102030);
        static_cast<TMenuItem*>(MainForm->FindComponent("FilterFactory1"))->Click();
        gui::PumpUntilIdle();
        ASSERT_NE(nullptr, FFactForm);
    }

    void SetFormulas(const char* r, const char* g, const char* b)
    {
        FFactForm->Channel[0]->SetText(r);
        FFactForm->Channel[1]->SetText(g);
        FFactForm->Channel[2]->SetText(b);
        FFactForm->ChChange(FFactForm->Channel[2]);  // as the memo's change event does
        gui::PumpUntilIdle();
    }
};

}  // namespace

TEST_F(FilterFactory, ErrorMarkerShowsAndSelectsTheFaultyToken)
{
    SetFormulas("r g", "g", "b + 1 +");
    EXPECT_TRUE(FFactForm->Syntax[0]->GetVisible());
    EXPECT_FALSE(FFactForm->Syntax[1]->GetVisible());
    EXPECT_TRUE(FFactForm->Syntax[2]->GetVisible());
    TLabel* marker = FFactForm->Syntax[0];
    LPARAM at = MAKELPARAM(marker->GetLeft() + 2, marker->GetTop() + 2);
    SendMessageA(FFactForm->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(FFactForm->GetHandle(), WM_LBUTTONUP, 0, at);
    gui::PumpUntilIdle();
    EXPECT_EQ(2, FFactForm->Channel[0]->GetSelStart());
    EXPECT_EQ(1, FFactForm->Channel[0]->GetSelLength());
    FFactForm->CancelBtnClick(nullptr);
}

TEST_F(FilterFactory, PreviewTwiceRunsOnceAndOkMakesOneUndoStep)
{
    SetFormulas("255 - r", "g", "b / 2");
    int before = UndoSteps(pic);
    FFactForm->PreviewBtnClick(nullptr);
    FFactForm->PreviewBtnClick(nullptr);
    EXPECT_EQ(1, FFactForm->runs);
    EXPECT_EQ(0x00EF2018u, *pic->At(0, 0) & 0x00FFFFFF);
    EXPECT_EQ(before, UndoSteps(pic));
    unsigned long modified = pic->modified;
    FFactForm->OkBtnClick(nullptr);
    gui::PumpUntilIdle();
    EXPECT_EQ(nullptr, FFactForm);
    EXPECT_EQ(before + 1, UndoSteps(pic));
    EXPECT_EQ(modified + 1, pic->modified);
    EXPECT_EQ(0x00EF2018u, *pic->At(1, 1) & 0x00FFFFFF);
    ASSERT_TRUE(UDBuffer::Undo(pic, false));
    EXPECT_EQ(0x00102030u, *pic->At(1, 1) & 0x00FFFFFF);
}

TEST_F(FilterFactory, CancelRestoresThePicture)
{
    SetFormulas("0", "0", "0");
    int before = UndoSteps(pic);
    FFactForm->PreviewBtnClick(nullptr);
    EXPECT_EQ(0u, *pic->At(0, 0) & 0x00FFFFFF);
    FFactForm->CancelBtnClick(nullptr);
    gui::PumpUntilIdle();
    EXPECT_EQ(nullptr, FFactForm);
    EXPECT_EQ(0x00102030u, *pic->At(0, 0) & 0x00FFFFFF);
    EXPECT_EQ(before, UndoSteps(pic));
}

TEST_F(FilterFactory, AStoppedPreviewRunsAgain)
{
    SetFormulas("255 - r", "g", "b");
    // The click waits in the queue until the run's first row lets messages through.
    PostMessageA(FFactForm->PreviewBtn->GetHandle(), BM_CLICK, 0, 0);
    FFactForm->PreviewBtnClick(nullptr);
    EXPECT_FALSE(FFactForm->running);
    EXPECT_EQ(0, FF_filter.previewUpToDate);
    FFactForm->PreviewBtnClick(nullptr);
    EXPECT_EQ(2, FFactForm->runs);
    EXPECT_EQ(1, FF_filter.previewUpToDate);
    int h = pic->Height();
    EXPECT_EQ(0x00EF2030u, *pic->At(0, h - 1) & 0x00FFFFFF);
    FFactForm->CancelBtnClick(nullptr);
}

TEST_F(FilterFactory, FormulaFilesLoadAndBadFilesAreReported)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    const std::string good = std::string(dir) + "ffact_good.afs", bad = std::string(dir) + "ffact_bad.afs";
    std::string chosen;
    TCommonDialog::ExecuteHook = [&](TCommonDialog* d) {
        static_cast<TOpenDialog*>(d)->SetFileName(chosen.c_str());
        return true;
    };
    std::vector<std::string> shown;
    MessageBoxHook = [&](const AnsiString& text, const AnsiString&, unsigned) {
        shown.push_back(text.c_str());
        return IDOK;
    };
    SetFormulas("255-r", "g", "b");
    chosen = good;
    FFactForm->SaveBtnClick(nullptr);
    FILE* f = std::fopen(bad.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fputs("%RGB-1.0\r5\r7x\r", f);
    std::fclose(f);

    const struct {
        std::string file;
        const char* message;  // null: none
        const char* red;  // the red memo after loading
    } cases[] = {
        {good, nullptr, "255-r"},
        {bad, "NotValidFF", "r"},  // the memo keeps its text
        {std::string(dir) + "ffact_missing.afs", "CantOpenFilter", "r"},
    };
    for (const auto& c : cases) {
        shown.clear();
        FFactForm->Channel[0]->SetText("r");
        chosen = c.file;
        FFactForm->LoadBtnClick(nullptr);
        EXPECT_EQ(c.message ? std::vector<std::string>{Translate(c.message).c_str()} : std::vector<std::string>{},
                  shown) << c.file;
        EXPECT_STREQ(c.red, FFactForm->Channel[0]->GetText().c_str()) << c.file;
    }
    EXPECT_EQ(5, FilterFactorySet().ctl[0]);
    EXPECT_EQ(7, FilterFactorySet().ctl[1]);

    shown.clear();
    chosen = std::string(dir) + "ffact.ksc";
    FFactForm->MakeBtnClick(nullptr);  // no template beside this program
    EXPECT_EQ(std::vector<std::string>{Translate("CantSaveComp").c_str()}, shown);
    TCommonDialog::ExecuteHook = nullptr;
    MessageBoxHook = nullptr;
    DeleteFileA(good.c_str());
    DeleteFileA(bad.c_str());
    FFactForm->CancelBtnClick(nullptr);
}

namespace {

const UINT SelectDefaultToolMessage = WM_APP + 77;

// Selects the default tool when the marker message is taken from the queue,
// that is inside the message processing of a running preview.
LRESULT CALLBACK SelectDefaultToolHook(int code, WPARAM w, LPARAM l)
{
    MSG* msg = reinterpret_cast<MSG*>(l);
    if (code == HC_ACTION && w == PM_REMOVE && msg->message == SelectDefaultToolMessage) {
        msg->message = WM_NULL;
        SelectDefaultTool(true);
    }
    return CallNextHookEx(nullptr, code, w, l);
}

}  // namespace

TEST_F(FilterFactory, EscapeStopsARunAndAnotherToolEndsOneSafely)
{
    SetFormulas("0", "0", "0");
    FFactForm->Channel[0]->SetFocus();
    gui::PumpUntilIdle();
    PostMessageA(FFactForm->Channel[0]->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
    FFactForm->PreviewBtnClick(nullptr);
    ASSERT_NE(nullptr, FFactForm);
    EXPECT_EQ(0, FF_filter.previewUpToDate);

    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, SelectDefaultToolHook, nullptr, GetCurrentThreadId());
    PostMessageA(FFactForm->GetHandle(), SelectDefaultToolMessage, 0, 0);
    FFactForm->PreviewBtnClick(nullptr);
    UnhookWindowsHookEx(hook);
    gui::PumpUntilIdle();
    EXPECT_EQ(nullptr, FFactForm);
    EXPECT_EQ(0x00102030u, *pic->At(0, pic->Height() - 1) & 0x00FFFFFF);
    EXPECT_TRUE(IsWindowEnabled(MainForm->GetHandle()));
}
