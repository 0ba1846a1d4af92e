// TClipboard: the system clipboard, reached through Clipboard().
//
// Open and Close nest; each call below opens and closes around itself when
// the caller has not opened it. The clipboard is owned by a hidden window of
// ours, made on first use.
#ifndef CLASSLIB_CLIPBOARD_H
#define CLASSLIB_CLIPBOARD_H

#include "winapi.h"
#include "ansistring.h"
#include "exceptions.h"

class TBitmap;

// "Cannot open clipboard": another program holds it.
class EClipboardException : public Exception {
public:
    explicit EClipboardException(const AnsiString& msg);
};

class TClipboard {
public:
    TClipboard() = default;
    TClipboard(const TClipboard&) = delete;
    TClipboard& operator=(const TClipboard&) = delete;
    ~TClipboard();

    void Open();
    void Close();
    // Empties the clipboard and makes us its owner.
    void Clear();
    bool HasFormat(UINT format);
    int GetFormatCount();
    UINT GetFormats(int index);

    // Takes ownership of data (a global block, or a GDI handle for
    // CF_BITMAP/CF_PALETTE), also when it fails. Replaces the other formats
    // unless the caller opened the clipboard and added them in the same
    // session.
    void SetAsHandle(UINT format, HANDLE data);
    // Owned by the clipboard; valid until it is next closed. Null if absent.
    HANDLE GetAsHandle(UINT format);

    AnsiString GetAsText();
    void SetAsText(const AnsiString& text);
    // A bitmap as CF_DIB, and back (EInvalidGraphic if absent or damaged).
    void SetBitmap(TBitmap* bitmap);
    void GetBitmap(TBitmap* bitmap);

private:
    void Adding();

    int openCount_ = 0;
    bool emptied_ = false;
    HWND window_ = nullptr;
};

TClipboard* Clipboard();

#endif
