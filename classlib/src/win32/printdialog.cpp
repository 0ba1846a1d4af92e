// TPrintDialog and TPrinterSetupDialog: PrintDlg on Printer()'s printer.
#include "dialogs.h"

#include <commdlg.h>
#include <string.h>

#include "dialoghook.h"
#include "printer.h"

namespace {

const char NoPrinter[] = "There is no default printer currently selected";

// DEVNAMES naming the printer, so the dialog starts on it.
HGLOBAL MakeDevNames(const AnsiString& device)
{
    const char driver[] = "winspool";
    size_t header = sizeof(DEVNAMES);
    size_t size = header + sizeof driver + size_t(device.Length()) + 2;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) throw EOutOfMemory();
    auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
    char* base = reinterpret_cast<char*>(names);
    names->wDriverOffset = WORD(header);
    memcpy(base + header, driver, sizeof driver);
    names->wDeviceOffset = WORD(header + sizeof driver);
    memcpy(base + names->wDeviceOffset, device.c_str(), size_t(device.Length()) + 1);
    names->wOutputOffset = WORD(names->wDeviceOffset + device.Length() + 1);
    GlobalUnlock(block);
    return block;
}

// The dialog's answer, freed with it.
class PrintDlgRun {
public:
    PrintDlgRun(HWND owner, DWORD flags, TCommonDialog* dialog)
    {
        TPrinter* printer = Printer();
        if (!printer->HasPrinter()) throw EPrinter(NoPrinter);
        pd_.lStructSize = sizeof pd_;
        pd_.hwndOwner = owner;
        pd_.hDevNames = MakeDevNames(printer->GetPrinters()->GetStrings(printer->GetPrinterIndex()));
        pd_.Flags = flags;
        pd_.nCopies = WORD(printer->GetCopies());
        pd_.lCustData = reinterpret_cast<LPARAM>(dialog);
        if (flags & PD_PRINTSETUP)
            pd_.lpfnSetupHook = CommonDialogHook::Proc<PRINTDLGA>;
        else
            pd_.lpfnPrintHook = CommonDialogHook::Proc<PRINTDLGA>;
    }
    ~PrintDlgRun()
    {
        if (pd_.hDevNames) GlobalFree(pd_.hDevNames);
        if (pd_.hDevMode) GlobalFree(pd_.hDevMode);
    }
    PrintDlgRun(const PrintDlgRun&) = delete;
    PrintDlgRun& operator=(const PrintDlgRun&) = delete;

    PRINTDLGA& Data() { return pd_; }

    bool Run()
    {
        if (PrintDlgA(&pd_)) return true;
        DWORD error = CommDlgExtendedError();
        if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) throw EPrinter(NoPrinter);
        if (error) throw EPrinter(AnsiString().sprintf("The print dialog failed (error 0x%lx)", error));
        return false;
    }

    // The printer, copies and orientation chosen, into Printer().
    void StoreChoice()
    {
        TPrinter* printer = Printer();
        if (pd_.hDevNames) {
            auto* names = static_cast<DEVNAMES*>(GlobalLock(pd_.hDevNames));
            AnsiString device = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
            GlobalUnlock(pd_.hDevNames);
            int index = printer->GetPrinters()->IndexOf(device);
            if (index >= 0) printer->SetPrinterIndex(index);
        }
        int copies = pd_.nCopies;
        if (pd_.hDevMode) {
            auto* mode = static_cast<DEVMODEA*>(GlobalLock(pd_.hDevMode));
            if (mode->dmFields & DM_ORIENTATION)
                printer->SetOrientation(mode->dmOrientation == DMORIENT_LANDSCAPE ? poLandscape : poPortrait);
            if ((mode->dmFields & DM_COPIES) && mode->dmCopies > 1) copies = mode->dmCopies;
            GlobalUnlock(pd_.hDevMode);
        }
        if (copies > 0) printer->SetCopies(copies);
    }

private:
    PRINTDLGA pd_ = {};
};

}  // namespace

TPrintDialog::TPrintDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TPrintDialog::~TPrintDialog() {}

bool TPrintDialog::Execute()
{
    return RunModal([this] { return RunDialog(); });
}

bool TPrintDialog::RunDialog()
{
    DWORD flags = PD_ENABLEPRINTHOOK;
    if (!(options_ & poPrintToFile)) flags |= PD_HIDEPRINTTOFILE;
    if (!(options_ & poPageNums)) flags |= PD_NOPAGENUMS;
    if (!(options_ & poSelection)) flags |= PD_NOSELECTION;
    if (!(options_ & poWarning)) flags |= PD_NOWARNING;
    if (options_ & poHelp) flags |= PD_SHOWHELP;
    if (options_ & poDisablePrintToFile) flags |= PD_DISABLEPRINTTOFILE;
    if (printRange_ == prSelection) flags |= PD_SELECTION;
    if (printRange_ == prPageNums) flags |= PD_PAGENUMS;
    if (collate_) flags |= PD_COLLATE;
    if (printToFile_) flags |= PD_PRINTTOFILE;
    PrintDlgRun run(OwnerWindow(), flags, this);
    PRINTDLGA& pd = run.Data();
    if (copies_ > 0) pd.nCopies = WORD(copies_);
    pd.nFromPage = WORD(fromPage_);
    pd.nToPage = WORD(toPage_);
    pd.nMinPage = WORD(minPage_);
    pd.nMaxPage = WORD(maxPage_);
    if (!run.Run()) return false;
    run.StoreChoice();
    copies_ = Printer()->GetCopies();
    collate_ = (pd.Flags & PD_COLLATE) != 0;
    printToFile_ = (pd.Flags & PD_PRINTTOFILE) != 0;
    printRange_ = (pd.Flags & PD_SELECTION) ? prSelection : (pd.Flags & PD_PAGENUMS) ? prPageNums : prAllPages;
    fromPage_ = pd.nFromPage;
    toPage_ = pd.nToPage;
    return true;
}

bool TPrinterSetupDialog::Execute()
{
    return RunModal([this] { return RunDialog(); });
}

bool TPrinterSetupDialog::RunDialog()
{
    PrintDlgRun run(OwnerWindow(), PD_PRINTSETUP | PD_ENABLESETUPHOOK, this);
    if (!run.Run()) return false;
    run.StoreChoice();
    return true;
}
