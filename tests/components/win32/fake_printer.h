// A printer for tests: 300 dpi, a letter sheet with chosen physical
// offsets, printing into a small memory bitmap. It logs the document calls
// and, at each page end, which recorded page was played: a test page marks
// itself by filling the square at the printable origin with PageMark(n).
#ifndef TESTS_COMPONENTS_FAKE_PRINTER_H
#define TESTS_COMPONENTS_FAKE_PRINTER_H

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bitmap.h"
#include "printer.h"

inline TColor PageMark(int page)
{
    return static_cast<TColor>(RGB(page * 20, 0, 0));
}

class FakePrinter : public TPrinterDevice {
public:
    struct Log {
        std::vector<std::string> calls;  // "doc", "page", "show N", "blank", "enddoc", "abort"
        std::vector<int> shown;          // the pages played, in order
    };

    // names empty: the machine has no printer.
    FakePrinter(Log* log, std::vector<AnsiString> names, int offsetX = 50, int offsetY = 59)
        : log_(log), names_(std::move(names)), offsetX_(offsetX), offsetY_(offsetY)
    {
        page_.SetPixelFormat(pf32bit);
        page_.SetSize(40, 40);
    }
    std::vector<AnsiString> GetPrinterNames() override { return names_; }
    int GetDefaultIndex() override { return names_.empty() ? -1 : 0; }
    HDC OpenDC(const AnsiString&, int, TPrinterOrientation orientation) override
    {
        orientation_ = orientation;
        HDC dc = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc, page_.GetHandle());
        Blank(dc);
        return dc;
    }
    void CloseDC(HDC dc) override
    {
        SelectObject(dc, old_);
        DeleteDC(dc);
    }
    bool StartDocument(HDC, const AnsiString&) override { return Record("doc") && !failDocument; }
    bool StartPage(HDC) override { return Record("page"); }
    bool EndPage(HDC dc) override
    {
        GdiFlush();
        COLORREF mark = GetPixel(dc, 5, 5);
        if (mark == RGB(255, 255, 255)) {
            Record("blank");
        } else {
            int shown = GetRValue(mark) / 20;
            log_->shown.push_back(shown);
            Record("show " + std::to_string(shown));
        }
        Blank(dc);
        if (onEndPage) onEndPage();
        return true;
    }
    bool EndDocument(HDC) override { return Record("enddoc"); }
    void AbortDocument(HDC) override { Record("abort"); }
    int GetCaps(HDC dc, int index) override
    {
        bool landscape = orientation_ == poLandscape;
        switch (index) {
        case LOGPIXELSX:
        case LOGPIXELSY: return 300;
        case PHYSICALWIDTH: return landscape ? 3300 : 2550;
        case PHYSICALHEIGHT: return landscape ? 2550 : 3300;
        case PHYSICALOFFSETX: return offsetX_;
        case PHYSICALOFFSETY: return offsetY_;
        case RASTERCAPS: return RC_STRETCHDIB | RC_BITBLT;
        default: return ::GetDeviceCaps(dc, index);
        }
    }

    // Runs after each page end (a test's way in while Print runs).
    std::function<void()> onEndPage;
    // The spooler refuses the job.
    bool failDocument = false;

private:
    bool Record(const std::string& call)
    {
        log_->calls.push_back(call);
        return true;
    }
    void Blank(HDC dc)
    {
        RECT r{0, 0, page_.GetWidth(), page_.GetHeight()};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }

    Log* log_;
    std::vector<AnsiString> names_;
    int offsetX_, offsetY_;
    TPrinterOrientation orientation_ = poPortrait;
    TBitmap page_;
    HGDIOBJ old_ = nullptr;
};

// Printer() prints on a fake for the life of this object.
class FakePrinterInstalled {
public:
    explicit FakePrinterInstalled(std::vector<AnsiString> names = {"Fake"}) : device_(new FakePrinter(&log, names))
    {
        Printer()->SetDevice(std::unique_ptr<TPrinterDevice>(device_));
    }
    ~FakePrinterInstalled() { Printer()->SetDevice(NewSystemPrinterDevice()); }
    FakePrinterInstalled(const FakePrinterInstalled&) = delete;
    FakePrinterInstalled& operator=(const FakePrinterInstalled&) = delete;
    FakePrinter* Device() { return device_; }

    FakePrinter::Log log;

private:
    FakePrinter* device_;
};

#endif
