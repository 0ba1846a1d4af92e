// JPEG writer: Huffman coding of blocks, sequential (T.81 F.1.2) and
// progressive (T.81 G.1.2).
#include <string.h>

#include "jpg_encode_entropy.h"

namespace JpgEncode {

namespace {

const int ZeroRun16 = 0xF0;
const int EndOfBlock = 0x00;
const int LongestEndOfBandRun = 0x7FFF;

// The low n bits that follow a magnitude category: the value itself, or
// for a negative one its one's complement.
uint32_t ValueBits(int v, int n)
{
    return uint32_t(v < 0 ? v - 1 : v) & ((1u << n) - 1);
}

// A DC difference: its category, then its bits.
void PutDifference(SymbolWriter& w, int table, int diff)
{
    int n = MagnitudeBits(diff);
    w.Symbol(table, n);
    if (n) w.Bits(ValueBits(diff, n), n);
}

}  // namespace

void CodeSequentialBlock(const int16_t* zz, int& dc, int table, SymbolWriter& dcw, SymbolWriter& acw)
{
    PutDifference(dcw, table, zz[0] - dc);
    dc = zz[0];
    int run = 0;
    for (int k = 1; k < 64; ++k) {
        int v = zz[k];
        if (!v) {
            ++run;
            continue;
        }
        for (; run > 15; run -= 16) acw.Symbol(table, ZeroRun16);
        int n = MagnitudeBits(v);
        acw.Symbol(table, run << 4 | n);
        acw.Bits(ValueBits(v, n), n);
        run = 0;
    }
    if (run) acw.Symbol(table, EndOfBlock);
}

ProgressiveCoder::ProgressiveCoder(SymbolWriter& w, int ss, int se, int ah, int al)
    : w_(w), ss_(ss), se_(se), ah_(ah), al_(al), dc_{0, 0, 0}, eobRun_(0), table_(0), pending_(0)
{
}

void ProgressiveCoder::Block(const int16_t* zz, int component, int table)
{
    if (ss_ == 0) {
        if (ah_ == 0)
            DCFirst(zz, component, table);
        else
            w_.Bits(uint32_t(zz[0] >> al_) & 1, 1);
    } else if (ah_ == 0) {
        ACFirst(zz, table);
    } else {
        ACRefine(zz, table);
    }
}

void ProgressiveCoder::Finish()
{
    FlushEndOfBand();
}

void ProgressiveCoder::DCFirst(const int16_t* zz, int component, int table)
{
    int v = zz[0] >> al_;
    PutDifference(w_, table, v - dc_[component]);
    dc_[component] = v;
}

// Magnitudes shifted right by Al, so a negative value keeps its sign
// symmetric: -3 >> 1 becomes -1, not -2.
void ProgressiveCoder::ACFirst(const int16_t* zz, int table)
{
    table_ = table;
    int run = 0;
    for (int k = ss_; k <= se_; ++k) {
        int c = zz[k];
        int magnitude = (c < 0 ? -c : c) >> al_;
        if (!magnitude) {
            ++run;
            continue;
        }
        FlushEndOfBand();
        for (; run > 15; run -= 16) w_.Symbol(table, ZeroRun16);
        int n = MagnitudeBits(magnitude);
        w_.Symbol(table, run << 4 | n);
        w_.Bits(ValueBits(c < 0 ? -magnitude : magnitude, n), n);
        run = 0;
    }
    if (run && ++eobRun_ == LongestEndOfBandRun) FlushEndOfBand();
}

// Coefficients that became significant in an earlier scan get one correction
// bit each, sent after the symbol that passes over them; those passed over
// by an end-of-band run wait until the run is sent.
void ProgressiveCoder::ACRefine(const int16_t* zz, int table)
{
    table_ = table;
    int magnitude[64];
    int lastNew = 0;  // the last coefficient that becomes significant in this scan
    for (int k = ss_; k <= se_; ++k) {
        int c = zz[k];
        magnitude[k] = (c < 0 ? -c : c) >> al_;
        if (magnitude[k] == 1) lastNew = k;
    }
    int base = pending_;  // this block's correction bits follow those waiting
    int mine = 0;
    int run = 0;
    for (int k = ss_; k <= se_; ++k) {
        if (!magnitude[k]) {
            ++run;
            continue;
        }
        // Zero runs past the last new coefficient are left to the end of band.
        while (run > 15 && k <= lastNew) {
            FlushEndOfBand();
            w_.Symbol(table, ZeroRun16);
            run -= 16;
            PutCorrections(corrections_ + base, mine);
            base = 0;
            mine = 0;
        }
        if (magnitude[k] > 1) {
            corrections_[base + mine++] = static_cast<unsigned char>(magnitude[k] & 1);
            continue;
        }
        FlushEndOfBand();
        w_.Symbol(table, run << 4 | 1);
        w_.Bits(zz[k] < 0 ? 0 : 1, 1);
        PutCorrections(corrections_ + base, mine);
        base = 0;
        mine = 0;
        run = 0;
    }
    if (run > 0 || mine > 0) {
        ++eobRun_;
        pending_ = base + mine;
        if (eobRun_ == LongestEndOfBandRun || pending_ > MaxPendingCorrections) FlushEndOfBand();
    }
}

// The pending run as symbol n << 4 with n = floor(log2 run), then the run's
// low n bits; then the correction bits that waited for it.
void ProgressiveCoder::FlushEndOfBand()
{
    if (eobRun_ == 0) return;
    int n = MagnitudeBits(eobRun_) - 1;
    w_.Symbol(table_, n << 4);
    if (n) w_.Bits(uint32_t(eobRun_) & ((1u << n) - 1), n);
    eobRun_ = 0;
    PutCorrections(corrections_, pending_);
    pending_ = 0;
}

void ProgressiveCoder::PutCorrections(const unsigned char* bits, int n)
{
    if (w_.Counting()) return;
    for (int i = 0; i < n; ++i) w_.Bits(bits[i], 1);
}

}  // namespace JpgEncode
