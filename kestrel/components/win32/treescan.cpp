#include "treescan.h"

#include "application.h"
#include "winapi.h"

namespace {

// Closes the search however the listing ends.
class TFindHandle {
public:
    explicit TFindHandle(HANDLE h) : handle_(h) {}
    ~TFindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

TTreeScanner::TTreeScanner(TComponent* AOwner) : TCustomTreeScanner(AOwner) {}

void TTreeScanner::ListEntries(const AnsiString& Pattern, std::vector<TScanEntry>& Entries)
{
    WIN32_FIND_DATAA data;
    TFindHandle find(FindFirstFileA(Pattern.c_str(), &data));
    if (find.Get() == INVALID_HANDLE_VALUE) return;
    do {
        TScanEntry e;
        e.Name = data.cFileName;
        e.Attributes = data.dwFileAttributes;
        e.Size = data.nFileSizeLow;
        Entries.push_back(e);
    } while (FindNextFileA(find.Get(), &data));
}

AnsiString TTreeScanner::CurrentDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetCurrentDirectoryA(sizeof(buffer), buffer);
    if (n == 0 || n > MAX_PATH) return "";
    return buffer;
}

void TTreeScanner::ProcessMessages()
{
    if (Application) Application->ProcessMessages();
}
