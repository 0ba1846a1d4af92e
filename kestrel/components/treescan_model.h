// TCustomTreeScanner: walks a directory tree and reports it through events.
// Per directory: OnDirectoryFound, then the files matching FileMask in
// case-insensitive order, then the subdirectories in the same order (entered
// when Recursive, else each reported once), then OnDirectoryDone.
//
// The file system is reached through ListEntries and CurrentDirectory, so
// the walk itself runs anywhere; TTreeScanner (win32/treescan.h) lists with
// FindFirstFileA.
#ifndef KESTREL_TREESCAN_MODEL_H
#define KESTREL_TREESCAN_MODEL_H

#include <vector>

#include "component.h"

// Attribute bits the walk looks at (as the file system reports them).
enum : unsigned {
    faScanVolumeID = 0x08,
    faScanDirectory = 0x10,
};

struct TScanEntry {
    AnsiString Name;  // without the directory
    unsigned Attributes = 0;
    unsigned long Size = 0;
};

class TCustomTreeScanner : public TComponent {
public:
    explicit TCustomTreeScanner(TComponent* AOwner);
    ~TCustomTreeScanner() override;

    AnsiString GetInitialDirectory() const { return initialDirectory_; }
    void SetInitialDirectory(const AnsiString& Value) { initialDirectory_ = Value; }
    AnsiString GetFileMask() const { return fileMask_; }
    void SetFileMask(const AnsiString& Value) { fileMask_ = Value; }
    bool GetRecursive() const { return recursive_; }
    void SetRecursive(bool Value) { recursive_ = Value; }
    // Let the application handle its pending messages once per directory.
    bool GetEnableMessages() const { return enableMessages_; }
    void SetEnableMessages(bool Value) { enableMessages_ = Value; }

    // Full path of the file or directory being reported.
    AnsiString GetFileFound() const { return fileFound_; }
    // Size of the file being reported; 0 for directories.
    unsigned long GetFileSize() const { return fileSize_; }
    bool GetSearchInProgress() const { return searchInProgress_; }

    // The whole walk, synchronously. Exceptions from the handlers pass out,
    // leaving the scanner ready for the next Execute. Raises
    // EInvalidOperation when called from one of its own handlers.
    void Execute();
    // Ends a running walk: nothing more is reported, Execute returns.
    void Stop() { continue_ = false; }

    TNotifyEvent OnFileFound;
    TNotifyEvent OnDirectoryFound;
    TNotifyEvent OnDirectoryDone;

protected:
    // The entries matching a pattern (a directory ending in '\' plus a
    // wildcard mask); an unreadable directory gives none.
    virtual void ListEntries(const AnsiString& Pattern, std::vector<TScanEntry>& Entries) = 0;
    virtual AnsiString CurrentDirectory() = 0;
    virtual void ProcessMessages() {}

private:
    void ScanDirectory(const AnsiString& Dir);
    void Report(const TNotifyEvent& Event);

    AnsiString initialDirectory_;
    AnsiString fileMask_;
    bool recursive_ = true;
    bool enableMessages_ = false;
    AnsiString fileFound_;
    unsigned long fileSize_ = 0;
    bool searchInProgress_ = false;
    bool continue_ = false;
};

// The start directory as Execute normalises it: a trailing '\' appended when
// missing, cut after the last '\' or ':', a trailing '\' again.
AnsiString NormaliseScanDirectory(const AnsiString& Dir);

#endif
