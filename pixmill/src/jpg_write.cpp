// JPEG writer (JFIF, T.81): grey or YCbCr without subsampling, 8-bit
// quantisation tables scaled by quality; sequential with the example Huffman
// tables of Annex K, or progressive (interlaced) by a fixed ten-scan script
// with optimal Huffman tables for every scan.
#include <string.h>

#include <vector>

#include "byte_order.h"
#include "exceptions.h"
#include "jpg_decode_tables.h"
#include "jpg_encode.h"
#include "jpg_encode_entropy.h"
#include "jpgfile.h"
#include "scratch_block.h"

using namespace JpgEncode;

namespace {

const int MaxSide = 65535;  // SOF holds width and height in 16 bits
const int DefaultQuality = 75;
// Coded bytes are gathered up to this many before each write: a write per
// block would cost a system call per block on a file stream.
const size_t WriteChunk = 1 << 15;

// SOI; JFIF 1.01 without density units, aspect 1:1, no thumbnail; a comment.
const unsigned char Head[36] = {
    0xFF, 0xD8,                                                                  //
    0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0,  //
    0xFF, 0xFE, 0x00, 0x0E, 'C', 'o', 'r', 'v', 'a', 'n', 'e', ' ', 'L', 't', 'd', '.',
};

typedef std::vector<unsigned char> Bytes;

void Put16(Bytes& v, int x)
{
    unsigned char word[2];
    PutBE16(word, uint32_t(x));
    v.insert(v.end(), word, word + 2);
}

void Marker(Bytes& v, int code, int length)
{
    v.push_back(0xFF);
    v.push_back(static_cast<unsigned char>(code));
    Put16(v, length);
}

void WriteBytes(TOutputStream* s, const Bytes& v)
{
    s->WriteBuffer(v.data(), int(v.size()));
}

// What every stage of one Save needs to know about the picture.
struct Picture {
    Buffer* b;
    int width, height;
    int blocksX, blocksY;
    int components;  // 1 grey, 3 YCbCr
    QuantTable quant[2];
    bool progressive;

    int Blocks() const { return blocksX * blocksY; }
};

void PutQuantTables(Bytes& v, const Picture& pic)
{
    for (int t = 0; t < (pic.components == 3 ? 2 : 1); ++t) {
        Marker(v, 0xDB, 67);
        v.push_back(static_cast<unsigned char>(t));
        v.insert(v.end(), pic.quant[t].entry, pic.quant[t].entry + 64);
    }
}

void PutFrame(Bytes& v, const Picture& pic)
{
    Marker(v, pic.progressive ? 0xC2 : 0xC0, 8 + 3 * pic.components);
    v.push_back(8);
    Put16(v, pic.height);
    Put16(v, pic.width);
    v.push_back(static_cast<unsigned char>(pic.components));
    for (int c = 0; c < pic.components; ++c) {
        v.push_back(static_cast<unsigned char>(c + 1));
        v.push_back(0x11);
        v.push_back(c ? 1 : 0);
    }
}

void PutHuffTable(Bytes& v, int ac, int number, const HuffSpec& spec)
{
    Marker(v, 0xC4, 19 + spec.symbolCount);
    v.push_back(static_cast<unsigned char>(ac << 4 | number));
    v.insert(v.end(), spec.counts, spec.counts + 16);
    v.insert(v.end(), spec.symbols, spec.symbols + spec.symbolCount);
}

// components: indices 0..2 in frame order.
void PutScanHeader(Bytes& v, const int* components, int n, int ss, int se, int ah, int al)
{
    Marker(v, 0xDA, 6 + 2 * n);
    v.push_back(static_cast<unsigned char>(n));
    for (int i = 0; i < n; ++i) {
        v.push_back(static_cast<unsigned char>(components[i] + 1));
        v.push_back(components[i] ? 0x11 : 0x00);
    }
    v.push_back(static_cast<unsigned char>(ss));
    v.push_back(static_cast<unsigned char>(se));
    v.push_back(static_cast<unsigned char>(ah << 4 | al));
}

// Writes what the bit writer holds once there is at least minimum of it.
void Drain(TOutputStream* s, BitWriter& bits, size_t minimum)
{
    Bytes& v = bits.Bytes();
    if (v.empty() || v.size() < minimum) return;
    WriteBytes(s, v);
    v.clear();
}

// Quantised blocks of the area at block (bx, by), one per component.
void AreaBlocks(const Picture& pic, int bx, int by, int16_t (*zz)[64])
{
    unsigned long area[64];
    LoadArea(*pic.b, 8 * bx, 8 * by, area);
    int samples[3][64];
    if (pic.components == 1)
        AreaToGrey(area, samples[0]);
    else
        AreaToYCbCr(area, samples[0], samples[1], samples[2]);
    for (int c = 0; c < pic.components; ++c) {
        ForwardDCT(samples[c]);
        Quantise(samples[c], pic.quant[c ? 1 : 0], zz[c]);
    }
}

bool WriteSequential(TOutputStream* s, const Picture& pic)
{
    HuffCode dcCodes[2], acCodes[2];
    BuildCodes(Jpg::DcLuma, dcCodes[0]);
    BuildCodes(Jpg::AcLuma, acCodes[0]);
    BuildCodes(Jpg::DcChroma, dcCodes[1]);
    BuildCodes(Jpg::AcChroma, acCodes[1]);
    Bytes v;
    PutHuffTable(v, 0, 0, Jpg::DcLuma);
    PutHuffTable(v, 1, 0, Jpg::AcLuma);
    if (pic.components == 3) {
        PutHuffTable(v, 0, 1, Jpg::DcChroma);
        PutHuffTable(v, 1, 1, Jpg::AcChroma);
    }
    const int all[3] = {0, 1, 2};
    PutScanHeader(v, all, pic.components, 0, 63, 0, 0);
    WriteBytes(s, v);

    BitWriter bits;
    SymbolWriter dcw(bits, &dcCodes[0], &dcCodes[1]);
    SymbolWriter acw(bits, &acCodes[0], &acCodes[1]);
    int dc[3] = {0, 0, 0};
    int16_t zz[3][64];
    for (int by = 0; by < pic.blocksY; ++by) {
        for (int bx = 0; bx < pic.blocksX; ++bx) {
            AreaBlocks(pic, bx, by, zz);
            for (int c = 0; c < pic.components; ++c) CodeSequentialBlock(zz[c], dc[c], c ? 1 : 0, dcw, acw);
            Drain(s, bits, WriteChunk);
        }
        if (!GFXFile::Step(GFXFile::Percent(8LL * by, pic.height))) {
            bits.Flush();
            Drain(s, bits, 0);
            return false;
        }
    }
    bits.Flush();
    Drain(s, bits, 0);
    return true;
}

// Every quantised block of the picture, component after component, each
// component's blocks in rows: the order of a scan of that component alone.
class CoefficientStore {
public:
    explicit CoefficientStore(const Picture& pic)
        : blocks_(pic.Blocks()), data_(uint64_t(pic.blocksX) * uint64_t(pic.blocksY) * 64u * pic.components)
    {
        int16_t zz[3][64];
        for (int by = 0; by < pic.blocksY; ++by)
            for (int bx = 0; bx < pic.blocksX; ++bx) {
                AreaBlocks(pic, bx, by, zz);
                for (int c = 0; c < pic.components; ++c)
                    memcpy(Block(c, by * pic.blocksX + bx), zz[c], sizeof zz[c]);
            }
    }

    int16_t* Block(int component, int i) const { return data_.Get() + (size_t(component) * blocks_ + i) * 64; }

private:
    int blocks_;
    ScratchBlock<int16_t> data_;
};

// One scan of the progressive script; component 0 means all.
struct ScanStep {
    int component, ss, se, ah, al;
};

const ScanStep Script[10] = {
    {0, 0, 0, 0, 1}, {1, 1, 5, 0, 2},  {3, 1, 63, 0, 1}, {2, 1, 63, 0, 1}, {1, 6, 63, 0, 2},
    {1, 1, 63, 2, 1}, {0, 0, 0, 1, 0}, {3, 1, 63, 1, 0}, {2, 1, 63, 1, 0}, {1, 1, 63, 1, 0},
};

// The components a step codes, or 0 when a grey picture has none of them.
int ScanComponents(const ScanStep& step, const Picture& pic, int* list)
{
    if (step.component > pic.components) return 0;
    if (step.component > 0) {
        list[0] = step.component - 1;
        return 1;
    }
    for (int c = 0; c < pic.components; ++c) list[c] = c;
    return pic.components;
}

// Codes (or counts) every block of a scan; an interleaved scan takes the
// components' blocks at each place in turn. bits, when given, is drained
// into s as it fills.
void RunScan(const CoefficientStore& store, const Picture& pic, const ScanStep& step, const int* list, int n,
             SymbolWriter& w, TOutputStream* s, BitWriter* bits)
{
    ProgressiveCoder coder(w, step.ss, step.se, step.ah, step.al);
    for (int i = 0; i < pic.Blocks(); ++i) {
        for (int k = 0; k < n; ++k) coder.Block(store.Block(list[k], i), list[k], list[k] ? 1 : 0);
        if (bits) Drain(s, *bits, WriteChunk);
    }
    coder.Finish();
}

// Counts the scan's symbols and gives the optimal table of each table the
// scan uses (luma, chroma) as DHT segments and as codes.
void OptimalScanTables(const CoefficientStore& store, const Picture& pic, const ScanStep& step, const int* list,
                       int n, Bytes& v, HuffCode* codes)
{
    SymbolCounts counts[2];
    memset(counts, 0, sizeof counts);
    SymbolWriter counter(&counts[0], &counts[1]);
    RunScan(store, pic, step, list, n, counter, nullptr, nullptr);
    bool used[2] = {false, false};
    for (int k = 0; k < n; ++k) used[list[k] ? 1 : 0] = true;
    for (int t = 0; t < 2; ++t) {
        if (!used[t]) continue;
        OptimalSpec spec;
        OptimalTable(counts[t], spec);
        PutHuffTable(v, step.ss > 0, t, spec.Spec());
        BuildCodes(spec.Spec(), codes[t]);
    }
}

bool WriteProgressive(TOutputStream* s, const Picture& pic)
{
    CoefficientStore store(pic);
    for (int i = 0; i < 10; ++i) {
        const ScanStep& step = Script[i];
        int list[3];
        int n = ScanComponents(step, pic, list);
        if (!n) continue;
        Bytes v;
        HuffCode codes[2] = {};  // a table the scan does not use stays without codes
        bool dcRefinement = step.ss == 0 && step.ah > 0;  // plain bits, no table
        if (!dcRefinement) OptimalScanTables(store, pic, step, list, n, v, codes);
        PutScanHeader(v, list, n, step.ss, step.se, step.ah, step.al);
        WriteBytes(s, v);

        BitWriter bits;
        SymbolWriter coder(bits, &codes[0], &codes[1]);
        RunScan(store, pic, step, list, n, coder, s, &bits);
        bits.Flush();
        Drain(s, bits, 0);
        if (!GFXFile::Step(i * 10)) return false;  // by the place in the script, scans skipped or not
    }
    return true;
}

}  // namespace

bool JPGFile::Save(Buffer& b, TOutputStream* s, GFXtra32*, GFXSaveParams* p)
{
    // A zero-byte file is no JPEG; false makes the registry remove it.
    if (!b.pixels) return false;
    Picture pic;
    pic.b = &b;
    pic.width = b.Width();
    pic.height = b.Height();
    if (pic.width > MaxSide || pic.height > MaxSide) throw EInvalidImage("JPEG: picture wider or taller than 65535");
    pic.blocksX = (pic.width + 7) / 8;
    pic.blocksY = (pic.height + 7) / 8;
    pic.components = p && p->grey ? 1 : 3;
    pic.progressive = p && p->interlaced;  // interlaced means progressive here
    int q = p && p->quality ? p->quality : DefaultQuality;
    ScaleQuant(Jpg::LumaQuant, q, pic.quant[0]);
    ScaleQuant(Jpg::ChromaQuant, q, pic.quant[1]);

    Bytes v(Head, Head + sizeof Head);
    PutQuantTables(v, pic);
    PutFrame(v, pic);
    WriteBytes(s, v);
    bool complete = pic.progressive ? WriteProgressive(s, pic) : WriteSequential(s, pic);
    if (complete) {
        const unsigned char eoi[2] = {0xFF, 0xD9};
        s->WriteBuffer(eoi, 2);
    }
    return complete;
}
