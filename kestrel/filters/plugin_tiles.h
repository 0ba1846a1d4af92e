// The tiles a plug-in filter reads and writes: the input, output and mask
// buffers the host builds when the filter asks for new rectangles (the
// advanceState callback), and the write-back of each finished output tile.
// Rectangles are the record's: bottom and right exclusive.
#ifndef KESTREL_PLUGIN_TILES_H
#define KESTREL_PLUGIN_TILES_H

#include <vector>

#include "buffer.h"
#include "plugin_api.h"

// What one buffer was built for; a change of any of it builds a new one.
struct TileKey {
    PSRect rect = {0, 0, 0, 0};
    int lo = 0, hi = -1;      // planes
    int pre = 0, post = 0;    // dummy planes around them
    int padding = 0;          // rows outside the picture: its low byte; -1 repeats the edge row
    int step = 1;             // sampling step
    bool operator==(const TileKey& o) const;
};

struct TileBuffer {
    TileKey key;
    bool valid = false;
    std::vector<unsigned char> bytes;
};

// The pictures a run works on and the buffers it has handed out.
class PlugInTiles {
public:
    // input: what the filter reads; output: where its results go (a copy
    // of input); filterRect exclusive; maskBit 0 for no mask.
    PlugInTiles(Buffer& input, Buffer& output, PSRect filterRect, unsigned long maskBit);

    // Brings the record's inData, outData and maskData up to its rects,
    // writing the previous output tile back first. noErr, or memFullErr
    // (the old buffers are then gone and the pointers null), or
    // errPlugInHostInsufficient for planes the picture does not have.
    OSErr Advance(FilterRecord& r);
    // Forgets every buffer without writing anything back (a failed run).
    void Discard();

    static int Step(Fixed rate) { return rate > 0x10000 ? rate >> 16 : 1; }

private:
    bool Build(TileBuffer& t, Buffer& src, int dummyValue);
    void WriteBack();
    bool BuildMask(int step);

    Buffer& input_;
    Buffer& output_;
    PSRect filter_;
    unsigned long maskBit_;
    TileBuffer in_, out_, mask_;
};

#endif
