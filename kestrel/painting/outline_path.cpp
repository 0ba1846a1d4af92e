#include "outline_path.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

size_t OutlinePathByteLimit = SIZE_MAX;

// Room kept free before every write: a start point (8), a long run (2), the
// contour end (1) and the final -1 (4) always fit.
static const size_t Headroom = 18;
static const size_t FirstBlock = 8192;

void FreeOutlinePath(unsigned char*& path)
{
    std::free(path);
    path = nullptr;
}

std::vector<unsigned char> EncodeRun(OutlineDir dir, long long steps)
{
    std::vector<unsigned char> out;
    unsigned char code = static_cast<unsigned char>(dir * 16);
    for (; steps > MaxLongRun; steps -= MaxLongRun) {
        out.push_back(code + 0x8F);
        out.push_back(0xFF);
    }
    if (steps > MaxShortRun) {
        long long rest = steps - MaxShortRun;
        out.push_back(static_cast<unsigned char>(code + 0x80 + (rest >> 8)));
        out.push_back(static_cast<unsigned char>(rest & 0xFF));
    } else if (steps > 0) {
        out.push_back(static_cast<unsigned char>(code + steps - 1));
    }
    return out;
}

OutlinePathWriter::OutlinePathWriter() { Reserve(); }

OutlinePathWriter::~OutlinePathWriter() { std::free(data_); }

bool OutlinePathWriter::Reserve()
{
    if (failed_) return false;
    if (data_ && capacity_ - size_ >= Headroom) return true;
    size_t wanted = data_ ? capacity_ + capacity_ / 2 : FirstBlock;
    void* grown = wanted <= OutlinePathByteLimit ? std::realloc(data_, wanted) : nullptr;
    if (!grown) {
        failed_ = true;
        return false;
    }
    data_ = static_cast<unsigned char*>(grown);
    capacity_ = wanted;
    return true;
}

void OutlinePathWriter::PutByte(unsigned char b) { data_[size_++] = b; }

void OutlinePathWriter::PutInt(int32_t v)
{
    std::memcpy(data_ + size_, &v, 4);
    size_ += 4;
}

void OutlinePathWriter::BeginContour(int x, int y)
{
    if (!Reserve()) return;
    PutInt(x);
    PutInt(y);
    inContour_ = true;
    runDir_ = -1;
    runSteps_ = 0;
}

void OutlinePathWriter::Move(OutlineDir dir, int steps)
{
    if (failed_ || !inContour_ || steps <= 0) return;
    if (runDir_ == dir) {
        runSteps_ += steps;
        return;
    }
    FlushRun();
    runDir_ = dir;
    runSteps_ = steps;
}

void OutlinePathWriter::FlushRun()
{
    if (runDir_ < 0) return;
    unsigned char code = static_cast<unsigned char>(runDir_ * 16);
    // Each piece is reserved on its own so a failure still leaves room for
    // the contour end and the final -1.
    for (; runSteps_ > MaxLongRun; runSteps_ -= MaxLongRun) {
        if (!Reserve()) return;
        PutByte(code + 0x8F);
        PutByte(0xFF);
    }
    if (!Reserve()) return;
    for (unsigned char b : EncodeRun(OutlineDir(runDir_), runSteps_)) PutByte(b);
    runDir_ = -1;
    runSteps_ = 0;
}

void OutlinePathWriter::EndContour()
{
    if (!inContour_) return;
    FlushRun();
    PutByte(ContourEnd);  // the headroom holds it even after a failed growth
    inContour_ = false;
}

unsigned char* OutlinePathWriter::Finish()
{
    EndContour();
    unsigned char* out = nullptr;
    if (size_ > 0) {
        PutInt(-1);
        out = data_;
        data_ = nullptr;
    }
    std::free(data_);
    data_ = nullptr;
    size_ = capacity_ = 0;
    return out;
}

size_t OutlinePathLength(const unsigned char* path)
{
    if (!path) return 0;
    const unsigned char* p = path;
    while (ReadPathInt(p) != -1) {
        p += 8;
        while (*p != ContourEnd) p += (*p & 0x80) ? 2 : 1;
        ++p;
    }
    return size_t(p - path) + 4;
}

bool DecodeOutlinePath(const unsigned char* path, size_t limit, std::vector<OutlineContour>& out)
{
    out.clear();
    size_t i = 0;
    for (;;) {
        if (limit - i < 4) return false;
        int32_t x = ReadPathInt(path + i);
        i += 4;
        if (x == -1) return true;
        if (limit - i < 4) return false;
        OutlineContour c{x, ReadPathInt(path + i), {}};
        i += 4;
        for (;;) {
            if (i >= limit) return false;
            unsigned char b = path[i];
            if (b == ContourEnd) break;
            int dir = (b >> 4) & 7;
            if (dir & 1) return false;
            if ((b & 0x80) && limit - i < 2) return false;
            const unsigned char* p = path + i;
            int steps = ReadRunSteps(p);
            i = size_t(p - path);
            c.runs.push_back(OutlineRun{OutlineDir(dir), steps});
        }
        ++i;
        out.push_back(c);
    }
}
