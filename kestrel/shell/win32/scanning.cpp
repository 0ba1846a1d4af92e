// File > Select Source and Acquire.
#include "scanning.h"

#include "bmpfile.h"
#include "clipboard_dib.h"
#include "fixed_memory_stream.h"
#include "gfxfile.h"
#include "imageform.h"
#include "mainform.h"
#include "messages.h"
#include "pictureview.h"
#include "sysutils.h"
#include "toolmanager.h"

namespace {

const uint32_t CoreHeaderSize = 12;

// The plain name, or as a compiler without a definition file exports a
// __stdcall function.
FARPROC TwainProc(HMODULE module, const char* name, int argumentBytes)
{
    FARPROC proc = GetProcAddress(module, name);
    if (proc) return proc;
    AnsiString decorated = AnsiString("_") + name + "@" + IntToStr(argumentBytes);
    return GetProcAddress(module, decorated.c_str());
}

template <class Proc> Proc AsProc(FARPROC proc) { return reinterpret_cast<Proc>(reinterpret_cast<void*>(proc)); }

// The decoder reports nothing while it reads a scan from memory.
struct QuietDecoder {
    QuietDecoder() { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
    ~QuietDecoder() { InstallProgressHooks(); }
    QuietDecoder(const QuietDecoder&) = delete;
    QuietDecoder& operator=(const QuietDecoder&) = delete;
};

class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block)
        : block_(block), data_(static_cast<const unsigned char*>(GlobalLock(block)))
    {
    }
    ~LockedBlock()
    {
        if (data_) GlobalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;

    const unsigned char* Data() const { return data_; }
    int Size() const
    {
        SIZE_T size = GlobalSize(block_);
        return size > 0x7FFFFFFF ? 0x7FFFFFFF : int(size);
    }

private:
    HGLOBAL block_;
    const unsigned char* data_;
};

bool IsCoreHeader(const unsigned char* data, int size)
{
    uint32_t headerSize = 0;
    if (size >= 4) memcpy(&headerSize, data, 4);
    return headerSize == CoreHeaderSize;
}

}  // namespace

TwainWrapper::~TwainWrapper()
{
    if (module_) FreeLibrary(module_);
}

bool TwainWrapper::Load()
{
    module_ = LoadLibraryA(TwainLibraryName);
    if (!module_) return false;
    IsAvailable = AsProc<IsAvailableProc>(TwainProc(module_, "TWAIN_IsAvailable", 0));
    SelectImageSource = AsProc<SelectImageSourceProc>(TwainProc(module_, "TWAIN_SelectImageSource", 4));
    AcquireNative = AsProc<AcquireNativeProc>(TwainProc(module_, "TWAIN_AcquireNative", 8));
    FreeNative = AsProc<FreeNativeProc>(TwainProc(module_, "TWAIN_FreeNative", 4));
    if (IsAvailable && SelectImageSource && AcquireNative && FreeNative) return true;
    IsAvailable = nullptr;
    SelectImageSource = nullptr;
    AcquireNative = nullptr;
    FreeNative = nullptr;
    return false;
}

bool OpenScannedBitmap(HGLOBAL block)
{
    LockedBlock locked(block);
    if (!locked.Data()) return false;
    // The short header's table has three-byte entries that the checks below
    // would read as four.
    if (IsCoreHeader(locked.Data(), locked.Size())) return false;
    ClipboardDibLayout layout;
    if (!MeasureClipboardDib(locked.Data(), locked.Size(), layout)) return false;
    QuietDecoder quiet;
    BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(const_cast<unsigned char*>(locked.Data()));
    const BITMAPINFOHEADER& h = info->bmiHeader;
    // Rows stored top to bottom are no reason for a picture of negative size.
    MainForm->NewWidth = h.biWidth;
    MainForm->NewHeight = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    TImageForm* f = MainForm->NewImageWindow();
    try {
        TFixedMemoryStream bits(locked.Data() + layout.infoBytes, layout.bitsBytes);
        BitmapFromStream(f->Picture, info, &bits, nullptr);
    } catch (Exception&) {
        // A scan that breaks off keeps the rows that came.
    }
    f->Picture.modified++;
    f->Picture.noFile = 1;
    f->FitToPicture();
    f->ShowBuf->Invalidate();
    return true;
}

void TMainForm::SelectSource1Click(TObject*)
{
    TwainWrapper twain;
    if (twain.Load()) twain.SelectImageSource(GetHandle());
}

void TMainForm::Acquire1Click(TObject*)
{
    TwainWrapper twain;
    if (!twain.Load()) return;
    SuspendTool();
    HANDLE block = twain.AcquireNative(GetHandle(), 0);
    if (!block) {
        ResumeTool();
        return;
    }
    try {
        if (!OpenScannedBitmap(static_cast<HGLOBAL>(block))) TranslatedMessageBox("ErrScan", "Err", MsgIconWarning);
    } catch (EAbort&) {
        // No window for the scan: "NoMem" said so.
    } catch (...) {
        TranslatedMessageBox("ErrScan", "Err", MsgIconWarning);
    }
    twain.FreeNative(block);
    ResumeTool();
}
