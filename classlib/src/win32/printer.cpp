// TPrinter and the spooler device.
#include "printer.h"
#include <winspool.h>

namespace {

const char NoPrinter[] = "There is no default printer currently selected";

class SystemPrinterDevice : public TPrinterDevice {
public:
    std::vector<AnsiString> GetPrinterNames() override
    {
        std::vector<AnsiString> names;
        DWORD needed = 0, count = 0;
        DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
        EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &count);
        if (needed == 0) return names;
        std::vector<BYTE> buffer(needed);
        if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &count)) return names;
        const PRINTER_INFO_4A* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
        for (DWORD i = 0; i < count; ++i) names.push_back(info[i].pPrinterName);
        return names;
    }

    int GetDefaultIndex() override
    {
        char name[512];
        DWORD size = sizeof name;
        if (!GetDefaultPrinterA(name, &size)) return -1;
        std::vector<AnsiString> names = GetPrinterNames();
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i].AnsiCompareIC(name) == 0) return int(i);
        return -1;
    }

    HDC OpenDC(const AnsiString& name, int copies, TPrinterOrientation orientation) override
    {
        HANDLE printer = nullptr;
        if (!OpenPrinterA(const_cast<char*>(name.c_str()), &printer, nullptr)) return nullptr;
        LONG size = DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), nullptr, nullptr, 0);
        std::vector<BYTE> buffer(size > 0 ? size_t(size) : 0);
        DEVMODEA* mode = size > 0 ? reinterpret_cast<DEVMODEA*>(buffer.data()) : nullptr;
        if (mode && DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), mode, nullptr,
                                        DM_OUT_BUFFER) == IDOK) {
            mode->dmFields |= DM_COPIES | DM_ORIENTATION;
            mode->dmCopies = short(copies);
            mode->dmOrientation = orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
            DocumentPropertiesA(nullptr, printer, const_cast<char*>(name.c_str()), mode, mode,
                                DM_IN_BUFFER | DM_OUT_BUFFER);
        } else {
            mode = nullptr;
        }
        ClosePrinter(printer);
        return CreateDCA("WINSPOOL", name.c_str(), nullptr, mode);
    }

    void CloseDC(HDC dc) override { ::DeleteDC(dc); }

    bool StartDocument(HDC dc, const AnsiString& title) override
    {
        DOCINFOA doc = {};
        doc.cbSize = sizeof doc;
        doc.lpszDocName = title.c_str();
        return ::StartDocA(dc, &doc) > 0;
    }

    bool StartPage(HDC dc) override { return ::StartPage(dc) > 0; }
    bool EndPage(HDC dc) override { return ::EndPage(dc) > 0; }
    bool EndDocument(HDC dc) override { return ::EndDoc(dc) > 0; }
    void AbortDocument(HDC dc) override { ::AbortDoc(dc); }
};

}  // namespace

TPrinterDevice::~TPrinterDevice() = default;

SIZE TPrinterDevice::GetPageSize(HDC dc)
{
    return SIZE{GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES)};
}

int TPrinterDevice::GetCaps(HDC dc, int index)
{
    return ::GetDeviceCaps(dc, index);
}

std::unique_ptr<TPrinterDevice> NewSystemPrinterDevice()
{
    return std::unique_ptr<TPrinterDevice>(new SystemPrinterDevice);
}

TPrinter::TPrinter() : TPrinter(NewSystemPrinterDevice()) {}

TPrinter::TPrinter(std::unique_ptr<TPrinterDevice> device) : device_(std::move(device)), canvas_(new TCanvas) {}

TPrinter::~TPrinter()
{
    if (printing_) Abort();
    FreeDC();
}

void TPrinter::SetDevice(std::unique_ptr<TPrinterDevice> device)
{
    CheckNotPrinting();
    FreeDC();
    device_ = std::move(device);
    printers_.reset();
    index_ = -1;
}

void TPrinter::CheckNotPrinting()
{
    if (printing_) throw EPrinter("Printing in progress");
}

void TPrinter::CheckPrinting()
{
    if (!printing_) throw EPrinter("Printer is not currently printing");
}

void TPrinter::FreeDC()
{
    canvas_->SetHandle(nullptr);
    if (dc_) device_->CloseDC(dc_);
    dc_ = nullptr;
}

TStrings* TPrinter::GetPrinters()
{
    if (!printers_) {
        printers_.reset(new TStringList);
        for (const AnsiString& name : device_->GetPrinterNames()) printers_->Add(name);
    }
    return printers_.get();
}

int TPrinter::SelectedIndex()
{
    if (index_ < 0) index_ = device_->GetDefaultIndex();
    if (index_ < 0 || index_ >= GetPrinters()->GetCount()) {
        index_ = -1;
        return -1;
    }
    return index_;
}

int TPrinter::GetPrinterIndex()
{
    return SelectedIndex();
}

void TPrinter::SetPrinterIndex(int index)
{
    CheckNotPrinting();
    if (index < -1 || index >= GetPrinters()->GetCount())
        throw EPrinter(AnsiString().sprintf("Printer selected is not valid (%d)", index));
    FreeDC();
    index_ = index;
}

bool TPrinter::HasPrinter()
{
    return SelectedIndex() >= 0;
}

AnsiString TPrinter::GetPrinterName()
{
    int index = SelectedIndex();
    return index < 0 ? AnsiString() : GetPrinters()->GetStrings(index);
}

int TPrinter::GetDeviceCaps(int index)
{
    return device_->GetCaps(GetHandle(), index);
}

HDC TPrinter::GetHandle()
{
    if (!dc_) {
        int index = SelectedIndex();
        if (index < 0) throw EPrinter(NoPrinter);
        dc_ = device_->OpenDC(GetPrinters()->GetStrings(index), copies_, orientation_);
        if (!dc_) throw EPrinter(AnsiString().sprintf("Cannot open printer %s", GetPrinters()->GetStrings(index).c_str()));
    }
    return dc_;
}

TCanvas* TPrinter::GetCanvas()
{
    if (!canvas_->HandleAllocated()) canvas_->SetHandle(GetHandle());
    return canvas_.get();
}

void TPrinter::SetCopies(int copies)
{
    CheckNotPrinting();
    if (copies < 1) throw EPrinter("Number of copies must be at least 1");
    copies_ = copies;
    FreeDC();
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    CheckNotPrinting();
    orientation_ = orientation;
    FreeDC();
}

int TPrinter::GetPageWidth()
{
    return device_->GetPageSize(GetHandle()).cx;
}

int TPrinter::GetPageHeight()
{
    return device_->GetPageSize(GetHandle()).cy;
}

void TPrinter::BeginDoc()
{
    CheckNotPrinting();
    HDC dc = GetHandle();
    aborted_ = false;
    if (!device_->StartDocument(dc, title_)) throw EPrinter("Cannot start the print job");
    if (!device_->StartPage(dc)) {
        device_->AbortDocument(dc);
        throw EPrinter("Cannot start a page");
    }
    printing_ = true;
    pageNumber_ = 1;
    // A fresh DC state for the document: the canvas reselects its tools.
    canvas_->SetHandle(nullptr);
    canvas_->SetHandle(dc);
}

void TPrinter::NewPage()
{
    CheckPrinting();
    canvas_->SetHandle(nullptr);  // EndPage resets the DC's objects
    bool ok = device_->EndPage(dc_) && device_->StartPage(dc_);
    canvas_->SetHandle(dc_);
    if (!ok) {
        Abort();
        throw EPrinter("Cannot start a page");
    }
    ++pageNumber_;
}

void TPrinter::EndDoc()
{
    CheckPrinting();
    canvas_->SetHandle(nullptr);
    bool ok = device_->EndPage(dc_);
    ok = device_->EndDocument(dc_) && ok;
    printing_ = false;
    pageNumber_ = 0;
    FreeDC();
    if (!ok) throw EPrinter("Cannot finish the print job");
}

void TPrinter::Abort()
{
    CheckPrinting();
    canvas_->SetHandle(nullptr);
    device_->AbortDocument(dc_);
    printing_ = false;
    aborted_ = true;
    pageNumber_ = 0;
    FreeDC();
}

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}
