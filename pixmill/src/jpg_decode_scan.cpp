// Decoding of one JPEG scan: MCUs row by row, restart markers, progress. A
// single-scan load turns each MCU into pixels at once; the multi-scan modes
// gather coefficients in the store until the end of the image.
#include "exceptions.h"
#include "gfxfile.h"
#include "jpg_decode.h"
#include "jpg_decode_blocks.h"

namespace Jpg {

namespace {

// Coefficients of a multi-scan load are stored as coded; they are
// dequantised once, at output.
const int16_t Unscaled[64] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                              1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
                              1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};

struct ScanState {
    int eobRun = 0;
    int restartsLeft;      // MCUs before the next restart marker
    int nextRestart = 0;   // expected marker index 0-7
};

void ResetPredictors(Frame& f)
{
    for (int i = 0; i < f.count; ++i) f.comp[i].predictor = 0;
}

// A restart marker must come next: RST0 to RST7 in turn.
void TakeRestart(Decoder& dec, ScanState& st)
{
    if (dec.bits.HoldsWholeBytes() || dec.in.Byte() != 0xFF)
        throw EInvalidImage("JPEG: restart marker missing");
    int code = dec.in.Byte();
    while (code == 0xFF) code = dec.in.Byte();  // fill bytes
    if (code != 0xD0 + st.nextRestart) throw EInvalidImage("JPEG: restart marker out of sequence");
    st.nextRestart = (st.nextRestart + 1) & 7;
    st.restartsLeft = dec.restartInterval;
    st.eobRun = 0;
    dec.bits.Reset();
    ResetPredictors(dec.frame);
}

void DecodeBlock(Decoder& dec, const Scan& s, ScanState& st, Component& c, const int16_t* q, int16_t* block)
{
    BitReader& in = dec.bits;
    switch (s.kind) {
    case Sequential:
        DecodeSequential(in, SequentialTables{&dec.dc[c.dcTable], &dec.ac[c.acTable], q, &c.predictor}, block);
        break;
    case DcFirst: DecodeDcFirst(in, dec.dc[c.dcTable], s.al, c.predictor, block); break;
    case DcRefine: DecodeDcRefine(in, s.al, block); break;
    case AcFirst: DecodeAcFirst(in, dec.ac[c.acTable], s.ss, s.se, s.al, st.eobRun, block); break;
    case AcRefine: DecodeAcRefine(in, dec.ac[c.acTable], s.ss, s.se, s.al, st.eobRun, block); break;
    }
}

// The tables of each block of a single-scan MCU, set once per scan.
struct McuTables {
    SequentialTables comp[3];
    const SequentialTables* block[MaxBlocksPerMcu];
};

// Fills t in place: its block pointers point into it.
void SetTables(McuTables& t, Decoder& dec, const Scan& s)
{
    for (int i = 0; i < dec.frame.count; ++i) {
        Component& c = dec.frame.comp[i];
        t.comp[i] = SequentialTables{&dec.dc[c.dcTable], &dec.ac[c.acTable], dec.quant[c.quant].q, &c.predictor};
    }
    for (int i = 0; i < s.blocks; ++i) t.block[i] = &t.comp[s.blockComp[i]];
}

// Single scan: the MCU's blocks dequantised as they are decoded, then pixels.
void DecodeMcuToPicture(Decoder& dec, const Scan& s, const McuTables& t, int mx, int my)
{
    int16_t blocks[MaxBlocksPerMcu][64];
    const int16_t* order[MaxBlocksPerMcu];
    for (int i = 0; i < s.blocks; ++i) ClearBlock(blocks[i]);
    DecodeSequentialMcu(dec.bits, t.block, s.blocks, blocks[0]);
    for (int i = 0; i < s.blocks; ++i) order[i] = blocks[i];
    PutMcu(dec, mx, my, order);
}

// Where block b of the frame's MCU m lies in the store.
int16_t* StoredBlock(Decoder& dec, int comp, int m, int sub)
{
    const Frame& f = dec.frame;
    const int64_t mcus = int64_t(f.mcusX) * f.mcusY;
    const int64_t index = comp == 0 ? int64_t(m) * f.lumaBlocks + sub : mcus * f.lumaBlocks + (comp - 1) * mcus + m;
    return dec.store.Get() + index * 64;
}

void DecodeMcuToStore(Decoder& dec, const Scan& s, ScanState& st, int mx, int my)
{
    const Frame& f = dec.frame;
    if (s.lumaAlone) {
        // An 8x8 block of the luma plane, inside the frame's MCU layout.
        const int hMask = (1 << f.hShift) - 1, vMask = (1 << f.vShift) - 1;
        const int m = (my >> f.vShift) * f.mcusX + (mx >> f.hShift);
        const int sub = (my & vMask) * f.comp[0].h + (mx & hMask);
        DecodeBlock(dec, s, st, dec.frame.comp[0], Unscaled, StoredBlock(dec, 0, m, sub));
        return;
    }
    const int m = my * f.mcusX + mx;
    for (int i = 0; i < s.blocks; ++i) {
        Component& c = dec.frame.comp[s.blockComp[i]];
        DecodeBlock(dec, s, st, c, Unscaled, StoredBlock(dec, s.blockComp[i], m, s.blockSub[i]));
    }
}

}  // namespace

bool DecodeScan(Decoder& dec, const Scan& s)
{
    ScanState st;
    st.restartsLeft = dec.restartInterval;
    dec.bits.Reset();
    ResetPredictors(dec.frame);
    const bool single = dec.mode == SingleScan;
    McuTables tables;
    if (single) SetTables(tables, dec, s);
    for (int my = 0; my < s.mcusY; ++my) {
        if (single && my * dec.frame.mcuHeight > dec.visible.bottom) break;
        for (int mx = 0; mx < s.mcusX; ++mx) {
            if (dec.restartInterval) {
                if (st.restartsLeft == 0) TakeRestart(dec, st);
                --st.restartsLeft;
            }
            if (single)
                DecodeMcuToPicture(dec, s, tables, mx, my);
            else
                DecodeMcuToStore(dec, s, st, mx, my);
        }
        if (!GFXFile::Step(GFXFile::Percent(dec.start + dec.in.Consumed(), dec.size))) return false;
    }
    dec.bits.Reset();
    if (single) MarkComplete(dec);
    return true;
}

}  // namespace Jpg
