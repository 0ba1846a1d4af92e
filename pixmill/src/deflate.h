// The compressor the PNG writer feeds its filtered rows into: a zlib stream
// (RFC 1950) of dynamic-Huffman deflate blocks (RFC 1951), written straight
// into the IDAT chunk that the caller has opened, whose CRC it keeps.
#ifndef PIXMILL_DEFLATE_H
#define PIXMILL_DEFLATE_H

#include <stddef.h>
#include <stdint.h>

#include "scratch_block.h"
#include "streams.h"

struct DeflateState;

// Code lengths of at most limit bits (and at most 286 symbols) for the
// frequencies: Huffman lengths, the longest brought down to the limit; a
// lone used symbol gets 1 bit, unused ones 0.
void DeflateCodeLengths(const uint32_t* freq, int n, int limit, unsigned char* lengths);

class Deflater {
public:
    // Writes the zlib header to s, which stands just behind the chunk type
    // "IDAT". Takes its work memory as one block, given back by the destructor
    // whether or not Finish was reached.
    explicit Deflater(TStream* s);
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    ~Deflater();

    void Put(const unsigned char* data, size_t n);
    void PutByte(unsigned char b) { Put(&b, 1); }
    // Codes what is still waiting, ends the stream with its Adler-32 and
    // returns the CRC of the chunk: "IDAT" and every byte written.
    uint32_t Finish();

    // Chain steps a match search may take: bounds the time any input can
    // cost. The chains hold only candidates agreeing in four bytes, so
    // fewer steps are needed than with hashed chains; on text 32 steps cost
    // half a percent of size against 128, in less than half the search time.
    static const int MaxChain = 32;
    // Steps to find a position's first three- and four-byte predecessors.
    static const int MaxLinkWalk = 32;
    // A held-back match this long is emitted without looking one byte
    // further: a longer match behind it seldom pays for the search (with
    // text and filtered rows, 6 gives smaller output than 16 too).
    static const int LazyEnough = 6;
    // After a held-back match this long the next search takes a quarter of the steps.
    static const int GoodEnough = 4;
    // A match this long ends the search.
    static const int NiceLength = 128;
    // Of a match longer than NiceLength only this many last positions are linked.
    static const int LinkedTail = 16;

private:
    void Slide();
    int32_t Predecessor(int32_t& head, int32_t pos, int n, int32_t c, const int32_t* shorter);
    void Link(int32_t pos);
    int FindMatch(int32_t pos, int lookAhead, int maxChain, int32_t& distance);
    void ProcessOne(int lookAhead);
    void Process(int32_t until);
    void SkipInsideMatch(int32_t from, int32_t end);
    void EmitLiteral(unsigned char b);
    void EmitMatch(int length, int32_t distance);
    void WriteBlock(bool last);
    void WriteCodeLengths(const unsigned char* lengths, int n, const unsigned char* clLengths,
                          const uint16_t* clCodes, uint32_t* clFreq);
    void PutBits(uint32_t value, int n);
    void FlushOutput();
    unsigned char At(int32_t pos) const;

    TStream* stream_;
    ScratchBlock<DeflateState> block_;
    DeflateState* st_;
    uint32_t crc_;
    uint32_t adler_ = 1;
    uint64_t bits_ = 0;  // output bits, least significant first
    int bitCount_ = 0;
    int outFill_ = 0;
    int32_t base_ = 0;       // stream position of the window's first byte
    int32_t received_ = 0;   // bytes put so far
    int32_t processed_ = 0;  // bytes turned into symbols
    int32_t linked_ = 0;     // positions below this are linked into the chains (or skipped)
    int pendingLength_ = 0;  // lazy match found one position back; 0 = none
    int32_t pendingDistance_ = 0;
    int symbolCount_ = 0;
};

#endif
