// TPrinter through an injected device that prints into a memory DC.
#include <gtest/gtest.h>
#include "bitmap.h"
#include "printer.h"

namespace {

struct Log {
    std::vector<AnsiString> calls;
    int copies = 0;
    TPrinterOrientation orientation = poPortrait;
};

class MemoryDevice : public TPrinterDevice {
public:
    MemoryDevice(Log* log, std::vector<AnsiString> names, int defaultIndex)
        : log_(log), names_(std::move(names)), default_(defaultIndex)
    {
        page_.SetPixelFormat(pf32bit);
        page_.SetSize(200, 100);
    }
    std::vector<AnsiString> GetPrinterNames() override { return names_; }
    int GetDefaultIndex() override { return default_; }
    HDC OpenDC(const AnsiString& name, int copies, TPrinterOrientation orientation) override
    {
        log_->calls.push_back("open " + name);
        log_->copies = copies;
        log_->orientation = orientation;
        HDC dc = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc, page_.GetHandle());
        return dc;
    }
    void CloseDC(HDC dc) override
    {
        SelectObject(dc, old_);
        DeleteDC(dc);
        log_->calls.push_back("close");
    }
    bool StartDocument(HDC, const AnsiString& title) override { return Record("doc " + title, true); }
    bool StartPage(HDC) override { return Record("page", failPage_ == 0 || --failPage_ != 0); }
    bool EndPage(HDC) override { return Record("endpage", true); }
    bool EndDocument(HDC) override { return Record("enddoc", true); }
    void AbortDocument(HDC) override { Record("abort", true); }
    SIZE GetPageSize(HDC) override { return SIZE{page_.GetWidth(), page_.GetHeight()}; }

    int failPage_ = 0;

private:
    bool Record(const AnsiString& call, bool result)
    {
        log_->calls.push_back(call);
        return result;
    }
    Log* log_;
    std::vector<AnsiString> names_;
    int default_;
    TBitmap page_;
    HGDIOBJ old_ = nullptr;
};

}  // namespace

TEST(Printer, PrintsPagesIntoTheInjectedDevice)
{
    Log log;
    TPrinter printer(std::unique_ptr<TPrinterDevice>(new MemoryDevice(&log, {"Alpha", "Beta"}, 1)));
    EXPECT_TRUE(printer.HasPrinter());
    EXPECT_EQ(printer.GetPrinters()->GetCount(), 2);
    EXPECT_EQ(printer.GetPrinterIndex(), 1);
    printer.SetCopies(3);
    printer.SetOrientation(poLandscape);
    printer.SetTitle("Picture");
    EXPECT_EQ(printer.GetPageWidth(), 200);
    EXPECT_EQ(printer.GetPageHeight(), 100);
    printer.BeginDoc();
    EXPECT_TRUE(printer.GetPrinting());
    EXPECT_THROW(printer.SetCopies(1), EPrinter);
    printer.GetCanvas()->GetBrush()->SetColor(clRed);
    printer.GetCanvas()->FillRect(RECT{0, 0, 10, 10});
    EXPECT_EQ(printer.GetCanvas()->GetPixels(5, 5), clRed);
    printer.NewPage();
    EXPECT_EQ(printer.GetPageNumber(), 2);
    printer.GetCanvas()->FillRect(RECT{0, 0, 10, 10});  // the brush is reselected after the page break
    EXPECT_EQ(printer.GetCanvas()->GetPixels(5, 5), clRed);
    printer.EndDoc();
    EXPECT_FALSE(printer.GetPrinting());
    EXPECT_FALSE(printer.GetAborted());
    EXPECT_EQ(log.copies, 3);
    EXPECT_EQ(log.orientation, poLandscape);
    std::vector<AnsiString> expected = {"open Beta", "doc Picture", "page", "endpage", "page", "endpage", "enddoc", "close"};
    EXPECT_EQ(log.calls, expected);
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    EXPECT_THROW(printer.SetPrinterIndex(2), EPrinter);
}

TEST(Printer, AbortAndFailedPagesEndTheJob)
{
    Log log;
    auto* device = new MemoryDevice(&log, {"Alpha"}, 0);
    TPrinter printer{std::unique_ptr<TPrinterDevice>(device)};
    printer.BeginDoc();
    printer.Abort();
    EXPECT_TRUE(printer.GetAborted());
    EXPECT_FALSE(printer.GetPrinting());
    device->failPage_ = 2;  // the second page cannot start
    printer.BeginDoc();
    EXPECT_THROW(printer.NewPage(), EPrinter);
    EXPECT_FALSE(printer.GetPrinting());
    EXPECT_TRUE(printer.GetAborted());
}

TEST(Printer, NoPrinterRaisesAClearError)
{
    Log log;
    TPrinter printer(std::unique_ptr<TPrinterDevice>(new MemoryDevice(&log, {}, -1)));
    EXPECT_FALSE(printer.HasPrinter());
    EXPECT_EQ(printer.GetPrinterIndex(), -1);
    try {
        printer.BeginDoc();
        FAIL();
    } catch (const EPrinter& e) {
        EXPECT_STREQ(e.what(), "There is no default printer currently selected");
    }
    // A fresh Wine prefix has no printer: the system device agrees.
    TPrinter system;
    if (!system.HasPrinter()) {
        EXPECT_THROW(system.GetHandle(), EPrinter);
    }
}
