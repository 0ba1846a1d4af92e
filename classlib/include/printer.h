// TPrinter: the printers of the system and printing on one, reached through
// Printer().
//
// The system is reached through a TPrinterDevice, so tests (and a machine
// with no printer) can supply their own: a device that hands out a memory DC
// and records the document calls.
#ifndef CLASSLIB_PRINTER_H
#define CLASSLIB_PRINTER_H

#include <memory>
#include <vector>
#include "canvas.h"
#include "stringlist.h"

enum TPrinterOrientation { poPortrait, poLandscape };

class TPrinterDevice {
public:
    virtual ~TPrinterDevice();
    virtual std::vector<AnsiString> GetPrinterNames() = 0;
    // Index into GetPrinterNames, -1 when there is no default printer.
    virtual int GetDefaultIndex() = 0;
    // A DC for the printer with these settings; null on failure.
    virtual HDC OpenDC(const AnsiString& name, int copies, TPrinterOrientation orientation) = 0;
    virtual void CloseDC(HDC dc) = 0;
    // Document calls; false on failure.
    virtual bool StartDocument(HDC dc, const AnsiString& title) = 0;
    virtual bool StartPage(HDC dc) = 0;
    virtual bool EndPage(HDC dc) = 0;
    virtual bool EndDocument(HDC dc) = 0;
    virtual void AbortDocument(HDC dc) = 0;
    // Printable area in device pixels (HORZRES, VERTRES).
    virtual SIZE GetPageSize(HDC dc);
    // GetDeviceCaps of the printer's DC (resolution, physical page and
    // offsets, raster capabilities).
    virtual int GetCaps(HDC dc, int index);
};

// The installed printers, through the spooler.
std::unique_ptr<TPrinterDevice> NewSystemPrinterDevice();

class TPrinter {
public:
    TPrinter();  // the system's printers
    explicit TPrinter(std::unique_ptr<TPrinterDevice> device);
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;
    ~TPrinter();

    // Replaces the device (not while printing: EPrinter "Printing in progress").
    void SetDevice(std::unique_ptr<TPrinterDevice> device);

    TStrings* GetPrinters();
    // The selected printer; -1 selects the default one.
    int GetPrinterIndex();
    void SetPrinterIndex(int index);
    // Whether there is a printer to print on.
    bool HasPrinter();
    // The selected printer's name; empty without one.
    AnsiString GetPrinterName();
    // GetDeviceCaps of the printer's DC (EPrinter without a printer).
    int GetDeviceCaps(int index);

    // The printer's DC (an information context until BeginDoc). Raises
    // EPrinter "There is no default printer currently selected" without one.
    HDC GetHandle();
    TCanvas* GetCanvas();

    int GetCopies() const { return copies_; }
    void SetCopies(int copies);
    TPrinterOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TPrinterOrientation orientation);
    AnsiString GetTitle() const { return title_; }
    void SetTitle(const AnsiString& title) { title_ = title; }

    int GetPageWidth();
    int GetPageHeight();
    int GetPageNumber() const { return pageNumber_; }

    void BeginDoc();
    void EndDoc();
    void NewPage();
    void Abort();
    bool GetPrinting() const { return printing_; }
    bool GetAborted() const { return aborted_; }

private:
    void CheckNotPrinting();
    void CheckPrinting();
    void FreeDC();
    int SelectedIndex();

    std::unique_ptr<TPrinterDevice> device_;
    std::unique_ptr<TStringList> printers_;
    std::unique_ptr<TCanvas> canvas_;
    HDC dc_ = nullptr;
    int index_ = -1;
    int copies_ = 1;
    TPrinterOrientation orientation_ = poPortrait;
    AnsiString title_;
    int pageNumber_ = 0;
    bool printing_ = false;
    bool aborted_ = false;
};

TPrinter* Printer();

#endif
