// JPEG marker segments before and between scans: frame header (SOF0-SOF2),
// Huffman tables (DHT), quantisation tables (DQT), restart interval (DRI)
// and scan headers (SOS).
#include <string.h>

#include "byte_order.h"
#include "exceptions.h"
#include "jpg_decode.h"
#include "jpg_decode_tables.h"
#include "picture_limits.h"
#include "stream_room.h"

namespace Jpg {

unsigned Word16(StreamBuf& in)
{
    unsigned hi = in.Byte();
    return hi << 8 | in.Byte();
}

const char* FrameProblem(const unsigned char* head, int length)
{
    const int count = head[5];
    if (!(head[1] | head[2]) || !(head[3] | head[4])) return "JPEG: zero width or height";
    if (count != 1 && count != 3) return "JPEG: component count not 1 or 3";
    if (length != 3 * count + 8) return "JPEG: frame header length does not fit its component count";
    if (head[0] != 8) return "JPEG: sample precision not 8 bits";
    if ((head[6] & 3) > 1) return "JPEG: first component identifier not 0 or 1 in its low two bits";
    if (head[8] > 3) return "JPEG: quantisation table number above 3";
    const int sampling = head[7];
    if (sampling != 0x11 && !(count == 3 && (sampling == 0x21 || sampling == 0x22)))
        return "JPEG: luma sampling not 1x1, 2x1 or 2x2 (2x1 and 2x2 only with colour)";
    if (count == 1) return nullptr;
    if (head[9] != 2 && head[9] != head[6] + 1) return "JPEG: second component identifier neither 2 nor the first + 1";
    if (head[12] != 3 && head[12] != head[9] + 1) return "JPEG: third component identifier neither 3 nor the second + 1";
    if (head[10] != 0x11 || head[13] != 0x11) return "JPEG: chroma sampling not 1x1";
    if (head[11] > 3 || head[14] > 3) return "JPEG: quantisation table number above 3";
    return nullptr;
}

namespace {

void SetUpFrame(Frame& f, const unsigned char* head)
{
    f.height = int(GetBE16(head + 1));
    f.width = int(GetBE16(head + 3));
    f.count = head[5];
    for (int i = 0; i < f.count; ++i) {
        Component& c = f.comp[i];
        c.id = head[6 + 3 * i];
        c.h = head[7 + 3 * i] >> 4;
        c.v = head[7 + 3 * i] & 15;
        c.quant = head[8 + 3 * i];
        c.dcTable = c.acTable = 0;
        c.predictor = 0;
    }
    f.hShift = f.comp[0].h - 1;
    f.vShift = f.comp[0].v - 1;
    f.lumaBlocks = f.comp[0].h * f.comp[0].v;
    f.mcuWidth = 8 << f.hShift;
    f.mcuHeight = 8 << f.vShift;
    f.mcusX = (f.width + f.mcuWidth - 1) / f.mcuWidth;
    f.mcusY = (f.height + f.mcuHeight - 1) / f.mcuHeight;
}

// Allocates an empty target and notes which part of the picture the target
// shows. That part is cleared, so that black shows where a damaged file
// ends, only when the load ends early (see ~Decoder).
void PrepareTarget(Decoder& dec)
{
    const Frame& f = dec.frame;
    Buffer& b = dec.b;
    if (!b.pixels) {
        // A sequential scan spends at least one Huffman code, one bit, on
        // every MCU. Progressive scans may skip whole bands with one
        // end-of-band run, so they give no such bound.
        if (dec.mode != Progressive) RequireBytes(BytesLeft(dec.in), (int64_t(f.mcusX) * f.mcusY + 7) / 8);
        b.Alloc(Pair<int>{f.width, f.height});
    }
    dec.restTop = dec.restLeft = 0;
    Rect& v = dec.visible;
    v = Rect{0, 0, -1, -1};
    if (!b.pixels) return;
    v.left = b.left > 0 ? b.left : 0;
    v.top = b.top > 0 ? b.top : 0;
    v.right = b.right < f.width - 1 ? b.right : f.width - 1;
    v.bottom = b.bottom < f.height - 1 ? b.bottom : f.height - 1;
    if (v.right < v.left || v.bottom < v.top) v = Rect{0, 0, -1, -1};
}

}  // namespace

void ReadFrame(Decoder& dec, int length)
{
    if (dec.haveFrame) throw EInvalidImage("JPEG: more than one frame header");
    if (length < 9) throw EInvalidImage("JPEG: frame header shorter than 9 bytes");
    unsigned char head[15];
    dec.in.Read(head, 9);
    if (head[5] == 3 && length == 15) dec.in.Read(head + 9, 6);
    if (const char* problem = FrameProblem(head, length + 2)) throw EInvalidImage(problem);
    SetUpFrame(dec.frame, head);
    if (int64_t(dec.frame.width) * dec.frame.height > MaxPicturePixels)
        throw EInvalidImage("JPEG: more than 2^28 pixels");
    dec.haveFrame = true;
    PrepareTarget(dec);
}

void ReadHuffmanTables(Decoder& dec, int length)
{
    while (length > 0) {
        if (length < 17) throw EInvalidImage("JPEG: Huffman table segment ends inside a table");
        const int which = dec.in.Byte();
        if (which & ~0x13) throw EInvalidImage("JPEG: Huffman table class above 1 or number above 3");
        unsigned char counts[16], symbols[256];
        dec.in.Read(counts, 16);
        length -= 17;
        int total = 0;
        for (int i = 0; i < 16; ++i) total += counts[i];
        if (total > 256) throw EInvalidImage("JPEG: Huffman table of more than 256 symbols");
        if (total > length) throw EInvalidImage("JPEG: Huffman table symbols beyond the segment");
        dec.in.Read(symbols, total);
        length -= total;
        HuffmanTable* tables = which & 0x10 ? dec.ac : dec.dc;
        BuildHuffman(tables[which & 3], counts, symbols);
    }
}

void ReadQuantTables(Decoder& dec, int length)
{
    while (length > 0) {
        const int which = dec.in.Byte();
        length -= 1;
        if ((which & 15) > 3) throw EInvalidImage("JPEG: quantisation table number above 3");
        const bool wide = (which >> 4) != 0;
        if ((wide ? 128 : 64) > length) throw EInvalidImage("JPEG: quantisation table beyond the segment");
        int16_t* q = dec.quant[which & 15].q;
        for (int k = 0; k < 64; ++k) q[k] = int16_t(wide ? Word16(dec.in) : dec.in.Byte());
        length -= wide ? 128 : 64;
    }
}

void ReadRestartInterval(Decoder& dec, int length)
{
    if (length != 2) throw EInvalidImage("JPEG: restart interval segment length not 4");
    dec.restartInterval = int(Word16(dec.in));
}

namespace {

// The tables a stream without DQT or DHT segments is coded with.
void DefaultTables(Decoder& dec)
{
    if (!dec.quant[0].q[0])
        for (int k = 0; k < 64; ++k) dec.quant[0].q[k] = LumaQuant[k];
    if (!dec.quant[1].q[0])
        for (int k = 0; k < 64; ++k) dec.quant[1].q[k] = ChromaQuant[k];
    const HuffmanSpec* specs[4] = {&DcLuma, &DcChroma, &AcLuma, &AcChroma};
    HuffmanTable* tables[4] = {&dec.dc[0], &dec.dc[1], &dec.ac[0], &dec.ac[1]};
    for (int i = 0; i < 4; ++i)
        if (!tables[i]->defined) BuildHuffman(*tables[i], specs[i]->counts, specs[i]->symbols);
}

// At the first scan: the mode and its memory.
void FirstScan(Decoder& dec, int scanCount)
{
    const Frame& f = dec.frame;
    if (dec.mode == SingleScan && scanCount < f.count) dec.mode = MultiScanSequential;
    if (dec.mode != SingleScan) {
        const uint64_t blocks = uint64_t(f.mcusX) * uint64_t(f.mcusY) * uint64_t(f.count + f.lumaBlocks - 1);
        dec.store.Take(blocks * 64);
        memset(dec.store.Get(), 0, size_t(blocks * 64 * sizeof(int16_t)));
    }
    DefaultTables(dec);
    dec.scanned = true;
}

ScanKind ProgressiveKind(const Scan& s)
{
    if (s.se < s.ss || s.se > 63) throw EInvalidImage("JPEG: spectral band not within 0-63 in order");
    if (s.al > 13) throw EInvalidImage("JPEG: successive approximation shift above 13");
    if (s.ah != 0 && s.ah != s.al + 1) throw EInvalidImage("JPEG: refinement not one bit below the previous scan");
    if (s.ss == 0) return s.ah ? DcRefine : DcFirst;
    if (s.count != 1) throw EInvalidImage("JPEG: progressive AC scan of more than one component");
    return s.ah ? AcRefine : AcFirst;
}

void CheckTables(const Decoder& dec, const Scan& s)
{
    for (int i = 0; i < s.count; ++i) {
        const Component& c = dec.frame.comp[s.comp[i]];
        const bool needDc = s.kind == Sequential || s.kind == DcFirst;
        const bool needAc = s.kind == Sequential || s.kind == AcFirst;
        if (needDc && !dec.dc[c.dcTable].defined) throw EInvalidImage("JPEG: scan uses an undefined DC table");
        if (needAc && !dec.ac[c.acTable].defined) throw EInvalidImage("JPEG: scan uses an undefined AC table");
        if (s.kind == Sequential && !dec.quant[c.quant].q[0])
            throw EInvalidImage("JPEG: scan uses an undefined quantisation table");
        if (dec.mode == SingleScan && s.comp[i] != i)
            throw EInvalidImage("JPEG: scan components not in frame order");
    }
}

// The blocks of one MCU and the MCU grid of the scan.
void LayOut(const Frame& f, Scan& s)
{
    s.blocks = 0;
    for (int i = 0; i < s.count; ++i) {
        const int n = s.comp[i] == 0 && s.count > 1 ? f.lumaBlocks : 1;
        for (int j = 0; j < n; ++j) {
            s.blockComp[s.blocks] = s.comp[i];
            s.blockSub[s.blocks] = j;
            ++s.blocks;
        }
    }
    s.lumaAlone = s.count == 1 && s.comp[0] == 0;
    s.mcusX = s.lumaAlone ? (f.width + 7) / 8 : f.mcusX;
    s.mcusY = s.lumaAlone ? (f.height + 7) / 8 : f.mcusY;
}

}  // namespace

Scan ReadScanHeader(Decoder& dec, int length)
{
    if (!dec.haveFrame) throw EInvalidImage("JPEG: scan before the frame header");
    Frame& f = dec.frame;
    Scan s = Scan();
    s.count = length > 0 ? dec.in.Byte() : 0;
    if (length != 2 * s.count + 4) throw EInvalidImage("JPEG: scan header length does not fit its component count");
    if (s.count < 1 || s.count > f.count) throw EInvalidImage("JPEG: scan of no components or more than the frame's");
    int tables[3];
    for (int i = 0; i < s.count; ++i) {
        const int id = dec.in.Byte();
        tables[i] = dec.in.Byte();
        s.comp[i] = -1;
        for (int c = 0; c < f.count && s.comp[i] < 0; ++c)
            if (f.comp[c].id == id) s.comp[i] = c;
        if (s.comp[i] < 0) throw EInvalidImage("JPEG: scan names a component the frame lacks");
        for (int j = 0; j < i; ++j)
            if (s.comp[j] == s.comp[i]) throw EInvalidImage("JPEG: scan names a component twice");
        if ((tables[i] >> 4) > 3 || (tables[i] & 15) > 3) throw EInvalidImage("JPEG: Huffman table number above 3");
    }
    s.ss = dec.in.Byte();
    s.se = dec.in.Byte();
    const int approx = dec.in.Byte();
    s.ah = approx >> 4;
    s.al = approx & 15;

    if (!dec.scanned) FirstScan(dec, s.count);
    for (int i = 0; i < s.count; ++i) {
        f.comp[s.comp[i]].dcTable = tables[i] >> 4;
        f.comp[s.comp[i]].acTable = tables[i] & 15;
    }
    s.kind = dec.mode == Progressive ? ProgressiveKind(s) : Sequential;
    CheckTables(dec, s);
    LayOut(f, s);
    return s;
}

}  // namespace Jpg
