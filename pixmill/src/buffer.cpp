// Pixel buffer: ownership, allocation and views.
#include "buffer.h"

#include <stdint.h>
#include <string.h>

#include "exceptions.h"
#include "heap.h"

static_assert(sizeof(Buffer) == 28, "the program reads Buffer's fields directly");
static_assert(sizeof(unsigned long) == 4, "pixels are 32-bit unsigned long");

Matrix2D Matrix2D::Unit = {1, 0, 0, 1};

int Buffer::default_x = 256;
int Buffer::default_y = 192;
char Buffer::config_file[260];

// The 16 spare bytes after every block let row loops read a little past the
// last pixel, and leave room for the 4-byte alignment shift.
static const uint64_t SpareBytes = 16;
// Beyond this a 32-bit process cannot hold the block at all; refusing here also
// keeps width * height * 4 from wrapping in 32-bit arithmetic.
static const uint64_t MaxBlockBytes = 0x7FFFFFFF;

static void MakeEmpty(Buffer& b)
{
    b.pixels = nullptr;
    b.stride = 0;
    b.left = 0;
    b.top = 0;
    b.right = -1;
    b.bottom = -1;
    b.own = 0;
}

static void TakeOver(Buffer& dst, Buffer& src)
{
    dst.pixels = src.pixels;
    dst.stride = src.stride;
    dst.left = src.left;
    dst.top = src.top;
    dst.right = src.right;
    dst.bottom = src.bottom;
    dst.own = src.own;
    src.own = 1;
}

Buffer::Buffer()
{
    MakeEmpty(*this);
}

Buffer::Buffer(Buffer& src)
{
    MakeEmpty(*this);
    own = 1;
    TakeOver(*this, src);
}

Buffer::Buffer(Buffer&& src) noexcept : Buffer(src) {}

Buffer::Buffer(Buffer& src, Rect r, bool keep)
{
    MakeEmpty(*this);
    own = 1;
    Alloc(src, r, keep);
}

Buffer& Buffer::operator=(Buffer& src)
{
    // Assigning a buffer to itself must not lose its pixels.
    if (&src == this) return *this;
    Free();
    TakeOver(*this, src);
    return *this;
}

Buffer& Buffer::operator=(Buffer&& src) noexcept
{
    return *this = src;
}

void Buffer::Free()
{
    if (pixels) {
        if (own == 0)
            HeapFree(pixels);
        else if (own == -1)
            HeapFree(reinterpret_cast<char*>(pixels) - 4);
    }
    MakeEmpty(*this);
}

void Buffer::Alloc(Pair<int> size)
{
    Free();
    if (size.x < 1 || size.y < 1) return;
    uint64_t bytes = uint64_t(size.x) * uint64_t(size.y) * 4 + SpareBytes;
    if (bytes > MaxBlockBytes) throw EOutOfMemory();
    char* block = static_cast<char*>(HeapGet(size_t(bytes)));
    if (reinterpret_cast<uintptr_t>(block) & 4) {
        pixels = reinterpret_cast<unsigned long*>(block + 4);
        own = -1;
    } else {
        pixels = reinterpret_cast<unsigned long*>(block);
        own = 0;
    }
    stride = size.x;
    right = size.x - 1;
    bottom = size.y - 1;
}

void Buffer::Alloc(Pair<int> size, unsigned long* mem, int stride_)
{
    Free();
    // Like the owning form: an impossible size gives an empty buffer, never
    // pixels behind an empty rectangle.
    if (!mem || size.x < 1 || size.y < 1) return;
    pixels = mem;
    stride = stride_ ? stride_ : size.x;
    right = size.x - 1;
    bottom = size.y - 1;
    own = 1;
}

static int Clamp32(int64_t v)
{
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return int(v);
}

void Buffer::Alloc(Buffer& src, Rect r, bool keep)
{
    // A view of itself would point into the block Free is about to release.
    if (&src == this) {
        Free();
        return;
    }
    Free();
    Rect c = {r.left > src.left ? r.left : src.left, r.top > src.top ? r.top : src.top,
              r.right < src.right ? r.right : src.right, r.bottom < src.bottom ? r.bottom : src.bottom};
    if (!src.pixels || c.right < c.left || c.bottom < c.top) return;
    pixels = src.At(c.left, c.top);
    stride = src.stride;
    own = 1;
    int64_t dx = 0, dy = 0;
    if (!keep) {
        if (r.left == RebaseToClip) {
            dx = c.left;
            dy = c.top;
        } else {
            dx = r.left;
            dy = r.top;
        }
    }
    left = Clamp32(c.left - dx);
    top = Clamp32(c.top - dy);
    right = Clamp32(c.right - dx);
    bottom = Clamp32(c.bottom - dy);
}

char* Buffer::GetConfigFile()
{
    return config_file;
}

int Buffer::GetDefaultX()
{
    return default_x;
}

int Buffer::GetDefaultY()
{
    return default_y;
}

void Buffer::SetDefaultX(int x)
{
    default_x = x;
}

void Buffer::SetDefaultY(int y)
{
    default_y = y;
}
