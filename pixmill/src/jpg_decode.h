// The JPEG reader's state for one Load, and the steps the marker loop of
// jpgfile.cpp calls: segment parsing, scan decoding and picture output.
#ifndef PIXMILL_JPG_DECODE_H
#define PIXMILL_JPG_DECODE_H

#include <stdint.h>

#include "buffer.h"
#include "gfxstream.h"
#include "jpg_decode_bits.h"
#include "jpg_decode_colour.h"
#include "jpg_decode_idct.h"
#include "scratch_block.h"
#include "streambuf.h"

namespace Jpg {

enum Mode {
    MultiScanSequential = -1,  // sequential, components in separate scans
    SingleScan = 0,            // sequential, one interleaved scan: decoded straight to pixels
    Progressive = 1,
};

enum ScanKind { Sequential, DcFirst, DcRefine, AcFirst, AcRefine };

const int MaxBlocksPerMcu = 6;  // 2x2 luma and one block of each chroma component

struct Component {
    int id;
    int h, v;              // sampling factors
    int quant;             // quantisation table number
    int dcTable, acTable;  // Huffman tables named by the current scan
    int16_t predictor;     // DC of the previous block, in the units the block stores
};

struct Frame {
    int width, height;
    int count;             // 1 (grey) or 3 (YCbCr)
    Component comp[3];
    int hShift, vShift;    // luma H - 1 and V - 1
    int lumaBlocks;        // H * V
    int mcuWidth, mcuHeight;
    int mcusX, mcusY;
};

// Entries in zig-zag order; entry 0 zero means not defined.
struct QuantTable {
    int16_t q[64];
};

struct Scan {
    int count;
    int comp[3];           // frame component of each scan component
    int ss, se, ah, al;
    ScanKind kind;
    int blocks;            // blocks per MCU
    int blockComp[MaxBlocksPerMcu];  // frame component of each block
    int blockSub[MaxBlocksPerMcu];   // its luma block inside the frame's MCU (row by row)
    bool lumaAlone;        // component 1 by itself, walked in 8x8 blocks
    int mcusX, mcusY;      // MCUs (or blocks, for lumaAlone) of the scan
};

struct Decoder {
    Decoder(Buffer& target, TInputStream* s);
    // Blackens what was not decoded (see Rest), however the load ends.
    ~Decoder();
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    Buffer& b;
    StreamBuf in;
    BitReader bits;
    int64_t start, size;   // stream position at the SOI, stream size: for progress
    bool haveFrame;
    Frame frame;
    Mode mode;
    bool scanned;          // a scan header was read
    QuantTable quant[4];
    HuffmanTable dc[4], ac[4];
    int restartInterval;   // MCUs between restart markers; 0 = none
    // Multi-scan modes: every block of the picture, luma blocks of all MCUs
    // first, then one Cb block per MCU, then one Cr block per MCU.
    ScratchBlock<int16_t> store;
    Rect visible;          // the picture's part inside b; empty when none
    // MCUs are written in raster order, so the visible pixels not yet written
    // are those of the MCU row at restTop from restLeft on, and every row
    // below it. Clearing them only when the load fails or is cancelled spares
    // a pass over the whole picture.
    int restTop = 0, restLeft = 0;
    // The vector or scalar inverse transform, chosen once per load, and the
    // whole-MCU converter, chosen at the first MCU.
    Transform transform = ChosenTransform();
    McuConverter convertMcu = nullptr;
};

// Big-endian 16-bit value from the stream.
unsigned Word16(StreamBuf& in);

// The first frame rule that head (precision, height, width, count, then the
// components: 9 bytes, 15 with three components) and the segment's length
// break, or null. Bytes after the first component are read only when the
// count and length agree on three components.
const char* FrameProblem(const unsigned char* head, int length);

// Segments; length counts the bytes after the length field.
void ReadFrame(Decoder& dec, int length);
void ReadHuffmanTables(Decoder& dec, int length);
void ReadQuantTables(Decoder& dec, int length);
void ReadRestartInterval(Decoder& dec, int length);
Scan ReadScanHeader(Decoder& dec, int length);

// Decodes the scan whose header was read; false when the progress hook
// cancelled. A single-scan load stops below the bottom of b.
bool DecodeScan(Decoder& dec, const Scan& scan);

// Writes the visible pixels of the frame's MCU (mx, my) from its dequantised
// blocks: luma blocks row by row, then Cb and Cr.
void PutMcu(Decoder& dec, int mx, int my, const int16_t* const* blocks);
// Notes that every visible pixel is written.
void MarkComplete(Decoder& dec);
// Multi-scan modes at the end of the image: every stored block dequantised,
// transformed and written.
void OutputStore(Decoder& dec);

}  // namespace Jpg

#endif
