// Selection outline paths: contours of unit moves along pixel edges.
//
// A path is a sequence of contours, then the 32-bit integer -1. A contour is
// its start corner x, y (two 32-bit integers, little-endian, unaligned), then
// run bytes, ended by the byte 0x10. A run byte holds the direction in bits
// 4 to 6 (0 up, 2 right, 4 down, 6 left); runs of up to 16 steps take one
// byte, up to 4111 two, longer runs are split into pieces of 4111.
//
// Paths are plain malloc blocks, so the picture that owns them frees them with
// FreeOutlinePath whatever built them.
#ifndef KESTREL_OUTLINE_PATH_H
#define KESTREL_OUTLINE_PATH_H

#include <cstddef>
#include <cstdint>
#include <vector>

enum OutlineDir { DirUp = 0, DirRight = 2, DirDown = 4, DirLeft = 6 };

const unsigned char ContourEnd = 0x10;
const int MaxShortRun = 16;
const int MaxLongRun = 4111;

// Bytes a path block may grow to; a growth past it fails as an exhausted heap
// would. Tests lower it to reach the failure paths.
extern size_t OutlinePathByteLimit;

void FreeOutlinePath(unsigned char*& path);

// Builds a path in a growing block, merging unit moves into runs. Writing
// stops for good once the block cannot grow (Failed()); what was written
// stays a well-formed path, because every write keeps room for the contour
// end and the final -1.
class OutlinePathWriter {
public:
    OutlinePathWriter();
    ~OutlinePathWriter();
    OutlinePathWriter(const OutlinePathWriter&) = delete;
    OutlinePathWriter& operator=(const OutlinePathWriter&) = delete;

    bool Failed() const { return failed_; }
    bool Empty() const { return size_ == 0; }

    void BeginContour(int x, int y);
    void Move(OutlineDir dir, int steps);  // merged with a pending run in the same direction
    void EndContour();                     // writes the pending run and 0x10
    // Writes the final -1 and hands the block over (null when nothing was
    // written); the writer is empty afterwards.
    unsigned char* Finish();

private:
    bool Reserve();
    void FlushRun();
    void PutByte(unsigned char b);
    void PutInt(int32_t v);

    unsigned char* data_ = nullptr;
    size_t size_ = 0, capacity_ = 0;
    bool failed_ = false;
    bool inContour_ = false;
    int runDir_ = -1;
    long long runSteps_ = 0;
};

// The run bytes of one run, as the writer emits them.
std::vector<unsigned char> EncodeRun(OutlineDir dir, long long steps);

struct OutlineRun {
    OutlineDir dir;
    int steps;
};

struct OutlineContour {
    int x, y;
    std::vector<OutlineRun> runs;
};

// Reads a path back; a malformed path (bad direction, missing end) stops the
// read at the fault and answers false. Reading never passes limit bytes.
bool DecodeOutlinePath(const unsigned char* path, size_t limit, std::vector<OutlineContour>& out);

// Walks the runs of a path without building a copy: calls run(x, y, dir,
// steps) with the corner each run starts from. Stops at the final -1.
template <class F> void ForEachOutlineRun(const unsigned char* path, F run);

// Length of a well-formed path in bytes, final -1 included.
size_t OutlinePathLength(const unsigned char* path);

#include "outline_path_walk.h"

#endif
