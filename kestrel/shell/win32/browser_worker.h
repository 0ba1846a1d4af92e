// The browser's worker thread. It follows the part of the grid the window
// shows (first and last entry, set by the GUI thread) and asks the GUI
// thread, through Synchronize, to clear the cells that scrolled away and
// to fill one cell at a time. Everything that touches controls, pictures,
// the cache file or a component runs there; the thread itself only reads
// the range and the cells' tags, and purges the cache's index once the
// visible cells are done. With nothing to do it sleeps until the range
// changes or it is stopped.
#ifndef KESTREL_BROWSER_WORKER_H
#define KESTREL_BROWSER_WORKER_H

#include <atomic>
#include <string>

#include "browser_cache.h"
#include "picture_document.h"
#include "thread.h"
#include "winapi.h"

class TBrowseForm;

class TBrowseThread : public TThread {
public:
    // Created suspended: the caller sets the range, then Start().
    TBrowseThread(TBrowseForm* form, const AnsiString& folder);
    ~TBrowseThread() override;
    TBrowseThread(const TBrowseThread&) = delete;
    TBrowseThread& operator=(const TBrowseThread&) = delete;

    // GUI thread: the entries now visible; wakes the thread.
    void SetRange(int first, int last);
    // Terminates, wakes and waits (serving Synchronize meanwhile).
    void Stop();

    // GUI thread, for FillCell: the cell's picture, caption and hint for
    // the entry. 0 when a thumbnail was made; otherwise the cell is empty.
    virtual int MakeCell(UDBuffer& picture, int index, const AnsiString& text, AnsiString& caption,
                         AnsiString& hint) = 0;
    // The cache slot of a name ("" finds a free one); false when none.
    virtual bool FindCacheEntry(const std::string& name, int& slot) = 0;

protected:
    void Execute() override;
    // Once the visible cells are done (image mode: vanished files).
    virtual void Purge() {}

    TBrowseForm* form_;
    AnsiString folder_;

private:
    // One step of work; false when there is nothing to do.
    bool Step();

    std::atomic<int> first_{0}, last_{-1};
    int seenFirst_ = 0, seenLast_ = -2;
    int cursor_ = 0;
    bool purgeDone_ = false;
    HANDLE wake_;
};

class TBrowseImageThread : public TBrowseThread {
public:
    // cache may be closed (no caching) but not null.
    TBrowseImageThread(TBrowseForm* form, const AnsiString& folder, BrowserCache* cache)
        : TBrowseThread(form, folder), cache_(cache) {}
    int MakeCell(UDBuffer& picture, int index, const AnsiString& text, AnsiString& caption, AnsiString& hint) override;
    bool FindCacheEntry(const std::string& name, int& slot) override;

protected:
    void Purge() override;

private:
    BrowserCache* cache_;
};

class TBrowseEffectThread : public TBrowseThread {
public:
    // Entry i shows component first + i.
    TBrowseEffectThread(TBrowseForm* form, int first) : TBrowseThread(form, ""), first_(first) {}
    int MakeCell(UDBuffer& picture, int index, const AnsiString& text, AnsiString& caption, AnsiString& hint) override;
    bool FindCacheEntry(const std::string&, int&) override { return false; }

private:
    int first_;
};

// The thumbnail of a picture file for the image browser: from the cache
// when it holds the file at its present time and size, else loaded, scaled
// to fit 120 x 90 and stored in the cache (when open). caption = the name
// with extension, hint = the picture's size and the file's. Answers 0, or
// the load's result when no picture came.
int MakeImageThumbnail(BrowserCache& cache, const AnsiString& path, UDBuffer& picture, AnsiString& caption,
                       AnsiString& hint);

// Pictures the image browser has loaded from their files (not the cache).
extern std::atomic<int> BrowserPictureLoads;

#endif
