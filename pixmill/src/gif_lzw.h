// The variable-length LZW coding of GIF image data, both ways (not exported).
//
// Codes are packed least significant bit first and carried in sub-blocks: a
// size byte (1 to 255) and that many bytes, the data ending with a sub-block
// of size 0. With a minimum code size m the roots are 0 .. 2^m - 1, then come
// the clear code 2^m and the end code 2^m + 1; codes start m + 1 bits wide and
// grow to at most 12 bits as the string table fills.
//
// Both coders hold about 24 KB of tables: make them on the stack of the call
// that uses them, one per image.
#ifndef PIXMILL_GIF_LZW_H
#define PIXMILL_GIF_LZW_H

#include <stdint.h>

#include "streambuf.h"
#include "streams.h"

const int GifMaxCodes = 4096;
const int GifMaxCodeBits = 12;
const int GifMaxMinSize = 11;  // leaves room for the clear and end codes below 4096

class GIFDecoder {
public:
    // minSize 2 to GifMaxMinSize (the caller checks it). The data need not
    // start with a clear code: the coder starts as after one.
    GIFDecoder(StreamBuf& in, int minSize);
    GIFDecoder(const GIFDecoder&) = delete;
    GIFDecoder& operator=(const GIFDecoder&) = delete;

    // The next n pixels, each below 2^minSize. Raises EInvalidImage when the
    // data cannot supply them: an end code, an unknown code, or the
    // terminating sub-block before the last one.
    void Read(uint16_t* out, int n);
    // Passes over the rest of the data, however much there is, up to and
    // including the terminating sub-block.
    void SkipRest();

private:
    unsigned NextByte();
    unsigned NextCode();
    void Restart();
    void Expand();

    StreamBuf& in_;
    int blockLeft_;          // bytes of the current sub-block not yet read
    uint32_t bits_;          // bits read but not yet used, the oldest lowest
    int bitCount_;
    const int minSize_;
    const unsigned clear_;
    int codeSize_;
    unsigned threshold_;     // 2^codeSize_
    unsigned nextFree_;
    int previous_;           // -1 right after a clear code
    uint16_t previousFirst_; // first character of the previous code's string
    uint16_t character_[GifMaxCodes];
    uint16_t prefix_[GifMaxCodes];
    uint16_t stack_[GifMaxCodes];
    int depth_;              // characters waiting on the stack, the next one on top
};

class GIFEncoder {
public:
    // minSize 2 to 8; emits the clear code first. Values fed in are taken
    // below 2^minSize, so that no value can pass for a control code.
    GIFEncoder(TStream* out, int minSize);
    GIFEncoder(const GIFEncoder&) = delete;
    GIFEncoder& operator=(const GIFEncoder&) = delete;

    void Put(const unsigned char* values, int n);
    // Emits the pending string and the end code, writes the last sub-block
    // and the terminating one.
    void Finish();

private:
    void Add(unsigned char k);
    void Emit(unsigned code);
    void Grow();
    void Restart();
    void PutByte(unsigned char v);
    void CloseBlock();
    void Flush();

    TStream* out_;
    uint32_t bits_;
    int bitCount_;
    // Sub-blocks gather here and go out a few at a time: the stream may be
    // an unbuffered file.
    static const int BufferBytes = 16 * 256;
    unsigned char buffer_[BufferBytes];
    int used_;                  // bytes of closed sub-blocks; the open one's size byte sits here
    int fill_;                  // data bytes of the open sub-block
    const int minSize_;
    const unsigned clear_;
    int codeSize_;
    unsigned threshold_;
    unsigned nextFree_;
    int prefix_;                // -1 before the first value
    // The string table as a tree: code c extends its prefix by character_[c];
    // firstChild_ and sibling_ link a code's extensions (0 = none, as no
    // extension can be code 0).
    uint8_t character_[GifMaxCodes];
    uint16_t firstChild_[GifMaxCodes];
    uint16_t sibling_[GifMaxCodes];
};

#endif
