// File > Print: no printer, the picture after printing or cancelling, and
// (with the test printer of tools/run-tests) the page as it comes out, which
// print_crosscheck.py renders and checks.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../../components/win32/fake_printer.h"
#include "../../gui/win32/timed_step.h"
#include "../textfile_fixture.h"
#include "mainwindow_fixture.h"
#include "messages.h"
#include "print_layout.h"
#include "printform.h"
#include "toolbox_tools.h"
#include "toolmanager.h"

namespace {

const int PicWidth = 100, PicHeight = 50;

// A 24-bit bottom-up BMP of the given size, all white.
void WriteWhiteBmp(const std::string& path, int w, int h)
{
    int row = (w * 3 + 3) & ~3;
    int size = 54 + row * h;
    unsigned char header[54] = {'B', 'M'};
    auto put32 = [&](int at, int v) {
        for (int i = 0; i < 4; i++) header[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put32(2, size);
    put32(10, 54);
    put32(14, 40);
    put32(18, w);
    put32(22, h);
    header[26] = 1;
    header[28] = 24;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    std::vector<char> pixels(size_t(row) * h, char(255));
    out.write(pixels.data(), std::streamsize(pixels.size()));
}

struct Box {
    std::string text, caption;
    unsigned flags;
};

class PrintCommand : public MainWindow {
protected:
    std::vector<std::string> Arguments() override
    {
        std::string path = TestTempPath("print100x50.bmp");
        WriteWhiteBmp(path, PicWidth, PicHeight);
        return {path};
    }
    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        ASSERT_NE(nullptr, CurrentPicture);
        ASSERT_EQ(PicWidth, CurrentPicture->Width());
        HideOutline();
        PaintPattern();
        MessageBoxHook = [this](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            boxes.push_back(Box{text.c_str(), caption.c_str(), flags});
            return 1;
        };
    }
    void TearDown() override
    {
        MessageBoxHook = nullptr;
        MainWindow::TearDown();
    }
    // Left half red, right half blue; flag bytes on some rows: selection
    // marks and key bits that printing must leave alone.
    void PaintPattern()
    {
        for (int y = 0; y < PicHeight; y++)
            for (int x = 0; x < PicWidth; x++) {
                unsigned long pixel = x < PicWidth / 2 ? 0xFF0000 : 0x0000FF;
                if (y >= 10 && y < 20) pixel |= 0x04000000;
                if (x % 7 == 0) pixel |= 0x01000000;
                *CurrentPicture->At(CurrentPicture->left + x, CurrentPicture->top + y) = pixel;
            }
    }
    // Read without the tool's outline, which is drawn into the picture
    // whenever the window shows it.
    std::vector<unsigned long> Pixels()
    {
        HideOutline();
        std::vector<unsigned long> all;
        for (int y = 0; y < PicHeight; y++) {
            const unsigned long* row = CurrentPicture->At(CurrentPicture->left, CurrentPicture->top + y);
            all.insert(all.end(), row, row + PicWidth);
        }
        return all;
    }

    std::vector<Box> boxes;
};

TEST_F(PrintCommand, WithoutAPrinterSaysSoAndOpensNoDialog)
{
    FakePrinterInstalled none(std::vector<AnsiString>{});
    MainForm->Print1Click(nullptr);
    MainForm->PrinterSetup1Click(nullptr);
    ASSERT_EQ(2u, boxes.size());
    for (const Box& box : boxes) {
        EXPECT_EQ(Translate("NoPrinter").c_str(), box.text);
        EXPECT_EQ(Translate("Err").c_str(), box.caption);
        EXPECT_EQ(unsigned(MsgIconWarning), box.flags);
    }
    EXPECT_EQ(nullptr, gui::OpenForm<TPrintForm>());
}

TEST_F(PrintCommand, ThePictureIsUnchangedAfterPrintingOrCancelling)
{
    enum Way { Print, Cancel, PrintFails };
    for (Way way : {Print, Cancel, PrintFails}) {
        FakePrinterInstalled fake;
        fake.Device()->failDocument = way == PrintFails;
        boxes.clear();
        std::vector<unsigned long> before = Pixels();
        std::string caption;
        gui::WhenOpen<TPrintForm>([&](TPrintForm* f) {
            caption = f->GetCaption().c_str();
            (way == Cancel ? f->CancelBtn : f->PrintBtn)->Click();
        });
        // A one-shot tool: printing is no reason to put the previous one back.
        SelectTool(&ToolBoxTools().getCol, true, -1);
        MainForm->Print1Click(nullptr);
        EXPECT_EQ(&ToolBoxTools().getCol, CurrentTool) << way;
        EXPECT_EQ((Translate("PrintImg") + " Fake").c_str(), caption);
        EXPECT_TRUE(before == Pixels()) << way;
        EXPECT_EQ(way == Print ? 1 : 0, std::count(fake.log.calls.begin(), fake.log.calls.end(), "enddoc")) << way;
        // A print that failed says so.
        ASSERT_EQ(way == PrintFails ? 1u : 0u, boxes.size()) << way;
        if (way == PrintFails) {
            EXPECT_EQ(Translate("ErrPrn").c_str(), boxes[0].text);
        }
    }
}

// Prints the pattern on the system's default printer (the test printer)
// and writes where it must appear on the sheet, in dots: "x y width height
// dpi", for print_crosscheck.py.
class PrintOnPrinter : public PrintCommand {
protected:
    void PrintAndExport(bool fit)
    {
        const char* out = std::getenv("KESTREL_PRINT_EXPORT");
        if (!out) GTEST_SKIP() << "KESTREL_PRINT_EXPORT not set";
        ASSERT_TRUE(Printer()->HasPrinter()) << "no printer: is CUPS_SERVER set?";
        std::vector<unsigned long> before = Pixels();
        std::string expected;
        gui::WhenOpen<TPrintForm>([&](TPrintForm* f) {
            f->Header->SetText("KestrelHeader");
            f->Footer->SetText("KestrelFooter &p");
            f->Stretch2Fit->SetChecked(fit);
            f->Stretch2FitClick(f);
            TPagePrinter* pp = f->PagePrinter1;
            PrintPlacement p = PlacePicture(pp->UsableWidth(), pp->UsableHeight(), PicWidth, PicHeight, fit, 100,
                                            hpCenter, vpCenter);
            int left = Printer()->GetDeviceCaps(PHYSICALOFFSETX) + pp->MarginLeftPixels() + p.x;
            int top = Printer()->GetDeviceCaps(PHYSICALOFFSETY) + pp->MarginTopPixels() + p.y;
            expected = std::to_string(left) + " " + std::to_string(top) + " " + std::to_string(p.width) + " " +
                       std::to_string(p.height) + " " + std::to_string(Printer()->GetDeviceCaps(LOGPIXELSX));
            f->PrintBtn->Click();
        });
        MainForm->Print1Click(nullptr);
        EXPECT_TRUE(before == Pixels());
        EXPECT_TRUE(boxes.empty()) << boxes[0].text;
        std::ofstream(std::string(out) + "\\expected.txt") << expected << "\n";
    }
};

TEST_F(PrintOnPrinter, AtOneHundredPercent)
{
    PrintAndExport(false);
}

TEST_F(PrintOnPrinter, FittedToThePage)
{
    PrintAndExport(true);
}

}  // namespace
