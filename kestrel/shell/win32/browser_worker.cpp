#include "browser_worker.h"

#include <sys/stat.h>

#include "browseform.h"
#include "browser_effects.h"
#include "browser_layout.h"
#include "lang.h"
#include "messages.h"
#include "picturefiles_win32.h"
#include "pictureview.h"

std::atomic<int> BrowserPictureLoads{0};

TBrowseThread::TBrowseThread(TBrowseForm* form, const AnsiString& folder)
    : TThread(true), form_(form), folder_(folder), wake_(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
}

TBrowseThread::~TBrowseThread()
{
    if (GetHandle() && !GetFinished()) Stop();
    if (wake_) CloseHandle(wake_);
}

void TBrowseThread::SetRange(int first, int last)
{
    first_ = first;
    last_ = last;
    if (wake_) SetEvent(wake_);
}

void TBrowseThread::Stop()
{
    Terminate();
    if (wake_) SetEvent(wake_);
    if (GetHandle()) WaitFor();
}

void TBrowseThread::Execute()
{
    while (!GetTerminated()) {
        if (Step()) continue;
        // Idle until the range changes or Stop; the timeout only guards
        // against a wake-up lost to a failed event.
        if (wake_) WaitForSingleObject(wake_, INFINITE);
        else Sleep(10);
    }
}

bool TBrowseThread::Step()
{
    int first = first_, last = last_;
    if (first != seenFirst_ || last != seenLast_) {
        seenFirst_ = first;
        seenLast_ = last;
        cursor_ = first;
        Synchronize([this, first, last] { form_->ClearCellsOutsideRange(first, last); });
        return true;
    }
    if (cursor_ <= seenLast_) {
        int index = cursor_++;
        if (index >= 0 && index < form_->EntryCount() && !form_->CellShows(index))
            Synchronize([this, index] { form_->FillCell(index); });
        return true;
    }
    if (!purgeDone_) {
        purgeDone_ = true;
        Purge();
        return true;
    }
    return false;
}

// ---- image mode

namespace {

AnsiString NameOf(const AnsiString& path)
{
    int cut = path.LastDelimiter("\\/:");
    return path.SubString(cut + 1, path.Length() - cut);
}

AnsiString SizeHint(int width, int height, uint32_t bytes)
{
    return AnsiString(width) + " x " + AnsiString(height) + " " + Translate("Pixels") + "\r\n" +
           AnsiString(int((uint64_t(bytes) + 1023) / 1024)) + " " + Translate("KBytes");
}

bool FromCache(BrowserCache& cache, const std::string& name, const struct stat& st, UDBuffer& picture,
               BrowserCacheEntry& found)
{
    int slot = cache.Find(name);
    if (slot < 0) return false;
    found = cache.Entry(slot);
    if (found.time != uint32_t(st.st_mtime) || found.size != uint32_t(st.st_size)) {
        cache.Invalidate(slot);
        return false;
    }
    return cache.ReadThumbnail(slot, picture);
}

bool Loaded(int result) { return result == 0 || result == 1 || result == 3; }

}  // namespace

int MakeImageThumbnail(BrowserCache& cache, const AnsiString& path, UDBuffer& picture, AnsiString& caption,
                       AnsiString& hint)
{
    struct stat st = {};
    stat(path.c_str(), &st);
    caption = NameOf(path);
    std::string name = caption.c_str();
    picture.Free();
    BrowserCacheEntry entry;
    if (cache.IsOpen() && FromCache(cache, name, st, picture, entry)) {
        hint = SizeHint(entry.pictureWidth, entry.pictureHeight, entry.size);
        return 0;
    }
    UDBuffer full;
    ++BrowserPictureLoads;
    int result = LoadPictureFile(&full, path, 0, true);
    if (!Loaded(result) || !full.pixels) return result == 0 ? 4 : result;
    BrowserSize size = ThumbnailSize(full.Width(), full.Height());
    picture.Alloc(Pair<int>{size.width, size.height});
    picture.Scale(full, Pair<int>{size.width, size.height}, Pair<int>{0, 0}, 0xFFFFFFFF, -1);
    picture.Bool(1, 0x00FFFFFF);  // the file's mark bits are no colour
    entry.name = name;
    entry.time = uint32_t(st.st_mtime);
    entry.size = uint32_t(st.st_size);
    entry.pictureWidth = full.Width();
    entry.pictureHeight = full.Height();
    if (cache.IsOpen()) cache.Store(entry, picture);
    hint = SizeHint(entry.pictureWidth, entry.pictureHeight, entry.size);
    return 0;
}

int TBrowseImageThread::MakeCell(UDBuffer& picture, int, const AnsiString& text, AnsiString& caption, AnsiString& hint)
{
    return MakeImageThumbnail(*cache_, text, picture, caption, hint);
}

bool TBrowseImageThread::FindCacheEntry(const std::string& name, int& slot)
{
    if (!cache_->IsOpen()) return false;
    slot = name.empty() ? cache_->FindFree() : cache_->Find(name);
    return slot >= 0;
}

void TBrowseImageThread::Purge()
{
    if (!cache_->IsOpen()) return;
    std::string folder = folder_.c_str();
    cache_->Purge([&](const std::string& name) {
        struct stat st;
        return stat((folder + name).c_str(), &st) == 0;
    });
}

// ---- effect mode

int TBrowseEffectThread::MakeCell(UDBuffer& picture, int index, const AnsiString&, AnsiString& caption, AnsiString& hint)
{
    caption = "";
    hint = "";
    picture.Free();
    if (!BrowserEffects || !CurrentPicture || !CurrentPicture->pixels) return 1;
    BrowserSize size = ThumbnailSize(CurrentPicture->Width(), CurrentPicture->Height());
    Buffer source;
    source.Alloc(Pair<int>{size.width, size.height});
    source.Scale(*CurrentPicture, Pair<int>{size.width, size.height}, Pair<int>{0, 0}, 0xFFFFFFFF, -1);
    picture.Alloc(Pair<int>{size.width, size.height});
    picture.Copy(source, Pair<int>{0, 0}, 0xFFFFFFFF);
    return BrowserEffects->Render(first_ + index, source, picture, caption) ? 0 : 1;
}
