#include "treescan_model.h"

#include <algorithm>

#include "exceptions.h"
#include "sysutils.h"

namespace {

AnsiString WithBackslash(const AnsiString& s)
{
    if (s.Length() > 0 && s[s.Length()] == '\\') return s;
    return s + "\\";
}

struct TFoundFile {
    AnsiString Path;
    unsigned long Size;
};

// The class library's sorted lists order ignoring case; stable keeps names
// that differ only in case in the order the file system gave them.
template <class T, class Key>
void SortIgnoringCase(std::vector<T>& items, Key key)
{
    std::stable_sort(items.begin(), items.end(),
                     [&](const T& a, const T& b) { return CompareText(key(a), key(b)) < 0; });
}

}  // namespace

AnsiString NormaliseScanDirectory(const AnsiString& Dir)
{
    AnsiString d = WithBackslash(Dir);
    d = d.SubString(1, d.LastDelimiter("\\:"));
    return WithBackslash(d);
}

TCustomTreeScanner::TCustomTreeScanner(TComponent* AOwner) : TComponent(AOwner) {}

TCustomTreeScanner::~TCustomTreeScanner() = default;

void TCustomTreeScanner::Execute()
{
    if (searchInProgress_) throw EInvalidOperation("Tree scan already in progress");
    // Cleared however the walk ends, so a handler's exception does not leave
    // the scanner looking busy.
    struct TProgressGuard {
        bool& flag;
        ~TProgressGuard() { flag = false; }
    } guard{searchInProgress_};
    searchInProgress_ = true;
    fileFound_ = "";
    fileSize_ = 0;
    if (initialDirectory_.IsEmpty()) initialDirectory_ = CurrentDirectory();
    initialDirectory_ = NormaliseScanDirectory(initialDirectory_);
    continue_ = true;
    ScanDirectory(initialDirectory_);
}

void TCustomTreeScanner::Report(const TNotifyEvent& Event)
{
    if (Event && continue_) Event(this);
}

void TCustomTreeScanner::ScanDirectory(const AnsiString& Dir)
{
    if (enableMessages_) ProcessMessages();
    if (!continue_) return;
    fileSize_ = 0;
    fileFound_ = Dir;
    Report(OnDirectoryFound);

    std::vector<TScanEntry> entries;
    ListEntries(Dir + "*.*", entries);
    std::vector<AnsiString> subdirs;
    for (const TScanEntry& e : entries) {
        if (!(e.Attributes & faScanDirectory) || e.Name == "." || e.Name == "..") continue;
        subdirs.push_back(Dir + e.Name + "\\");
    }
    entries.clear();
    ListEntries(Dir + fileMask_, entries);
    std::vector<TFoundFile> files;
    for (const TScanEntry& e : entries) {
        if (e.Attributes & (faScanDirectory | faScanVolumeID)) continue;
        files.push_back(TFoundFile{Dir + e.Name, e.Size});
    }
    SortIgnoringCase(subdirs, [](const AnsiString& s) { return s; });
    SortIgnoringCase(files, [](const TFoundFile& f) { return f.Path; });

    for (const TFoundFile& f : files) {
        if (!continue_) return;
        fileFound_ = f.Path;
        fileSize_ = f.Size;
        Report(OnFileFound);
    }
    fileSize_ = 0;
    for (const AnsiString& sub : subdirs) {
        if (!continue_) return;
        if (recursive_) {
            ScanDirectory(sub);
        } else {
            fileFound_ = sub;
            Report(OnDirectoryFound);
        }
    }
    Report(OnDirectoryDone);
}
