// TClipboard over the Win32 clipboard functions.
#include "clipboard.h"
#include <string.h>
#include "bitmap.h"

EClipboardException::EClipboardException(const AnsiString& msg) : Exception(msg) {}

namespace {

// Holds the clipboard open for one call when the caller has not.
class Session {
public:
    explicit Session(TClipboard* clipboard) : clipboard_(clipboard) { clipboard_->Open(); }
    ~Session() { clipboard_->Close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    TClipboard* clipboard_;
};

HGLOBAL GlobalCopy(const void* data, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) throw EOutOfMemory();
    memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    return block;
}

}  // namespace

TClipboard::~TClipboard()
{
    if (openCount_) CloseClipboard();
    if (window_) DestroyWindow(window_);
}

void TClipboard::Open()
{
    if (openCount_++) return;
    if (!window_) window_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    // Another program may hold it for a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (OpenClipboard(window_)) {
            emptied_ = false;
            return;
        }
        Sleep(10);
    }
    openCount_ = 0;
    throw EClipboardException("Cannot open clipboard");
}

void TClipboard::Close()
{
    if (openCount_ == 0) return;
    if (--openCount_ == 0) CloseClipboard();
}

void TClipboard::Clear()
{
    Session session(this);
    EmptyClipboard();
    emptied_ = true;
}

// The first format put in a session replaces whatever was there.
void TClipboard::Adding()
{
    if (!emptied_) Clear();
}

bool TClipboard::HasFormat(UINT format)
{
    return IsClipboardFormatAvailable(format) != 0;
}

int TClipboard::GetFormatCount()
{
    return CountClipboardFormats();
}

UINT TClipboard::GetFormats(int index)
{
    Session session(this);
    UINT format = 0;
    for (int i = 0; i <= index; ++i) {
        format = EnumClipboardFormats(format);
        if (!format) throw EListError(AnsiString().sprintf("List index out of bounds (%d)", index));
    }
    return format;
}

void TClipboard::SetAsHandle(UINT format, HANDLE data)
{
    try {
        Session session(this);
        Adding();
        if (!SetClipboardData(format, data)) throw EClipboardException("Cannot put data on the clipboard");
    } catch (...) {
        if (format == CF_BITMAP || format == CF_PALETTE) {
            DeleteObject(data);
        } else {
            GlobalFree(data);
        }
        throw;
    }
}

HANDLE TClipboard::GetAsHandle(UINT format)
{
    Session session(this);
    return GetClipboardData(format);
}

AnsiString TClipboard::GetAsText()
{
    Session session(this);
    HGLOBAL block = GetClipboardData(CF_TEXT);
    if (!block) return AnsiString();
    const char* text = static_cast<const char*>(GlobalLock(block));
    AnsiString result = text ? AnsiString(text, int(strnlen(text, GlobalSize(block)))) : AnsiString();
    GlobalUnlock(block);
    return result;
}

void TClipboard::SetAsText(const AnsiString& text)
{
    SetAsHandle(CF_TEXT, GlobalCopy(text.c_str(), size_t(text.Length()) + 1));
}

void TClipboard::SetBitmap(TBitmap* bitmap)
{
    std::vector<unsigned char> dib = bitmap->SaveToDIB();
    SetAsHandle(CF_DIB, GlobalCopy(dib.data(), dib.size()));
}

void TClipboard::GetBitmap(TBitmap* bitmap)
{
    Session session(this);
    HGLOBAL block = GetClipboardData(CF_DIB);
    if (!block) throw EInvalidGraphic("no bitmap on the clipboard");
    const void* data = GlobalLock(block);
    try {
        bitmap->LoadFromDIB(data, int(GlobalSize(block)));
    } catch (...) {
        GlobalUnlock(block);
        throw;
    }
    GlobalUnlock(block);
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
