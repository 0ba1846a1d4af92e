// Inflate (RFC 1951) as a byte source over PNG IDAT chunks.
//
// The careful path fetches bits a byte at a time and only when a code needs
// them, so it never reads further ahead than the 15 bits of one code: within
// a valid stream that stays inside the Adler-32 that ends it, and never runs
// into the chunk after the image data. The fast path takes whole bytes ahead,
// but only from the input already loaded from the current chunk; what it
// holds in the bit buffer is used up before any byte-aligned read.
#include "inflate.h"

// GCC's vectoriser would turn the short copies into vector moves, which make
// the decoding loop realign its stack and give up a register it needs.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC optimize("no-tree-vectorize")
#endif

#include <string.h>

#include "byte_order.h"
#include "crc32.h"
#include "deflate_tables.h"
#include "exceptions.h"

namespace {

const size_t MaxMatch = 258;
// Bytes decoded into the window at a time, before they are handed out.
const size_t FillPiece = 16384;
// Input the fast path needs at hand for one symbol and its match: at most
// 48 bits, read by 4-byte loads that start at most 9 bytes ahead.
const int FastInput = 16;
const uint32_t MaxChunkLength = 0x7FFFFFFF;  // chunk lengths above this are not PNG

// The code at the front of bits (at least 15 of them) walked a bit at a time,
// as the code lengths define it: the symbol and len, or -1 for no code.
int WalkCode(const InflateCode& code, uint32_t bits, int& len)
{
    int32_t c = bits & 1;
    for (len = 1; len < 16; ++len) {
        if (c < code.limit[len]) return code.symbols[code.firstIndex[len] + c - code.firstCode[len]];
        c = c * 2 + ((bits >> len) & 1);
    }
    return -1;
}

// Copies length bytes from distance back to d, byte by byte as far as the
// result goes: a distance shorter than the length repeats what was just
// copied. May write up to 7 bytes beyond the copy.
inline void CopyBack(unsigned char* d, uint32_t distance, uint32_t length)
{
    const unsigned char* s = d - distance;
    if (distance >= 8) {
        // Nearly every match of picture data: a few bytes from a pixel or a
        // row back, done in one or two steps. Each 8 bytes read lie wholly
        // behind the 8 written.
        uint32_t i = 0;
        do {
            memcpy(d + i, s + i, 8);
            i += 8;
        } while (i < length);
        return;
    }
    if (distance == 1) {
        // A run of one byte (most of a flat picture's image data), 8 bytes
        // at a time: one move under x86 emulation, as with the copies above.
        const uint64_t v = d[-1] * 0x0101010101010101ull;
        for (uint32_t i = 0; i < length; i += 8) memcpy(d + i, &v, 8);
        return;
    }
    uint32_t i = 0;
    if (length > 8) {
        // Once a few periods are written, the same bytes repeat at a
        // multiple of the distance that is 8 or more.
        static const unsigned char Period[8] = {0, 8, 8, 9, 8, 10, 12, 14};
        const uint32_t period = Period[distance];
        const uint32_t lead = length < period ? length : period;
        for (; i < lead; ++i) d[i] = s[i];
        s = d - period;
        for (; i < length; i += 8) memcpy(d + i, s + i, 8);
        return;
    }
    for (; i < length; ++i) d[i] = s[i];
}

// A fast table entry as FastSymbols takes it: the code length in bits 0-7,
// the extra bit count or one of the flags in bits 8-15, and the literal or
// the length or distance base in bits 16-31. 0 = a code longer than the table.
// Where the table's bits hold two literal codes, the entry has both: the
// lengths added, and the second literal in bits 24-31.
const uint32_t StepPair = 0x1000;
const uint32_t StepLiteral = 0x2000;
const uint32_t StepEnd = 0x4000;
const uint32_t StepInvalid = 0x8000;

uint32_t LitLenStep(int sym, int len)
{
    if (sym < 256) return uint32_t(sym) << 16 | StepLiteral | uint32_t(len);
    if (sym == 256) return StepEnd | uint32_t(len);
    if (sym >= LitLenSymbols) return StepInvalid | uint32_t(len);
    return uint32_t(LengthBase[sym - 257]) << 16 | uint32_t(LengthExtra[sym - 257]) << 8 | uint32_t(len);
}

uint32_t DistanceStep(int sym, int len)
{
    if (sym >= DistanceSymbols) return StepInvalid | uint32_t(len);
    return uint32_t(DistanceBase[sym]) << 16 | uint32_t(DistanceExtra[sym]) << 8 | uint32_t(len);
}

// Out of line, so that the fast path keeps its registers.
[[noreturn]] __attribute__((noinline)) void Invalid(const char* why)
{
    throw EInvalidImage(why);
}

// The step for a code too long for the fast table.
uint32_t WalkStep(const InflateCode& code, uint32_t bits, bool distance)
{
    int len;
    const int sym = WalkCode(code, bits, len);
    if (sym < 0) Invalid("PNG: invalid Huffman code in the image data");
    return distance ? DistanceStep(sym, len) : LitLenStep(sym, len);
}

}  // namespace

void InflateCode::Build(const unsigned char* lengths, int n)
{
    int count[16] = {};
    for (int i = 0; i < n; ++i) count[lengths[i] & 15]++;
    count[0] = 0;
    int32_t code = 0;
    int32_t index = 0;
    int32_t next[16] = {};
    for (int len = 1; len < 16; ++len) {
        firstIndex[len] = index;
        next[len] = index;
        firstCode[len] = code;
        code += count[len];
        limit[len] = code;
        index += count[len];
        code <<= 1;
    }
    for (int i = 0; i < n; ++i)
        if (lengths[i]) symbols[next[lengths[i] & 15]++] = uint16_t(i);
    // Each fast entry is what the bit-by-bit walk would find in the first
    // FastBits bits, so damaged codes (over-full or incomplete) decode the
    // same either way. The walk stops at the shortest length whose codes
    // hold the prefix, so shorter codes are entered last, over longer ones;
    // codes an over-full length pushes past its bits are never reached.
    memset(fast, 0, sizeof fast);
    for (int len = FastBits; len >= 1; --len) {
        const int32_t end = limit[len] < (1 << len) ? limit[len] : (1 << len);
        for (int32_t c = firstCode[len]; c < end; ++c) {
            uint32_t reversed = 0;
            for (int i = 0; i < len; ++i) reversed |= uint32_t((c >> i) & 1) << (len - 1 - i);
            const uint16_t entry = uint16_t(len << 12 | symbols[firstIndex[len] + c - firstCode[len]]);
            for (uint32_t p = reversed; p < (1u << FastBits); p += 1u << len) fast[p] = entry;
        }
    }
}

Inflater::Inflater(TStream* s, uint32_t chunkLength)
    : stream_(s), chunkLeft_(chunkLength), chunkCrc_(Crc32(0, "IDAT", 4))
{
    if (chunkLength > MaxChunkLength) throw EInvalidImage("PNG: chunk length beyond 2^31 - 1");
    memset(window_, 0, History);
}

// ---- chunk source ------------------------------------------------------

unsigned char Inflater::Refill()
{
    while (chunkLeft_ == 0) NextChunk();
    int n = chunkLeft_ < sizeof input_ ? int(chunkLeft_) : int(sizeof input_);
    stream_->ReadBuffer(input_, n);
    chunkCrc_ = Crc32(chunkCrc_, input_, size_t(n));
    chunkLeft_ -= uint32_t(n);
    inFill_ = n;
    inPos_ = 1;
    return input_[0];
}

void Inflater::EndChunk()
{
    unsigned char crc[4];
    stream_->ReadBuffer(crc, 4);
    if (GetBE32(crc) != chunkCrc_) throw EInvalidImage("PNG: CRC error in an IDAT chunk");
}

void Inflater::NextChunk()
{
    EndChunk();
    unsigned char head[8];
    stream_->ReadBuffer(head, 8);
    if (memcmp(head + 4, "IDAT", 4) != 0) throw EInvalidImage("PNG: image data interrupted by another chunk");
    const uint32_t length = GetBE32(head);
    if (length > MaxChunkLength) throw EInvalidImage("PNG: chunk length beyond 2^31 - 1");
    chunkLeft_ = length;
    chunkCrc_ = Crc32(0, "IDAT", 4);
}

int64_t Inflater::Consumed()
{
    return int64_t(stream_->GetPosition()) - (inFill_ - inPos_) - bitCount_ / 8;
}

// ---- bits --------------------------------------------------------------

// n at most 25, so that the byte added last still fits the 32-bit buffer.
void Inflater::Need(int n)
{
    while (bitCount_ < n) {
        bitBuf_ |= uint32_t(InputByte()) << bitCount_;
        bitCount_ += 8;
    }
}

uint32_t Inflater::Bits(int n)
{
    if (n == 0) return 0;
    Need(n);
    uint32_t v = bitBuf_ & ((1u << n) - 1);
    bitBuf_ = n < 32 ? bitBuf_ >> n : 0;
    bitCount_ -= n;
    return v;
}

void Inflater::DropToByte()
{
    int spare = bitCount_ & 7;
    bitBuf_ >>= spare;
    bitCount_ -= spare;
}

// After DropToByte: whole bytes still in the bit buffer come first.
unsigned char Inflater::AlignedByte()
{
    if (bitCount_ == 0) return InputByte();
    unsigned char b = static_cast<unsigned char>(bitBuf_);
    bitBuf_ >>= 8;
    bitCount_ -= 8;
    return b;
}

int Inflater::Decode(const InflateCode& code)
{
    Need(15);
    uint16_t entry = code.fast[bitBuf_ & ((1u << InflateCode::FastBits) - 1)];
    if (entry) {
        int len = entry >> 12;
        bitBuf_ >>= len;
        bitCount_ -= len;
        return entry & 0xFFF;
    }
    int len;
    const int sym = WalkCode(code, bitBuf_, len);
    if (sym < 0) throw EInvalidImage("PNG: invalid Huffman code in the image data");
    bitBuf_ >>= len;
    bitCount_ -= len;
    return sym;
}

// ---- blocks ------------------------------------------------------------

void Inflater::ReadZlibHeader()
{
    const unsigned cmf = AlignedByte();
    const unsigned flg = AlignedByte();
    if ((cmf & 0x0F) != 8) throw EInvalidImage("PNG: image data not deflate-compressed");
    if (cmf & 0x80) throw EInvalidImage("PNG: deflate window larger than 32 KB");
    if (flg & 0x20) throw EInvalidImage("PNG: image data asks for a preset dictionary");
    if ((cmf * 256 + flg) % 31 != 0) throw EInvalidImage("PNG: zlib header check fails");
}

void Inflater::StartBlock()
{
    if (lastBlock_) throw EInvalidImage("PNG: image data ends before the picture does");
    lastBlock_ = Bits(1) != 0;
    switch (Bits(2)) {
    case 0: {
        DropToByte();
        const uint32_t len = Bits(16);
        const uint32_t nlen = Bits(16);
        if ((len ^ 0xFFFF) != nlen) throw EInvalidImage("PNG: stored block length and its complement disagree");
        count_ = len;
        mode_ = len ? Stored : BlockHeader;
        break;
    }
    case 1:
        UseFixedCodes();
        mode_ = Symbols;
        break;
    case 2:
        ReadDynamicCodes();
        mode_ = Symbols;
        break;
    default: throw EInvalidImage("PNG: deflate block type 3");
    }
}

void Inflater::UseFixedCodes()
{
    if (fixedLoaded_) return;
    unsigned char lengths[288];
    memset(lengths, 8, 144);
    memset(lengths + 144, 9, 112);
    memset(lengths + 256, 7, 24);
    memset(lengths + 280, 8, 8);
    litLen_.Build(lengths, 288);
    memset(lengths, 5, 32);
    dist_.Build(lengths, 32);
    MakeSteps();
    fixedLoaded_ = true;
}

void Inflater::ReadDynamicCodes()
{
    fixedLoaded_ = false;
    const int hlit = int(Bits(5)) + 257;
    const int hdist = int(Bits(5)) + 1;
    const int hclen = int(Bits(4)) + 4;
    if (hlit > LitLenSymbols) throw EInvalidImage("PNG: more than 286 literal/length codes");
    unsigned char clLengths[CodeLengthSymbols] = {};
    for (int i = 0; i < hclen; ++i) clLengths[CodeLengthOrder[i]] = static_cast<unsigned char>(Bits(3));
    InflateCode lengthCode;
    lengthCode.Build(clLengths, CodeLengthSymbols);

    unsigned char lengths[LitLenSymbols + 32];
    const int total = hlit + hdist;
    int i = 0;
    while (i < total) {
        const int sym = Decode(lengthCode);
        if (sym < 16) {
            lengths[i++] = static_cast<unsigned char>(sym);
            continue;
        }
        unsigned char value = 0;
        int repeat;
        if (sym == 16) {
            if (i == 0) throw EInvalidImage("PNG: code length repeat with nothing to repeat");
            value = lengths[i - 1];
            repeat = 3 + int(Bits(2));
        } else if (sym == 17) {
            repeat = 3 + int(Bits(3));
        } else {
            repeat = 11 + int(Bits(7));
        }
        if (repeat > total - i) throw EInvalidImage("PNG: code length run beyond the code lengths");
        memset(lengths + i, value, size_t(repeat));
        i += repeat;
    }
    litLen_.Build(lengths, hlit);
    dist_.Build(lengths + hlit, hdist);
    MakeSteps();
}

void Inflater::MakeSteps()
{
    for (int p = 0; p < (1 << InflateCode::FastBits); ++p) {
        const uint16_t l = litLen_.fast[p];
        const uint16_t d = dist_.fast[p];
        uint32_t step = l ? LitLenStep(l & 0xFFF, l >> 12) : 0;
        if (step & StepLiteral) {
            // The bits behind the first code decide the second only when
            // its whole code lies inside the table's bits.
            const int len = l >> 12;
            const uint16_t second = litLen_.fast[p >> len];
            const int len2 = second >> 12;
            if (second && (second & 0xFFF) < 256 && len + len2 <= InflateCode::FastBits)
                step = uint32_t(second & 0xFF) << 24 | (step & 0xFF0000) | StepPair | StepLiteral | uint32_t(len + len2);
        }
        litLenSteps_[p] = step;
        distSteps_[p] = d ? DistanceStep(d & 0xFFF, d >> 12) : 0;
    }
}

size_t Inflater::CopyStored(size_t n)
{
    const size_t m = count_ < n ? count_ : n;
    size_t k = 0;
    while (k < m && bitCount_ > 0) {
        window_[write_++] = AlignedByte();
        k++;
    }
    while (k < m) {
        if (inPos_ == inFill_) {
            window_[write_++] = Refill();
            k++;
            continue;
        }
        size_t run = size_t(inFill_ - inPos_);
        if (run > m - k) run = m - k;
        memcpy(window_ + write_, input_ + inPos_, run);
        write_ += uint32_t(run);
        inPos_ += int(run);
        k += run;
    }
    count_ -= uint32_t(m);
    if (count_ == 0) mode_ = BlockHeader;
    return m;
}

// Bytes before the first output read as 0: the window starts cleared.
size_t Inflater::CopyMatch(size_t n)
{
    const size_t m = count_ < n ? count_ : n;
    CopyBack(window_ + write_, distance_, uint32_t(m));
    write_ += uint32_t(m);
    count_ -= uint32_t(m);
    if (count_ == 0) mode_ = Symbols;
    return m;
}

// One symbol at a time, or many through FastSymbols while input for a whole
// symbol is at hand. May decode up to MaxMatch - 1 bytes beyond n.
size_t Inflater::DecodeSymbols(size_t n)
{
    size_t k = 0;
    while (k < n) {
        if (inFill_ - inPos_ >= FastInput) {
            k += FastSymbols(n - k);
            if (mode_ != Symbols) return k;
            continue;
        }
        const int sym = Decode(litLen_);
        if (sym < 256) {
            window_[write_++] = static_cast<unsigned char>(sym);
            k++;
            continue;
        }
        if (sym == 256) {
            mode_ = BlockHeader;
            return k;
        }
        // Fixed codes reach 286 and 287, which have no length.
        if (sym >= LitLenSymbols) throw EInvalidImage("PNG: literal/length symbol 286 or 287");
        const uint32_t len = LengthBase[sym - 257] + Bits(LengthExtra[sym - 257]);
        if (len > 258) throw EInvalidImage("PNG: match longer than 258 bytes");
        const int dsym = Decode(dist_);
        if (dsym >= DistanceSymbols) throw EInvalidImage("PNG: distance symbol 30 or 31");
        distance_ = DistanceBase[dsym] + Bits(DistanceExtra[dsym]);
        count_ = len;
        mode_ = Match;
        k += CopyMatch(n - k);
        if (mode_ == Match) return k;
    }
    return k;
}

// The same decoding as DecodeSymbols with the bit buffer in locals, refilled
// by whole bytes from the loaded input without a test per byte: it runs
// while fewer than n bytes are decoded and at least FastInput bytes are
// loaded, or until the block ends.
// Aligned to a page: under x86 emulation (how the benchmarks run) a jump to
// another 4 KB page of code is looked up instead of linked directly, which
// made the loop a fifth slower wherever the linker happened to split it.
__attribute__((aligned(4096))) size_t Inflater::FastSymbols(size_t n)
{
    const unsigned char* in = input_ + inPos_;
    const unsigned char* const inEnd = input_ + inFill_ - FastInput;
    unsigned char* const start = window_ + write_;
    unsigned char* out = start;
    unsigned char* const outEnd = start + n;
    const uint32_t* const litLenSteps = litLenSteps_;
    const uint32_t* const distSteps = distSteps_;
    uint32_t bits = bitBuf_;
    int count = bitCount_;
    const uint32_t fastMask = (1u << InflateCode::FastBits) - 1;
    // Brings count to 24 or more: bits above count hold the next input's bits.
    auto refill = [&] {
        bits |= GetLE32(in) << count;
        in += (31 - count) >> 3;
        count |= 24;
    };
    // Masks from a table: a shift by a variable count costs more.
    static const uint32_t Low[16] = {0, 1, 3, 7, 15, 31, 63, 127, 255, 511, 1023, 2047, 4095, 8191, 16383, 32767};
    auto take = [&](int width) {
        const uint32_t v = bits & Low[width];
        bits >>= width;
        count -= width;
        return v;
    };
    while (out < outEnd && in <= inEnd) {
        if (count < 15) refill();
        uint32_t step = litLenSteps[bits & fastMask];
        if (!step) step = WalkStep(litLen_, bits, false);
        take(step & 0xFF);
        if (step & StepLiteral) {
            // One or two literals; the second byte written is overwritten
            // later when there is only one.
            out[0] = static_cast<unsigned char>(step >> 16);
            out[1] = static_cast<unsigned char>(step >> 24);
            out += 1 + ((step & StepPair) >> 12);
            continue;
        }
        if (step & (StepEnd | StepInvalid)) {
            // Fixed codes reach 286 and 287, which have no length.
            if (step & StepInvalid) Invalid("PNG: literal/length symbol 286 or 287");
            mode_ = BlockHeader;
            break;
        }
        // The shortest lengths, the commonest, have no extra bits.
        uint32_t len = step >> 16;
        int extra = (step >> 8) & 0x1F;
        if (extra) {
            if (count < extra) refill();
            len += take(extra);
        }
        if (count < 15) refill();
        step = distSteps[bits & fastMask];
        if (!step) step = WalkStep(dist_, bits, true);
        take(step & 0xFF);
        if (step & StepInvalid) Invalid("PNG: distance symbol 30 or 31");
        extra = (step >> 8) & 0x1F;
        if (count < extra) refill();
        const uint32_t distance = (step >> 16) + take(extra);
        CopyBack(out, distance, len);
        out += len;
    }
    // The careful path adds bytes at bitCount_ and expects nothing above it.
    bitBuf_ = bits & ((1u << count) - 1);
    bitCount_ = count;
    inPos_ = int(in - input_);
    write_ += uint32_t(out - start);
    return size_t(out - start);
}

// At least n bytes (at most FillPiece) into the window, and up to
// MaxMatch - 1 more; fewer only when the final block has ended.
size_t Inflater::Fill(size_t n)
{
    size_t k = 0;
    while (k < n) {
        switch (mode_) {
        case BlockHeader:
            if (lastBlock_) return k;
            StartBlock();
            break;
        case Stored: k += CopyStored(n - k); break;
        case Match: k += CopyMatch(n - k); break;
        default: k += DecodeSymbols(n - k); break;
        }
    }
    return k;
}

// Bytes decoded and not yet handed out, up to n, decoding more when none
// are; 0 only when the final block has ended.
size_t Inflater::Waiting(size_t n)
{
    if (read_ == write_) {
        // Nothing waits, so only the history has to stay.
        if (write_ + FillPiece + MaxMatch > WindowBytes - 16) {
            memmove(window_, window_ + write_ - History, History);
            write_ = History;
            read_ = History;
        }
        // Never more than asked for (but for the end of the last match):
        // damage further on must not fail a read that stops short of it.
        if (Fill(n < FillPiece ? n : FillPiece) == 0) return 0;
    }
    const size_t m = write_ - read_;
    return m < n ? m : n;
}

// Up to n bytes; fewer only when the final block has ended. Decodes into the
// window and hands out what is waiting there first.
size_t Inflater::Produce(unsigned char* dst, size_t n)
{
    size_t k = 0;
    while (k < n) {
        const size_t m = Waiting(n - k);
        if (m == 0) break;
        memcpy(dst + k, window_ + read_, m);
        read_ += uint32_t(m);
        k += m;
    }
    return k;
}

void Inflater::Read(unsigned char* dst, size_t n)
{
    const size_t got = Produce(dst, n);
    adler_ = Adler32(adler_, dst, got);
    if (got < n) throw EInvalidImage("PNG: image data ends before the picture does");
}

size_t Inflater::ReadInPlace(const unsigned char*& p, size_t n)
{
    if (n == 0) return 0;
    const size_t m = Waiting(n);
    if (m == 0) throw EInvalidImage("PNG: image data ends before the picture does");
    p = window_ + read_;
    read_ += uint32_t(m);
    adler_ = Adler32(adler_, p, m);
    return m;
}

unsigned char Inflater::NextByte()
{
    unsigned char b;
    Read(&b, 1);
    return b;
}

void Inflater::Finish()
{
    unsigned char scrap[1024];
    for (;;) {
        const size_t got = Produce(scrap, sizeof scrap);
        adler_ = Adler32(adler_, scrap, got);
        if (got < sizeof scrap) break;
    }
    DropToByte();
    unsigned char check[4];
    for (int i = 0; i < 4; ++i) check[i] = AlignedByte();
    if (GetBE32(check) != adler_) throw EInvalidImage("PNG: Adler-32 of the image data does not match");
    // The rest of the chunk the stream ended in, up to its CRC.
    bitBuf_ = 0;
    bitCount_ = 0;
    inPos_ = inFill_;
    while (chunkLeft_ > 0) {
        int n = chunkLeft_ < sizeof input_ ? int(chunkLeft_) : int(sizeof input_);
        stream_->ReadBuffer(input_, n);
        chunkCrc_ = Crc32(chunkCrc_, input_, size_t(n));
        chunkLeft_ -= uint32_t(n);
    }
    EndChunk();
}
