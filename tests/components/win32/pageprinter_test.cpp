// The page printer on a fake 300-dpi printer: lengths, the header row,
// the order pages print in, misuse while recording, text to a file and a
// cancelled print.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../../gui/win32/gui_fixture.h"
#include "../../gui/win32/timed_step.h"
#include "fake_printer.h"
#include "pageprinter.h"
#include "pageprinter_progress.h"
#include "screen.h"

namespace {

std::string TestTempPath(const std::string& name)
{
    return ::testing::TempDir() + name;
}

class PagePrinterTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        fake.reset(new FakePrinterInstalled);
        pp = new TPagePrinter(nullptr);
    }
    void TearDown() override
    {
        delete pp;
        fake.reset();
        GuiTest::TearDown();
    }
    // pages documents pages, each marked as its number.
    void Record(int pages)
    {
        pp->BeginDoc();
        for (int page = 1; page <= pages; page++) {
            if (page > 1) pp->NewPage();
            TCanvas* c = pp->GetCanvas();
            c->GetBrush()->SetStyle(bsSolid);
            c->GetBrush()->SetColor(PageMark(page));
            c->FillRect(RECT{0, 0, 20, 20});
        }
        pp->EndDoc();
    }
    std::vector<std::string> Calls(const char* name)
    {
        std::vector<std::string> out;
        for (const std::string& c : fake->log.calls)
            if (c.compare(0, std::strlen(name), name) == 0) out.push_back(c);
        return out;
    }
    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::unique_ptr<FakePrinterInstalled> fake;
    TPagePrinter* pp = nullptr;
};

TEST_F(PagePrinterTest, MarginsFollowThePrinterAndTheUnit)
{
    pp->SetMeasureUnit(muMillimeters);
    pp->SetMarginTop(0);  // below the printer's 59-pixel offset
    EXPECT_NEAR(59 / 300.0 * 25.4, pp->GetMarginTop(), 1e-6);
    pp->SetMeasureUnit(muInches);
    pp->SetMarginLeft(1);
    pp->SetDefaultColWidth(2);
    pp->SetTableFormat("<1|>0.5");
    pp->SetMeasureUnit(muMillimeters);
    EXPECT_NEAR(25.4, pp->GetMarginLeft(), 1e-9);
    EXPECT_NEAR(50.8, pp->GetDefaultColWidth(), 1e-9);
    EXPECT_STREQ("<25.4|>12.7", pp->GetTableFormat().c_str());
}

TEST_F(PagePrinterTest, FriendlyHeaderSharesThePageAndPrintsThePageNumber)
{
    pp->SetMarginLeft(1);
    pp->SetMarginRight(1);
    pp->SetFriendlyHeader("&lL&cC&r&p");
    EXPECT_STREQ("L|C|{$PAGE}", pp->GetHeader().c_str());
    EXPECT_STREQ("<2.17|^2.17|>2.17", pp->GetHeaderFormat().c_str());

    std::string path = TestTempPath("header.txt");
    pp->SetPrintToFile(true);
    pp->SetFileName(("  " + path + "\t").c_str());
    EXPECT_STREQ(path.c_str(), pp->GetFileName().c_str());
    pp->BeginDoc();
    pp->NewPage();
    pp->EndDoc();
    std::string text = ReadFile(path);
    std::remove(path.c_str());
    size_t feed = text.find("\f\r\n");
    ASSERT_NE(std::string::npos, feed) << text;
    std::string first = text.substr(0, feed), second = text.substr(feed + 3);
    // Left, centre, right: the page number ends the line.
    EXPECT_LT(first.find('L'), first.find('C'));
    EXPECT_EQ('1', first[first.find_last_not_of(" \r\n")]) << first;
    EXPECT_EQ('2', second[second.find_last_not_of(" \r\n")]) << second;
}

TEST_F(PagePrinterTest, ColumnsWithoutWidthStillEndTheRow)
{
    // The default column width is 0: each line takes one character.
    std::string path = TestTempPath("narrow.txt");
    pp->SetPrintToFile(true);
    pp->SetFileName(path.c_str());
    pp->SetHeader("abc");
    pp->SetHeaderFormat("<");
    pp->BeginDoc();
    pp->EndDoc();
    std::string text = ReadFile(path);
    std::remove(path.c_str());
    EXPECT_EQ("a\r\nb\r\nc\r\n", text);  // a Windows text file
}

TEST_F(PagePrinterTest, TextFileErrorsRaiseAndLeaveTheOldFile)
{
    pp->SetPrintToFile(true);
    pp->SetFileName(TestTempPath("no such folder\\out.txt").c_str());
    EXPECT_THROW(pp->BeginDoc(), EPagePrinter);
    EXPECT_FALSE(pp->GetPrinting());

    // A document that never ends leaves the file it would replace alone.
    std::string path = TestTempPath("kept.txt");
    std::ofstream(path) << "old";
    pp->SetFileName(path.c_str());
    pp->SetHeader("new");
    pp->BeginDoc();
    delete pp;
    pp = nullptr;
    EXPECT_EQ("old", ReadFile(path));
    EXPECT_FALSE(std::ifstream(path + ".part").good());
    std::remove(path.c_str());
}

TEST_F(PagePrinterTest, CopiesCollationAndRangeDecideThePageOrder)
{
    struct Case {
        int copies;
        bool collate;
        int from, to;
        std::vector<int> shown;
    } cases[] = {
        {2, true, 0, 0, {1, 2, 3, 1, 2, 3}},
        {2, false, 0, 0, {1, 1, 2, 2, 3, 3}},
        {1, true, 2, 9, {2, 3}},
    };
    for (const Case& c : cases) {
        fake->log = FakePrinter::Log();
        pp->SetShowProgress(false);
        pp->SetCopies(c.copies);
        pp->SetCollate(c.collate);
        pp->SetFromPage(c.from);
        pp->SetToPage(c.to);
        Record(3);
        EXPECT_TRUE(pp->Print());
        EXPECT_EQ(c.shown, fake->log.shown) << c.copies << " copies, collate " << c.collate;
        EXPECT_EQ(c.shown.size(), Calls("page").size());  // the first page and one per NewPage
        EXPECT_EQ(1u, Calls("enddoc").size());
    }
}

TEST_F(PagePrinterTest, MisuseRaisesAndChangesNothing)
{
    Record(3);
    try {
        pp->SetPageNumber(5);
        ADD_FAILURE() << "no exception";
    } catch (const EPagePrinter& e) {
        EXPECT_STREQ("PageNumber must be between 1 and 3", e.Message.c_str());
    }
    EXPECT_EQ(1, pp->GetPageNumber());

    double top = pp->GetMarginTop();
    pp->BeginDoc();
    struct Case {
        const char* message;
        std::function<void()> change;
    } cases[] = {
        {"Unable to change top margin while printing", [&] { pp->SetMarginTop(2); }},
        {"Unable to change bottom margin while printing", [&] { pp->SetMarginBottom(2); }},
        {"Unable to change left margin while printing", [&] { pp->SetMarginLeft(2); }},
        {"Unable to change right margin while printing", [&] { pp->SetMarginRight(2); }},
        {"Unable to change orientation while printing", [&] { pp->SetOrientation(poLandscape); }},
        {"Can't change PrintToFile while printing", [&] { pp->SetPrintToFile(true); }},
        {"Can't change FileName while printing", [&] { pp->SetFileName("x.txt"); }},
        {"Can't clear contents while printing", [&] { pp->Clear(); }},
        // The margins would have to follow the unit.
        {"Unable to change top margin while printing", [&] { pp->SetMeasureUnit(muMillimeters); }},
    };
    for (const Case& c : cases) {
        try {
            c.change();
            ADD_FAILURE() << "no exception for: " << c.message;
        } catch (const EPagePrinter& e) {
            EXPECT_STREQ(c.message, e.Message.c_str());
        }
    }
    EXPECT_EQ(top, pp->GetMarginTop());
    EXPECT_EQ(muInches, pp->GetMeasureUnit());
    EXPECT_EQ(poPortrait, pp->GetOrientation());
    EXPECT_FALSE(pp->GetPrintToFile());
    EXPECT_EQ(1, pp->GetPageCount());
    pp->EndDoc();
}

TEST_F(PagePrinterTest, CancelInTheProgressDialogStopsTheJob)
{
    for (bool abortOnCancel : {true, false}) {
        fake->log = FakePrinter::Log();
        Printer()->SetCopies(3);
        pp->SetCopies(1);
        pp->SetAbortOnCancel(abortOnCancel);
        Record(3);
        bool sawDialog = false;
        fake->Device()->onEndPage = [&] {
            TPPPrnPrgDlg* dialog = pp->GetProgressDialog();
            sawDialog = dialog && dialog->GetVisible();
            if (dialog) dialog->btnCancel->Click();
        };
        EXPECT_FALSE(pp->Print());
        fake->Device()->onEndPage = nullptr;
        EXPECT_TRUE(sawDialog);
        EXPECT_EQ(std::vector<int>{1}, fake->log.shown);
        EXPECT_EQ(abortOnCancel ? 1u : 0u, Calls("abort").size());
        EXPECT_EQ(abortOnCancel ? 0u : 1u, Calls("enddoc").size());
        EXPECT_EQ(nullptr, pp->GetProgressDialog());
        EXPECT_EQ(nullptr, gui::OpenForm<TPPPrnPrgDlg>());
        EXPECT_EQ(3, Printer()->GetCopies());
    }
}

TEST_F(PagePrinterTest, ScrollRangesHoldTheSheetAndItsShadow)
{
    TForm* form = new TForm(app.get());
    form->SetBounds(0, 0, 300, 300);
    pp->SetBounds(0, 0, 200, 200);
    pp->SetParent(form);
    pp->SetZoomPercent(40);
    pp->SetZoomLocation(zlCenter);
    form->ShowNoActivate();
    gui::PumpUntilIdle();
    int ppi = Screen->GetPixelsPerInch();
    int sheetW = static_cast<int>(std::lround(2550 / 300.0 * ppi * 0.4));
    int sheetH = static_cast<int>(std::lround(3300 / 300.0 * ppi * 0.4));
    TControlScrollBar* h = pp->GetHorzScrollBar();
    TControlScrollBar* v = pp->GetVertScrollBar();
    EXPECT_EQ(sheetW + 12, h->GetRange());
    EXPECT_EQ(sheetH + 12, v->GetRange());
    EXPECT_EQ((h->GetRange() - pp->GetClientWidth()) / 2, h->GetPosition());
    EXPECT_EQ((v->GetRange() - pp->GetClientHeight()) / 2, v->GetPosition());
    pp->SetParent(nullptr);
    delete form;
}

TEST_F(PagePrinterTest, PreviewShowsTheSheetWithItsShadowOnTheGradient)
{
    TForm* form = new TForm(app.get());
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 300, 300);
    pp->SetBounds(0, 0, 200, 200);
    pp->SetBorderStyle(bsNone);
    pp->SetColor(static_cast<TColor>(RGB(0, 128, 255)));
    pp->SetShadowColor(static_cast<TColor>(RGB(255, 0, 0)));
    pp->SetShowMargins(true);
    pp->SetParent(form);
    pp->SetZoomPercent(10);
    form->ShowNoActivate();
    form->Update();
    gui::PumpUntilIdle();
    gui::TPixels px = gui::ReadPixels(pp->GetHandle());
    ASSERT_EQ(200, px.Width);
    auto at = [&](int x, int y) { return px.Data[size_t(y) * px.Width + x]; };
    int ppi = Screen->GetPixelsPerInch();
    int w = static_cast<int>(std::lround(8.5 * ppi * 0.1)), h = static_cast<int>(std::lround(11 * ppi * 0.1));
    int left = (200 - w) / 2, top = (200 - h) / 2;
    EXPECT_EQ(0x000000u, at(3, 0));                     // the gradient starts black
    EXPECT_EQ(0x0080FFu, at(3, 199));                   // and ends in the colour
    EXPECT_EQ(0x000000u, at(left, top + h / 2));        // the sheet's frame
    EXPECT_EQ(0xFFFFFFu, at(left + w / 2, top + h / 2));  // the sheet
    EXPECT_EQ(0xFF0000u, at(left + w + 2, top + h / 2));  // the shadow on the right
    EXPECT_EQ(0xFF0000u, at(left + w / 2, top + h + 2));  // and below
    // The margins, dotted in silver, a margin's width inside the frame.
    int margin = static_cast<int>(std::lround(59 / 300.0 * ppi * 0.1));
    int silver = 0;
    for (int x = left + 2; x < left + w - 2; x++) silver += at(x, top + margin) == 0xC0C0C0u;
    EXPECT_GT(silver, 5);
    pp->SetParent(nullptr);
    delete form;
}

}  // namespace
