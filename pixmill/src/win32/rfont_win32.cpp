#include "rfont_win32.h"

#include <string.h>

#include <memory>

#include "exceptions.h"
#include "filestream.h"
#include "font.h"
#include "rfont_system.h"
#include "winapi.h"

namespace {

bool EndsWithRfn(const char* name)
{
    size_t n = strlen(name);
    return n >= 4 && _stricmp(name + n - 4, ".rfn") == 0;
}

class Win32FontSystem : public RFontSystem {
public:
    // "*.rfn" also matches longer extensions through short names.
    std::vector<FontFileInfo> ListFonts(const AnsiString& dir) override
    {
        std::vector<FontFileInfo> files;
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((dir + "*.rfn").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE) return files;
        do {
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY || d.nFileSizeHigh || !EndsWithRfn(d.cFileName)) continue;
            files.push_back(FontFileInfo{AnsiString(d.cFileName), d.nFileSizeLow, d.ftLastWriteTime.dwLowDateTime,
                                         d.ftLastWriteTime.dwHighDateTime});
        } while (FindNextFileA(h, &d));
        FindClose(h);
        return files;
    }

    TStream* OpenRead(const AnsiString& file) override
    {
        try {
            return new TFileStream(file, fmOpenRead | fmShareDenyWrite);
        } catch (EFOpenError&) {
            return nullptr;
        }
    }

    TStream* Create(const AnsiString& file) override
    {
        try {
            return new TFileStream(file, fmCreate);
        } catch (EFCreateError&) {
            return nullptr;
        }
    }

    void Remove(const AnsiString& file) override { DeleteFileA(file.c_str()); }

    void OutText(Buffer& b, Pair<int> pos, AnsiString& s, unsigned long colour) override
    {
        b.OutText(Font(), pos, s, colour);
    }

    Pair<int> GetTextExtent(AnsiString& s) override
    {
        Buffer none;
        return none.GetTextExtent(Font(), s);
    }

private:
    // The class library's default font, made when first needed.
    TFont* Font()
    {
        if (!font_) font_.reset(new TFont);
        return font_.get();
    }

    std::unique_ptr<TFont> font_;
};

Win32FontSystem* installed;

struct InstallAtLoad {
    InstallAtLoad() { InstallWin32FontSystem(); }
} installAtLoad;

}  // namespace

void InstallWin32FontSystem()
{
    if (!installed) installed = new Win32FontSystem;
    SetRFontSystem(installed);
}
