#include "browser_cache.h"

#include <algorithm>
#include <cstring>

namespace {

const char CacheFileName[] = "browser.ks";
const int FlagsOffset = 0, NameOffset = 1, TimeOffset = 260, SizeOffset = 264, ThumbSizeOffset = 268,
          PictureSizeOffset = 276;

uint32_t Get32(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

void Put32(unsigned char* p, uint32_t v)
{
    p[0] = (unsigned char)v;
    p[1] = (unsigned char)(v >> 8);
    p[2] = (unsigned char)(v >> 16);
    p[3] = (unsigned char)(v >> 24);
}

long FileSize(std::FILE* f)
{
    if (std::fseek(f, 0, SEEK_END) != 0) return 0;
    long size = std::ftell(f);
    return size < 0 ? 0 : size;
}

bool WriteAt(std::FILE* f, long offset, const void* data, size_t size)
{
    if (std::fseek(f, offset, SEEK_SET) != 0) return false;
    if (std::fwrite(data, 1, size, f) != size) return false;
    return std::fflush(f) == 0;
}

bool ReadAt(std::FILE* f, long offset, void* data, size_t size)
{
    if (std::fseek(f, offset, SEEK_SET) != 0) return false;
    return std::fread(data, 1, size, f) == size;
}

bool CreateEmptyCache(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::vector<unsigned char> zero(CacheThumbsOffset, 0);
    bool ok = std::fwrite(zero.data(), 1, zero.size(), f) == zero.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::remove(path.c_str());  // no half-made file left behind
    return ok;
}

bool FileExists(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

bool CacheableName(const std::string& name)
{
    return !name.empty() && name.size() < size_t(CacheNameSize) && name.find('\0') == std::string::npos;
}

BrowserCacheEntry DecodeCacheEntry(const unsigned char* raw)
{
    BrowserCacheEntry e;
    const char* name = reinterpret_cast<const char*>(raw + NameOffset);
    size_t length = strnlen(name, CacheNameSize);
    e.time = Get32(raw + TimeOffset);
    e.size = Get32(raw + SizeOffset);
    e.thumbWidth = int(Get32(raw + ThumbSizeOffset));
    e.thumbHeight = int(Get32(raw + ThumbSizeOffset + 4));
    e.pictureWidth = int(Get32(raw + PictureSizeOffset));
    e.pictureHeight = int(Get32(raw + PictureSizeOffset + 4));
    // The sizes say how much of a 120 x 90 area is read: past them a read
    // would run over the thumbnail into its neighbour or the buffer's end.
    bool sound = length > 0 && length < size_t(CacheNameSize) && e.thumbWidth >= 0 && e.thumbWidth <= ThumbWidth &&
                 e.thumbHeight >= 0 && e.thumbHeight <= ThumbHeight && e.pictureWidth >= 0 && e.pictureHeight >= 0;
    e.valid = (raw[FlagsOffset] & 1) && sound;
    if (length < size_t(CacheNameSize)) e.name.assign(name, length);
    return e;
}

void EncodeCacheEntry(const BrowserCacheEntry& entry, unsigned char* raw)
{
    std::memset(raw, 0, CacheEntrySize);
    raw[FlagsOffset] = entry.valid ? 1 : 0;
    std::memcpy(raw + NameOffset, entry.name.data(), std::min(entry.name.size(), size_t(CacheNameSize - 1)));
    Put32(raw + TimeOffset, entry.time);
    Put32(raw + SizeOffset, entry.size);
    Put32(raw + ThumbSizeOffset, uint32_t(entry.thumbWidth));
    Put32(raw + ThumbSizeOffset + 4, uint32_t(entry.thumbHeight));
    Put32(raw + PictureSizeOffset, uint32_t(entry.pictureWidth));
    Put32(raw + PictureSizeOffset + 4, uint32_t(entry.pictureHeight));
}

void PackThumbnail(Buffer& thumb, unsigned char* raw)
{
    std::memset(raw, 0, CacheThumbBytes);
    int w = std::min(thumb.Width(), int(ThumbWidth)), h = std::min(thumb.Height(), int(ThumbHeight));
    if (!thumb.pixels) return;
    for (int y = 0; y < h; ++y) {
        const unsigned long* p = thumb.At(thumb.left, thumb.top + y);
        unsigned char* out = raw + y * ThumbWidth * 3;
        for (int x = 0; x < w; ++x) {
            out[3 * x] = (unsigned char)(p[x] >> 16);
            out[3 * x + 1] = (unsigned char)(p[x] >> 8);
            out[3 * x + 2] = (unsigned char)p[x];
        }
    }
}

void UnpackThumbnail(const unsigned char* raw, int width, int height, Buffer& thumb)
{
    thumb.Free();
    if (width < 1 || height < 1 || width > ThumbWidth || height > ThumbHeight) return;
    thumb.Alloc(Pair<int>{width, height});
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = raw + y * ThumbWidth * 3;
        unsigned long* p = thumb.At(0, y);
        for (int x = 0; x < width; ++x)
            p[x] = (unsigned long)in[3 * x] << 16 | (unsigned long)in[3 * x + 1] << 8 | in[3 * x + 2];
    }
}

bool BrowserCache::Open(const std::string& folder)
{
    Close();
    path_ = folder + CacheFileName;
    file_ = std::fopen(path_.c_str(), "r+b");
    // Only a missing file is made anew: one that is there but cannot be
    // written (read-only medium) is left as it is.
    if (!file_ && !FileExists(path_) && CreateEmptyCache(path_)) file_ = std::fopen(path_.c_str(), "r+b");
    if (!file_) return false;
    ReadIndex();
    return true;
}

void BrowserCache::ReadIndex()
{
    long size = FileSize(file_);
    std::vector<unsigned char> raw(CacheThumbsOffset);
    for (int b = 0; b < CacheMaxBlocks; ++b) {
        long offset = long(b) * CacheBlockSize;
        // The chain ends where the file does, whatever the last word says.
        if (b > 0 && offset + CacheThumbsOffset > size) break;
        std::fill(raw.begin(), raw.end(), 0);
        ReadAt(file_, offset, raw.data(), raw.size());  // a short read leaves zeros
        Block block(CacheEntriesPerBlock);
        for (int i = 0; i < CacheEntriesPerBlock; ++i) block[i] = DecodeCacheEntry(raw.data() + i * CacheEntrySize);
        blocks_.push_back(block);
        if (Get32(raw.data() + CacheNextOffset) == 0) break;
    }
}

bool BrowserCache::WriteIndex(int block)
{
    std::vector<unsigned char> raw(CacheThumbsOffset, 0);
    for (int i = 0; i < CacheEntriesPerBlock; ++i) EncodeCacheEntry(blocks_[block][i], raw.data() + i * CacheEntrySize);
    Put32(raw.data() + CacheNextOffset, block + 1 < Blocks() ? 1 : 0);
    return WriteAt(file_, long(block) * CacheBlockSize, raw.data(), raw.size());
}

bool BrowserCache::AppendBlock()
{
    if (Blocks() >= CacheMaxBlocks) return false;
    blocks_.push_back(Block(CacheEntriesPerBlock));
    // The new block first, then the word that links it in.
    if (WriteIndex(Blocks() - 1) && WriteIndex(Blocks() - 2)) return true;
    blocks_.pop_back();
    return false;
}

void BrowserCache::Close()
{
    if (!file_) return;
    for (int b = 0; b < Blocks(); ++b) WriteIndex(b);
    std::fclose(file_);
    file_ = nullptr;
    if (!AnyValid()) std::remove(path_.c_str());
    blocks_.clear();
}

bool BrowserCache::AnyValid() const
{
    for (const Block& block : blocks_)
        for (const BrowserCacheEntry& e : block)
            if (e.valid) return true;
    return false;
}

int BrowserCache::Find(const std::string& name) const
{
    for (int b = 0; b < Blocks(); ++b)
        for (int i = 0; i < CacheEntriesPerBlock; ++i) {
            const BrowserCacheEntry& e = blocks_[b][i];
            if (e.valid && e.name == name) return b * CacheEntriesPerBlock + i;
        }
    return -1;
}

int BrowserCache::FindFree() const
{
    for (int b = 0; b < Blocks(); ++b)
        for (int i = 0; i < CacheEntriesPerBlock; ++i)
            if (!blocks_[b][i].valid) return b * CacheEntriesPerBlock + i;
    return -1;
}

const BrowserCacheEntry& BrowserCache::Entry(int slot) const
{
    return blocks_[slot / CacheEntriesPerBlock][slot % CacheEntriesPerBlock];
}

void BrowserCache::Invalidate(int slot) { At(slot).valid = false; }

long BrowserCache::ThumbOffset(int slot) const
{
    return long(slot / CacheEntriesPerBlock) * CacheBlockSize + CacheThumbsOffset +
           long(slot % CacheEntriesPerBlock) * CacheThumbBytes;
}

bool BrowserCache::ReadThumbnail(int slot, Buffer& thumb)
{
    const BrowserCacheEntry& e = Entry(slot);
    std::vector<unsigned char> raw(CacheThumbBytes);
    if (!file_ || !e.valid || !ReadAt(file_, ThumbOffset(slot), raw.data(), raw.size())) {
        Invalidate(slot);
        return false;
    }
    UnpackThumbnail(raw.data(), e.thumbWidth, e.thumbHeight, thumb);
    return true;
}

bool BrowserCache::Store(const BrowserCacheEntry& entry, Buffer& thumb)
{
    if (!file_ || !CacheableName(entry.name) || thumb.Width() > ThumbWidth || thumb.Height() > ThumbHeight) return false;
    int slot = FindFree();
    if (slot < 0) {
        if (!AppendBlock()) return false;
        slot = (Blocks() - 1) * CacheEntriesPerBlock;
    }
    std::vector<unsigned char> raw(CacheThumbBytes);
    PackThumbnail(thumb, raw.data());
    if (!WriteAt(file_, ThumbOffset(slot), raw.data(), raw.size())) return false;
    BrowserCacheEntry& e = At(slot);
    e = entry;
    e.thumbWidth = thumb.pixels ? thumb.Width() : 0;
    e.thumbHeight = thumb.pixels ? thumb.Height() : 0;
    e.valid = true;
    return true;
}

void BrowserCache::Purge(const std::function<bool(const std::string& name)>& exists)
{
    for (Block& block : blocks_)
        for (BrowserCacheEntry& e : block)
            if (e.valid && !exists(e.name)) e.valid = false;
}
