// Inflate (RFC 1951) as a byte source over PNG IDAT chunks.
//
// Bits are fetched a byte at a time and only when a code needs them, so the
// decoder never reads further ahead than the 15 bits of one code: within a
// valid stream that stays inside the Adler-32 that ends it, and never runs
// into the chunk after the image data.
#include "inflate.h"

#include <string.h>

#include "crc32.h"
#include "exceptions.h"

namespace {

const uint32_t WindowMask = 32767;
const uint32_t MaxChunkLength = 0x7FFFFFFF;  // chunk lengths above this are not PNG

const uint16_t LengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const unsigned char LengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t DistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                   193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const unsigned char DistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
// The order in which a dynamic block lists the code-length code's lengths.
const unsigned char CodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

uint32_t BigEndian32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
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
    // Each fast entry is what the bit-by-bit walk below would find in the
    // first FastBits bits, so damaged codes (over-full or incomplete) decode
    // the same either way.
    for (int p = 0; p < (1 << FastBits); ++p) {
        int32_t c = p & 1;
        uint16_t entry = 0;
        for (int len = 1; len <= FastBits; ++len) {
            if (c < limit[len]) {
                entry = uint16_t(len << 12 | symbols[firstIndex[len] + c - firstCode[len]]);
                break;
            }
            c = c * 2 + ((p >> len) & 1);
        }
        fast[p] = entry;
    }
}

Inflater::Inflater(TStream* s, uint32_t chunkLength)
    : stream_(s), chunkLeft_(chunkLength), chunkCrc_(Crc32(0, "IDAT", 4))
{
    if (chunkLength > MaxChunkLength) throw EInvalidImage("PNG: chunk length beyond 2^31 - 1");
    memset(window_, 0, sizeof window_);
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
    if (BigEndian32(crc) != chunkCrc_) throw EInvalidImage("PNG: CRC error in an IDAT chunk");
}

void Inflater::NextChunk()
{
    EndChunk();
    unsigned char head[8];
    stream_->ReadBuffer(head, 8);
    if (memcmp(head + 4, "IDAT", 4) != 0) throw EInvalidImage("PNG: image data interrupted by another chunk");
    const uint32_t length = BigEndian32(head);
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
    int32_t c = bitBuf_ & 1;
    for (int len = 1; len < 16; ++len) {
        if (c < code.limit[len]) {
            bitBuf_ >>= len;
            bitCount_ -= len;
            return code.symbols[code.firstIndex[len] + c - code.firstCode[len]];
        }
        c = c * 2 + ((bitBuf_ >> len) & 1);
    }
    throw EInvalidImage("PNG: invalid Huffman code in the image data");
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
    fixedLoaded_ = true;
}

void Inflater::ReadDynamicCodes()
{
    fixedLoaded_ = false;
    const int hlit = int(Bits(5)) + 257;
    const int hdist = int(Bits(5)) + 1;
    const int hclen = int(Bits(4)) + 4;
    if (hlit > 286) throw EInvalidImage("PNG: more than 286 literal/length codes");
    unsigned char clLengths[19] = {};
    for (int i = 0; i < hclen; ++i) clLengths[CodeLengthOrder[i]] = static_cast<unsigned char>(Bits(3));
    InflateCode lengthCode;
    lengthCode.Build(clLengths, 19);

    unsigned char lengths[286 + 32];
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
}

size_t Inflater::CopyStored(unsigned char* dst, size_t n)
{
    size_t m = count_ < n ? count_ : n;
    size_t k = 0;
    while (k < m && bitCount_ > 0) dst[k++] = AlignedByte();
    while (k < m) {
        if (inPos_ == inFill_) {
            dst[k++] = Refill();
            continue;
        }
        size_t run = size_t(inFill_ - inPos_);
        if (run > m - k) run = m - k;
        memcpy(dst + k, input_ + inPos_, run);
        inPos_ += int(run);
        k += run;
    }
    for (size_t i = 0; i < m; ++i) {
        window_[write_] = dst[i];
        write_ = (write_ + 1) & WindowMask;
    }
    count_ -= uint32_t(m);
    if (count_ == 0) mode_ = BlockHeader;
    return m;
}

// Bytes before the first output read as 0: the window starts cleared.
size_t Inflater::CopyMatch(unsigned char* dst, size_t n)
{
    size_t m = count_ < n ? count_ : n;
    uint32_t from = (write_ - distance_) & WindowMask;
    for (size_t i = 0; i < m; ++i) {
        unsigned char b = window_[from];
        window_[write_] = b;
        dst[i] = b;
        from = (from + 1) & WindowMask;
        write_ = (write_ + 1) & WindowMask;
    }
    count_ -= uint32_t(m);
    if (count_ == 0) mode_ = Symbols;
    return m;
}

size_t Inflater::DecodeSymbols(unsigned char* dst, size_t n)
{
    size_t k = 0;
    while (k < n) {
        const int sym = Decode(litLen_);
        if (sym < 256) {
            window_[write_] = static_cast<unsigned char>(sym);
            write_ = (write_ + 1) & WindowMask;
            dst[k++] = static_cast<unsigned char>(sym);
            continue;
        }
        if (sym == 256) {
            mode_ = BlockHeader;
            return k;
        }
        // Fixed codes reach 286 and 287, which have no length.
        if (sym > 285) throw EInvalidImage("PNG: literal/length symbol 286 or 287");
        const uint32_t len = LengthBase[sym - 257] + Bits(LengthExtra[sym - 257]);
        if (len > 258) throw EInvalidImage("PNG: match longer than 258 bytes");
        const int dsym = Decode(dist_);
        if (dsym >= 30) throw EInvalidImage("PNG: distance symbol 30 or 31");
        distance_ = DistanceBase[dsym] + Bits(DistanceExtra[dsym]);
        count_ = len;
        mode_ = Match;
        k += CopyMatch(dst + k, n - k);
        if (mode_ == Match) return k;
    }
    return k;
}

// Up to n bytes; fewer only when the final block has ended.
size_t Inflater::Produce(unsigned char* dst, size_t n)
{
    size_t k = 0;
    while (k < n) {
        switch (mode_) {
        case BlockHeader:
            if (lastBlock_) return k;
            StartBlock();
            break;
        case Stored: k += CopyStored(dst + k, n - k); break;
        case Match: k += CopyMatch(dst + k, n - k); break;
        default: k += DecodeSymbols(dst + k, n - k); break;
        }
    }
    return k;
}

void Inflater::Read(unsigned char* dst, size_t n)
{
    const size_t got = Produce(dst, n);
    adler_ = Adler32(adler_, dst, got);
    if (got < n) throw EInvalidImage("PNG: image data ends before the picture does");
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
    if (BigEndian32(check) != adler_) throw EInvalidImage("PNG: Adler-32 of the image data does not match");
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
