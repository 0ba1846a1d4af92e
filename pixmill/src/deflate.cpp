// Deflate with dynamic Huffman blocks, for PNG image data.
//
// Matches are found through exact chains rather than a hash: every position
// is linked to the previous one with the same two bytes, and from there to
// the previous ones with the same three and four bytes, so a search walks
// only candidates already known to agree on their first four bytes. The
// three- and four-byte links come from hashed heads, checked byte by byte;
// only when a colliding value took the head is the two- or three-byte chain
// walked. Each walk is bounded (MaxChain, MaxLinkWalk): filtered picture rows
// hold long chains of pairs like 00 00 whose third byte rarely agrees, and
// unbounded walks would make such pictures take time quadratic in their size.
//
// Positions are counted from the start of the stream; the window keeps the
// last 32 KB plus the look-ahead and slides by 32 KB when full.
#include "deflate.h"

#include <string.h>

#include "byte_order.h"
#include "crc32.h"
#include "deflate_tables.h"
#include "exceptions.h"

namespace {

const int32_t HistoryBytes = 32768;
const int32_t Mask = HistoryBytes - 1;
const int32_t MaxDistance = HistoryBytes - 1;  // keeps every chain slot walked still the position's own
const int MinMatch = 3;
const int MaxMatch = 258;
const int WaitingBeforeWork = 260;   // bytes held back so that a match can reach its full length
const int32_t FarShortMatch = 4096;  // a 3-byte match farther back costs more than its literals
const int SymbolRoom = 16384;
const int OutputBytes = 2048;
const int HeadBits = 15;  // of the hashed three- and four-byte heads
// Stream positions stay in 32 bits, with room for a slide's worth ahead.
const int32_t MaxInput = 0x7FFFFFFF - 2 * 65536;

// Symbol of every match length and distance, made once.
struct SymbolTables {
    unsigned char lengthCode[MaxMatch + 1];  // length to code - 257
    unsigned char distanceCode[512];         // distance - 1 below 256; else 256 + ((distance - 1) >> 7)
    SymbolTables()
    {
        for (int code = 0; code < 29; ++code) {
            int last = code == 28 ? MaxMatch : LengthBase[code] + (1 << LengthExtra[code]) - 1;
            for (int len = LengthBase[code]; len <= last && len <= MaxMatch; ++len)
                lengthCode[len] = static_cast<unsigned char>(code);
        }
        for (int code = 0; code < DistanceSymbols; ++code) {
            int first = DistanceBase[code] - 1;
            int last = first + (1 << DistanceExtra[code]) - 1;
            for (int d = first; d <= last; ++d) {
                if (d < 256)
                    distanceCode[d] = static_cast<unsigned char>(code);
                else
                    distanceCode[256 + (d >> 7)] = static_cast<unsigned char>(code);
            }
        }
    }
    int Length(int len) const { return lengthCode[len]; }
    int Distance(int32_t distance) const
    {
        int32_t d = distance - 1;
        return d < 256 ? distanceCode[d] : distanceCode[256 + (d >> 7)];
    }
};

const SymbolTables& Tables()
{
    static const SymbolTables tables;
    return tables;
}

uint32_t Reverse(uint32_t code, int bits)
{
    uint32_t r = 0;
    for (int i = 0; i < bits; ++i) {
        r = r << 1 | (code & 1);
        code >>= 1;
    }
    return r;
}

// Merges the two least frequent remaining symbols until one is left (the
// later symbol wins a tie), lengthening every member of both; size receives
// each symbol's unlimited code length.
void MergeLengths(const uint32_t* freq, int n, int* size)
{
    uint32_t f[LitLenSymbols];
    int others[LitLenSymbols];
    for (int i = 0; i < n; ++i) {
        f[i] = freq[i];
        others[i] = -1;
        size[i] = 0;
    }
    for (;;) {
        int c1 = -1, c2 = -1;
        uint32_t v = 0xFFFFFFFF;
        for (int i = 0; i < n; ++i)
            if (f[i] && f[i] <= v) v = f[i], c1 = i;
        v = 0xFFFFFFFF;
        for (int i = 0; i < n; ++i)
            if (f[i] && f[i] <= v && i != c1) v = f[i], c2 = i;
        if (c2 < 0) return;
        f[c1] += f[c2];
        f[c2] = 0;
        for (size[c1]++; others[c1] >= 0; size[c1]++) c1 = others[c1];
        others[c1] = c2;
        for (size[c2]++; others[c2] >= 0; size[c2]++) c2 = others[c2];
    }
}

}  // namespace

// The limit is kept as in T.81 Annex K.3: the longest codes move in pairs up
// to the deepest level with a free slot; the lengths are then handed back
// out in order of the original ones, shortest first.
void DeflateCodeLengths(const uint32_t* freq, int n, int limit, unsigned char* lengths)
{
    if (n <= 0) return;
    if (n > LitLenSymbols) n = LitLenSymbols;
    int size[LitLenSymbols];
    int used = 0, lone = 0;
    for (int i = 0; i < n; ++i)
        if (freq[i]) used++, lone = i;
    memset(lengths, 0, size_t(n));
    if (used == 0) return;
    if (used == 1) {
        lengths[lone] = 1;
        return;
    }
    MergeLengths(freq, n, size);
    int bits[LitLenSymbols + 1] = {};
    int longest = 0;
    for (int i = 0; i < n; ++i) {
        bits[size[i]]++;
        if (size[i] > longest) longest = size[i];
    }
    bits[0] = 0;
    for (int i = longest; i > limit; --i) {
        while (bits[i] > 0) {
            int j = i - 2;
            while (j > 0 && bits[j] == 0) j--;
            bits[i] -= 2;
            bits[i - 1]++;
            bits[j + 1] += 2;
            bits[j]--;
        }
    }
    int len = 1;
    for (int s = 1; s <= longest; ++s)
        for (int i = 0; i < n; ++i) {
            if (size[i] != s) continue;
            while (len <= limit && bits[len] == 0) len++;
            lengths[i] = static_cast<unsigned char>(len);
            bits[len]--;
        }
}

namespace {

// Canonical codes (RFC 1951 3.2.2), bit-reversed for least-significant-first output.
void CanonicalCodes(const unsigned char* lengths, int n, uint16_t* codes)
{
    int count[16] = {};
    for (int i = 0; i < n; ++i) count[lengths[i]]++;
    count[0] = 0;
    uint32_t next[16] = {};
    uint32_t code = 0;
    for (int len = 1; len < 16; ++len) {
        code = (code + uint32_t(count[len - 1])) << 1;
        next[len] = code;
    }
    for (int i = 0; i < n; ++i)
        codes[i] = lengths[i] ? uint16_t(Reverse(next[lengths[i]]++, lengths[i])) : 0;
}

}  // namespace

struct DeflateState {
    static const int WindowBytes = 2 * HistoryBytes + 272;  // two histories and a look-ahead
    unsigned char window[WindowBytes];
    int32_t head[65536];             // last position of each two-byte value; -1 none
    int32_t head3[1 << HeadBits];    // last position of a three-byte value by its hash; -1 none
    int32_t head4[1 << HeadBits];    // ... of a four-byte value
    int32_t prev2[HistoryBytes];     // by position modulo 32 KB: previous with the same two bytes
    int32_t prev3[HistoryBytes];     // ... the same three bytes
    int32_t prev4[HistoryBytes];     // ... the same four bytes
    uint16_t symbols[SymbolRoom];    // literal, or length + 256 followed by the distance
    uint32_t litFreq[LitLenSymbols];
    uint32_t distFreq[DistanceSymbols];
    unsigned char out[OutputBytes];
};

Deflater::Deflater(TStream* s) : stream_(s), block_(1), st_(block_.Get())
{
    // The chain slots need no clearing: a search only reaches positions that
    // were linked, and a position's slots are written when it is linked.
    memset(st_->head, 0xFF, sizeof st_->head);
    memset(st_->head3, 0xFF, sizeof st_->head3);
    memset(st_->head4, 0xFF, sizeof st_->head4);
    memset(st_->litFreq, 0, sizeof st_->litFreq);
    memset(st_->distFreq, 0, sizeof st_->distFreq);
    // Deflate with a 32 KB window, default level; (0x78 << 8 | 0x9C) is a multiple of 31.
    static const unsigned char header[2] = {0x78, 0x9C};
    stream_->WriteBuffer(header, 2);
    crc_ = Crc32(Crc32(0, "IDAT", 4), header, 2);
}

Deflater::~Deflater() = default;

__attribute__((always_inline)) inline unsigned char Deflater::At(int32_t pos) const
{
    return st_->window[pos - base_];
}

void Deflater::Put(const unsigned char* data, size_t n)
{
    if (n > size_t(MaxInput - received_)) throw EInvalidImage("PNG: image data beyond 2 GB");
    adler_ = Adler32(adler_, data, n);
    while (n > 0) {
        if (received_ - base_ == DeflateState::WindowBytes) Slide();
        size_t take = size_t(DeflateState::WindowBytes - (received_ - base_));
        if (take > n) take = n;
        memcpy(st_->window + (received_ - base_), data, take);
        received_ += int32_t(take);
        data += take;
        n -= take;
        if (received_ - processed_ > WaitingBeforeWork) Process(received_ - WaitingBeforeWork);
    }
}

// Only happens with at most WaitingBeforeWork bytes unprocessed, so a full
// history stays behind the next position.
void Deflater::Slide()
{
    memmove(st_->window, st_->window + HistoryBytes, size_t(DeflateState::WindowBytes - HistoryBytes));
    base_ += HistoryBytes;
}

namespace {

uint32_t HeadHash(uint32_t value)
{
    return (value * 2654435761u) >> (32 - HeadBits);
}

}  // namespace

// A position's predecessor with the same first n bytes (3 or 4): the hashed
// head when it holds those bytes, since every position is linked in order;
// else the first on the shorter chain from c that agrees in byte n - 1.
__attribute__((always_inline)) inline int32_t Deflater::Predecessor(int32_t& head, int32_t pos, int n, int32_t c, const int32_t* shorter)
{
    const int32_t lowest = pos - MaxDistance > 0 ? pos - MaxDistance : 0;
    const unsigned char* p = st_->window + (pos - base_);
    const int32_t h = head;
    head = pos;
    // The newest position of this hash is out of reach: so is every one
    // with the same bytes.
    if (h < lowest) return -1;
    const unsigned char* q = st_->window + (h - base_);
    if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2] && (n == 3 || q[3] == p[3])) return h;
    for (int steps = 0; c >= lowest && steps < MaxLinkWalk; ++steps) {
        if (At(c + n - 1) == p[n - 1]) return c;
        c = shorter[c & Mask];
    }
    return -1;
}

__attribute__((always_inline)) inline void Deflater::Link(int32_t pos)
{
    const int32_t avail = received_ - pos;
    if (avail < MinMatch) return;
    const unsigned char* p = st_->window + (pos - base_);
    const int32_t slot = pos & Mask;
    int32_t& head = st_->head[p[0] << 8 | p[1]];
    const int32_t c = head;
    head = pos;
    st_->prev2[slot] = c;
    st_->prev4[slot] = -1;
    const uint32_t three = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
    st_->prev3[slot] = Predecessor(st_->head3[HeadHash(three)], pos, 3, c, st_->prev2);
    if (avail < 4) return;
    int32_t& head4 = st_->head4[HeadHash(three | uint32_t(p[3]) << 24)];
    if (st_->prev3[slot] < 0) {
        head4 = pos;
        return;
    }
    st_->prev4[slot] = Predecessor(head4, pos, 4, st_->prev3[slot], st_->prev3);
}

namespace {

// Bytes p and q have in common, up to n.
int CommonLength(const unsigned char* p, const unsigned char* q, int n)
{
    int k = 0;
    for (; k + 4 <= n; k += 4) {
        uint32_t a, b;
        memcpy(&a, p + k, 4);
        memcpy(&b, q + k, 4);
        if (a != b) break;
    }
    while (k < n && p[k] == q[k]) k++;
    return k;
}

}  // namespace

// Longest match for pos within lookAhead bytes, 0 for none. Candidates are
// compared from their first byte, so the chains only steer the search and
// can never make a wrong match.
__attribute__((always_inline)) inline int Deflater::FindMatch(int32_t pos, int lookAhead, int maxChain, int32_t& distance)
{
    if (lookAhead < MinMatch) return 0;
    const unsigned char* p = st_->window + (pos - base_);
    const int32_t slot = pos & Mask;
    const int32_t lowest = pos - MaxDistance > 0 ? pos - MaxDistance : 0;
    const int nice = lookAhead < NiceLength ? lookAhead : NiceLength;
    int best = 0;
    const int32_t c3 = st_->prev3[slot];
    if (c3 >= lowest && CommonLength(p, st_->window + (c3 - base_), MinMatch) == MinMatch) {
        best = MinMatch;
        distance = pos - c3;
    }
    if (lookAhead > MinMatch) {
        int32_t c = st_->prev4[slot];
        for (int steps = 0; c >= lowest && steps < maxChain; ++steps) {
            const unsigned char* q = st_->window + (c - base_);
            if (q[best] == p[best]) {
                const int n = CommonLength(p, q, lookAhead);
                if (n > best) {
                    best = n;
                    distance = pos - c;
                    if (best >= nice) break;
                }
            }
            c = st_->prev4[c & Mask];
        }
    }
    if (best == MinMatch && distance > FarShortMatch) return 0;
    return best;
}

// Inside a long match only its last positions are linked: they are the
// nearest candidates for what follows, and the ones before them would mostly
// be found again at a greater distance. The linking itself waits for the
// next search, so that the search has one place to link from.
__attribute__((always_inline)) inline void Deflater::SkipInsideMatch(int32_t from, int32_t end)
{
    if (end - from > NiceLength) linked_ = end - LinkedTail;
}

// One step of lazy matching: a match found here is held back one position
// in case the next one starts a longer match.
__attribute__((always_inline)) inline void Deflater::ProcessOne(int lookAhead)
{
    const int32_t pos = processed_;
    for (; linked_ <= pos; ++linked_) Link(linked_);
    int32_t distance = 0;
    // Past a long held-back match a longer one is rare and saves little.
    const int chain = pendingLength_ >= GoodEnough ? MaxChain / 4 : MaxChain;
    const int n = pendingLength_ >= LazyEnough ? 0 : FindMatch(pos, lookAhead, chain, distance);
    if (pendingLength_ > 0 && pendingLength_ >= n) {
        const int32_t end = pos - 1 + pendingLength_;
        EmitMatch(pendingLength_, pendingDistance_);
        SkipInsideMatch(pos + 1, end);
        processed_ = end;
        pendingLength_ = 0;
    } else if (n == 0) {
        EmitLiteral(At(pos));
        processed_ = pos + 1;
    } else {
        if (pendingLength_ > 0) EmitLiteral(At(pos - 1));
        pendingLength_ = 0;
        if (n == lookAhead) {
            EmitMatch(n, distance);
            SkipInsideMatch(pos + 1, pos + n);
            processed_ = pos + n;
        } else {
            pendingLength_ = n;
            pendingDistance_ = distance;
            processed_ = pos + 1;
        }
    }
}

__attribute__((always_inline)) inline void Deflater::EmitLiteral(unsigned char b)
{
    if (symbolCount_ >= SymbolRoom) WriteBlock(false);
    st_->symbols[symbolCount_++] = b;
    st_->litFreq[b]++;
}

__attribute__((always_inline)) inline void Deflater::EmitMatch(int length, int32_t distance)
{
    if (symbolCount_ > SymbolRoom - 2) WriteBlock(false);
    st_->symbols[symbolCount_++] = uint16_t(length + 256);
    st_->symbols[symbolCount_++] = uint16_t(distance);
    st_->litFreq[257 + Tables().Length(length)]++;
    st_->distFreq[Tables().Distance(distance)]++;
}

// Positions up to until into symbols. The whole search is inlined into this
// one function, aligned to a page of code: under x86 emulation a jump or
// call to another 4 KB page is looked up instead of linked directly, which
// cost text a third of its speed where the linker split the search.
__attribute__((aligned(4096), noinline)) void Deflater::Process(int32_t until)
{
    while (processed_ < until) {
        const int32_t left = received_ - processed_;
        ProcessOne(left < MaxMatch ? int(left) : MaxMatch);
    }
}

void Deflater::PutBits(uint32_t value, int n)
{
    bits_ |= uint64_t(value) << bitCount_;
    bitCount_ += n;
    if (bitCount_ < 32) return;
    if (outFill_ + 4 > OutputBytes) FlushOutput();
    unsigned char* o = st_->out + outFill_;
    PutLE32(o, uint32_t(bits_));
    outFill_ += 4;
    bits_ >>= 32;
    bitCount_ -= 32;
}

void Deflater::FlushOutput()
{
    stream_->WriteBuffer(st_->out, outFill_);
    crc_ = Crc32(crc_, st_->out, size_t(outFill_));
    outFill_ = 0;
}

// The code lengths as one run-length coded sequence: counts the symbols
// into clFreq when it is given, else writes them with the codes.
void Deflater::WriteCodeLengths(const unsigned char* lengths, int n, const unsigned char* clLengths,
                                const uint16_t* clCodes, uint32_t* clFreq)
{
    auto put = [&](int sym, int extraBits, uint32_t extra) {
        if (clFreq) {
            clFreq[sym]++;
            return;
        }
        PutBits(clCodes[sym], clLengths[sym]);
        if (extraBits) PutBits(extra, extraBits);
    };
    for (int i = 0; i < n;) {
        const unsigned char v = lengths[i];
        int run = 1;
        while (i + run < n && lengths[i + run] == v) run++;
        i += run;
        if (v != 0) {
            put(v, 0, 0);
            int rest = run - 1;
            for (; rest >= 6; rest -= 6) put(16, 2, 3);
            if (rest < 3)
                for (; rest > 0; --rest) put(v, 0, 0);
            else
                put(16, 2, uint32_t(rest - 3));
        } else {
            int rest = run;
            for (; rest > 137; rest -= 138) put(18, 7, 127);
            if (rest < 3)
                for (; rest > 0; --rest) put(0, 0, 0);
            else if (rest <= 10)
                put(17, 3, uint32_t(rest - 3));
            else
                put(18, 7, uint32_t(rest - 11));
        }
    }
}

void Deflater::WriteBlock(bool last)
{
    DeflateState& s = *st_;
    s.litFreq[256]++;
    unsigned char lengths[LitLenSymbols + DistanceSymbols];
    unsigned char* distLengths = lengths + LitLenSymbols;
    DeflateCodeLengths(s.litFreq, LitLenSymbols, 15, lengths);
    DeflateCodeLengths(s.distFreq, DistanceSymbols, 15, distLengths);
    int lastLit = LitLenSymbols - 1;
    while (lastLit > 256 && lengths[lastLit] == 0) lastLit--;
    int lastDist = DistanceSymbols - 1;
    while (lastDist > 0 && distLengths[lastDist] == 0) lastDist--;
    // Literal/length lengths then distance lengths, coded as one sequence.
    unsigned char sequence[LitLenSymbols + DistanceSymbols];
    memcpy(sequence, lengths, size_t(lastLit + 1));
    memcpy(sequence + lastLit + 1, distLengths, size_t(lastDist + 1));
    const int sequenceLength = lastLit + 1 + lastDist + 1;

    uint32_t clFreq[CodeLengthSymbols] = {};
    WriteCodeLengths(sequence, sequenceLength, nullptr, nullptr, clFreq);
    unsigned char clLengths[CodeLengthSymbols];
    DeflateCodeLengths(clFreq, CodeLengthSymbols, 7, clLengths);
    // A lone code of one bit is an incomplete code, which strict decoders
    // refuse: give it a partner.
    int clUsed = 0;
    for (int i = 0; i < CodeLengthSymbols; ++i) clUsed += clLengths[i] != 0;
    if (clUsed == 1) clLengths[clLengths[0] ? 1 : 0] = 1;
    uint16_t clCodes[CodeLengthSymbols];
    CanonicalCodes(clLengths, CodeLengthSymbols, clCodes);
    int hclen = CodeLengthSymbols;
    while (hclen > 4 && clLengths[CodeLengthOrder[hclen - 1]] == 0) hclen--;

    PutBits(last ? 1 : 0, 1);
    PutBits(2, 2);
    PutBits(uint32_t(lastLit - 256), 5);
    PutBits(uint32_t(lastDist), 5);
    PutBits(uint32_t(hclen - 4), 4);
    for (int i = 0; i < hclen; ++i) PutBits(clLengths[CodeLengthOrder[i]], 3);
    WriteCodeLengths(sequence, sequenceLength, clLengths, clCodes, nullptr);

    uint16_t litCodes[LitLenSymbols];
    uint16_t distCodes[DistanceSymbols];
    CanonicalCodes(lengths, LitLenSymbols, litCodes);
    CanonicalCodes(distLengths, DistanceSymbols, distCodes);
    const SymbolTables& t = Tables();
    for (int i = 0; i < symbolCount_; ++i) {
        const int sym = s.symbols[i];
        if (sym < 256) {
            PutBits(litCodes[sym], lengths[sym]);
            continue;
        }
        const int length = sym - 256;
        const int32_t distance = s.symbols[++i];
        const int lc = t.Length(length);
        PutBits(litCodes[257 + lc], lengths[257 + lc]);
        if (LengthExtra[lc]) PutBits(uint32_t(length - LengthBase[lc]), LengthExtra[lc]);
        const int dc = t.Distance(distance);
        PutBits(distCodes[dc], distLengths[dc]);
        if (DistanceExtra[dc]) PutBits(uint32_t(distance - DistanceBase[dc]), DistanceExtra[dc]);
    }
    PutBits(litCodes[256], lengths[256]);
    memset(s.litFreq, 0, sizeof s.litFreq);
    memset(s.distFreq, 0, sizeof s.distFreq);
    symbolCount_ = 0;
}

uint32_t Deflater::Finish()
{
    Process(received_);
    WriteBlock(true);
    // The last bits, padded with zeros to a whole byte.
    while (bitCount_ > 0) {
        if (outFill_ == OutputBytes) FlushOutput();
        st_->out[outFill_++] = static_cast<unsigned char>(bits_);
        bits_ >>= 8;
        bitCount_ = bitCount_ > 8 ? bitCount_ - 8 : 0;
    }
    for (int shift = 24; shift >= 0; shift -= 8) {
        if (outFill_ == OutputBytes) FlushOutput();
        st_->out[outFill_++] = static_cast<unsigned char>(adler_ >> shift);
    }
    FlushOutput();
    return crc_;
}
