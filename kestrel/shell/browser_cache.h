// The browser's thumbnail cache "browser.ks", kept in each browsed folder.
//
// The file is a chain of blocks of 4,183,556 bytes, little-endian:
//   0       128 index entries of 284 bytes
//   36,352  32-bit word, non-zero when another block follows
//   36,356  128 thumbnails of 120 x 90 pixels, 3 bytes each (R, G, B)
// An entry: flags byte (bit 0 valid), name with extension (259 bytes,
// zero-terminated), modification time and file size (32-bit), thumbnail
// width and height, picture width and height (32-bit each). Global slot s
// is entry s mod 128 of block s div 128.
//
// The file is someone else's input as much as ours (a copied folder, a
// crash while writing, another program): an entry that does not hold
// together is "not cached", and the chain ends where the file ends.
#ifndef KESTREL_BROWSER_CACHE_H
#define KESTREL_BROWSER_CACHE_H

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "buffer.h"

enum : int {
    ThumbWidth = 120,
    ThumbHeight = 90,
    CacheEntriesPerBlock = 128,
    CacheEntrySize = 284,
    CacheNameSize = 259,
    CacheNextOffset = CacheEntriesPerBlock * CacheEntrySize,  // 36,352
    CacheThumbsOffset = CacheNextOffset + 4,                  // 36,356
    CacheThumbBytes = ThumbWidth * ThumbHeight * 3,           // 32,400
    CacheBlockSize = CacheThumbsOffset + CacheEntriesPerBlock * CacheThumbBytes,  // 4,183,556
    // Offsets stay below 2 GB, which a 32-bit file position reaches.
    CacheMaxBlocks = 500,
};

struct BrowserCacheEntry {
    bool valid = false;
    std::string name;
    uint32_t time = 0, size = 0;
    int thumbWidth = 0, thumbHeight = 0;
    int pictureWidth = 0, pictureHeight = 0;
};

// Decodes one 284-byte entry. An entry marked valid whose name runs off its
// field or is empty, or whose sizes do not fit a thumbnail, comes back not
// valid.
BrowserCacheEntry DecodeCacheEntry(const unsigned char* raw);
void EncodeCacheEntry(const BrowserCacheEntry& entry, unsigned char* raw);

// A name the entry can hold: 1 to 258 characters.
bool CacheableName(const std::string& name);

// Rows of 120 pixels, R, G, B; only the thumbnail's own width x height
// area is written (the rest of raw is zeroed) or read.
void PackThumbnail(Buffer& thumb, unsigned char* raw);
void UnpackThumbnail(const unsigned char* raw, int width, int height, Buffer& thumb);

class BrowserCache {
public:
    BrowserCache() = default;
    ~BrowserCache() { Close(); }
    BrowserCache(const BrowserCache&) = delete;
    BrowserCache& operator=(const BrowserCache&) = delete;

    // folder ends with its separator. Opens the file, creating it with one
    // empty block when there is none. False when it can be neither opened
    // nor created (a read-only folder): the browser then works without it.
    bool Open(const std::string& folder);
    // Writes the index back and closes; deletes the file when no entry is
    // valid.
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    std::string Path() const { return path_; }
    int Blocks() const { return int(blocks_.size()); }

    // The slot of the valid entry of that name (case-sensitive), -1 when none.
    int Find(const std::string& name) const;
    // The first slot without the valid bit, -1 when every one is taken.
    int FindFree() const;
    const BrowserCacheEntry& Entry(int slot) const;
    void Invalidate(int slot);
    // False when the thumbnail cannot be read: the entry is then invalidated.
    bool ReadThumbnail(int slot, Buffer& thumb);
    // Takes a free entry (appending a block when there is none) and writes
    // the thumbnail; the entry becomes valid only when the write succeeded.
    bool Store(const BrowserCacheEntry& entry, Buffer& thumb);
    // Invalidates every entry whose name exists() denies.
    void Purge(const std::function<bool(const std::string& name)>& exists);

private:
    typedef std::vector<BrowserCacheEntry> Block;
    void ReadIndex();
    bool AppendBlock();
    bool WriteIndex(int block);
    long ThumbOffset(int slot) const;
    BrowserCacheEntry& At(int slot) { return blocks_[slot / CacheEntriesPerBlock][slot % CacheEntriesPerBlock]; }
    bool AnyValid() const;

    std::FILE* file_ = nullptr;
    std::string path_;
    std::vector<Block> blocks_;
};

#endif
