// The decompressor the PNG reader pulls its scanline bytes from: deflate data
// (RFC 1951) spread over consecutive IDAT chunks, each chunk's CRC checked as
// its end is passed. Output exists only in the window (32 KB of history and
// room to decode into), so a picture of any size needs no more than that and
// one row of the reader.
#ifndef PIXMILL_INFLATE_H
#define PIXMILL_INFLATE_H

#include <stddef.h>
#include <stdint.h>

#include "streams.h"

// A canonical Huffman code as the decoder walks it: per code length the first
// code, the limit (first code + count) and where its symbols start in the
// sorted symbol list, plus a table that answers codes of up to FastBits bits
// in one look-up.
struct InflateCode {
    static const int FastBits = 10;
    int32_t firstCode[16];
    int32_t limit[16];
    int32_t firstIndex[16];
    uint16_t symbols[320];
    uint16_t fast[1 << FastBits];  // length << 12 | symbol; 0 = longer than FastBits

    // lengths[i] is symbol i's code length, 0 = unused; n at most 320.
    void Build(const unsigned char* lengths, int n);
};

class Inflater {
public:
    // s stands just behind the type of the first IDAT chunk, whose data is
    // chunkLength bytes long; the chunk's CRC so far covers "IDAT".
    Inflater(TStream* s, uint32_t chunkLength);
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // The zlib stream's two header bytes, before any decompressed byte.
    void ReadZlibHeader();
    // The next n decompressed bytes; EInvalidImage for damaged data or when
    // the data has ended.
    void Read(unsigned char* dst, size_t n);
    // Up to n next decompressed bytes (at least one when n is not 0) where
    // they lie, at p, valid until the next call: saves the copy of Read.
    // EInvalidImage when the data has ended.
    size_t ReadInPlace(const unsigned char*& p, size_t n);
    unsigned char NextByte();
    // Decodes up to the end of the final block, dropping what comes out, then
    // reads the Adler-32 behind it (it may lie in a later chunk) and checks it
    // and the CRC of the chunk it ends in; EInvalidImage on a mismatch.
    void Finish();

    // Adler-32 of everything decompressed so far.
    uint32_t Adler() const { return adler_; }
    // Stream bytes used up, for progress: the stream's position less what is
    // buffered but unused.
    int64_t Consumed();

private:
    enum Mode { BlockHeader = 0, Stored = 1, Match = 2, Symbols = 255 };

    // Decoding goes a symbol at a time through these careful steps near the
    // end of the loaded input and of the caller's room, else through
    // FastSymbols.
    unsigned char InputByte() { return inPos_ < inFill_ ? input_[inPos_++] : Refill(); }
    unsigned char Refill();
    void NextChunk();
    void EndChunk();
    void Need(int n);
    uint32_t Bits(int n);
    void DropToByte();
    unsigned char AlignedByte();

    int Decode(const InflateCode& code);
    void StartBlock();
    void ReadDynamicCodes();
    void UseFixedCodes();
    void MakeSteps();
    size_t CopyStored(size_t n);
    size_t CopyMatch(size_t n);
    size_t DecodeSymbols(size_t n);
    size_t FastSymbols(size_t n);
    size_t Fill(size_t n);
    size_t Waiting(size_t n);
    size_t Produce(unsigned char* dst, size_t n);

    TStream* stream_;
    uint32_t chunkLeft_;  // bytes of the current chunk not yet loaded
    uint32_t chunkCrc_;   // CRC so far of the current chunk: type and loaded data
    unsigned char input_[2048];
    int inFill_ = 0;
    int inPos_ = 0;

    uint32_t bitBuf_ = 0;  // bits taken least significant first
    int bitCount_ = 0;

    int mode_ = BlockHeader;
    bool lastBlock_ = false;
    bool fixedLoaded_ = false;  // the codes in litLen_ and dist_ are the fixed ones
    uint32_t count_ = 0;        // stored bytes or match bytes left
    uint32_t distance_ = 0;

    // Every byte is decoded into the window first and copied out from there.
    // It holds the 32 KB of history (zeros at first) before the write
    // position and room behind it, so that matches and writes never wrap;
    // the history slides back to the front when the room runs short.
    static const uint32_t History = 32768;
    static const uint32_t WindowBytes = 3 * History + 16;  // 16 spare for copies by 8 bytes
    unsigned char window_[WindowBytes];
    uint32_t write_ = History;  // window position of the next byte decoded
    uint32_t read_ = History;   // ... of the next byte handed out; up to write_
    uint32_t adler_ = 1;

    InflateCode litLen_;
    InflateCode dist_;
    // The fast tables of both codes as FastSymbols takes them: each entry
    // holds the code length, what the symbol means and its extra bits.
    uint32_t litLenSteps_[1 << InflateCode::FastBits];
    uint32_t distSteps_[1 << InflateCode::FastBits];
};

#endif
