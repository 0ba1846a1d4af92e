#include "gif_lzw.h"

#include "exceptions.h"

namespace {

const uint16_t NoPrefix = 0xFFFF;

}  // namespace

GIFDecoder::GIFDecoder(StreamBuf& in, int minSize)
    : in_(in), blockLeft_(0), bits_(0), bitCount_(0), minSize_(minSize), clear_(1u << minSize), codeSize_(0),
      threshold_(0), nextFree_(0), previous_(-1), previousFirst_(0), depth_(0)
{
    for (unsigned c = 0; c < clear_; ++c) {
        character_[c] = uint16_t(c);
        prefix_[c] = NoPrefix;
    }
    Restart();
}

void GIFDecoder::Restart()
{
    codeSize_ = minSize_ + 1;
    threshold_ = 1u << codeSize_;
    nextFree_ = clear_ + 2;
    previous_ = -1;
}

unsigned GIFDecoder::NextByte()
{
    if (blockLeft_ == 0) {
        blockLeft_ = in_.Byte();
        if (blockLeft_ == 0) throw EInvalidImage("GIF: image data ends before its last pixel");
    }
    --blockLeft_;
    return in_.Byte();
}

unsigned GIFDecoder::NextCode()
{
    while (bitCount_ < codeSize_) {
        bits_ |= uint32_t(NextByte()) << bitCount_;
        bitCount_ += 8;
    }
    unsigned code = bits_ & (threshold_ - 1);
    bits_ >>= codeSize_;
    bitCount_ -= codeSize_;
    return code;
}

// Puts the string of the next data code on the stack, last character
// first, and enters the table entry that code completes.
void GIFDecoder::Expand()
{
    unsigned code;
    for (;;) {
        code = NextCode();
        if (code != clear_) break;
        Restart();
    }
    if (code == clear_ + 1) throw EInvalidImage("GIF: end code before the last pixel");
    // Right after a clear code only roots are known; the code one past the
    // table needs a previous string to stand for.
    if (code > nextFree_ || (code == nextFree_ && previous_ < 0)) throw EInvalidImage("GIF: code not in the table");

    unsigned c = code;
    if (code == nextFree_) {
        stack_[depth_++] = previousFirst_;
        c = unsigned(previous_);
    }
    while (c >= clear_) {
        stack_[depth_++] = character_[c];
        c = prefix_[c];
    }
    uint16_t first = uint16_t(c);
    stack_[depth_++] = first;

    if (previous_ >= 0 && nextFree_ < unsigned(GifMaxCodes)) {
        character_[nextFree_] = first;
        prefix_[nextFree_] = uint16_t(previous_);
        ++nextFree_;
        if (nextFree_ == threshold_ && codeSize_ < GifMaxCodeBits) {
            ++codeSize_;
            threshold_ <<= 1;
        }
    }
    previous_ = int(code);
    previousFirst_ = first;
}

void GIFDecoder::Read(uint16_t* out, int n)
{
    while (n > 0) {
        if (depth_ == 0) Expand();
        int k = depth_ < n ? depth_ : n;
        n -= k;
        while (k-- > 0) *out++ = stack_[--depth_];
    }
}

void GIFDecoder::SkipRest()
{
    in_.Skip(blockLeft_);
    blockLeft_ = 0;
    bits_ = 0;
    bitCount_ = 0;
    depth_ = 0;
    for (int size = in_.Byte(); size != 0; size = in_.Byte()) in_.Skip(size);
}

GIFEncoder::GIFEncoder(TStream* out, int minSize)
    : out_(out), bits_(0), bitCount_(0), used_(0), fill_(0), minSize_(minSize), clear_(1u << minSize), codeSize_(0),
      threshold_(0), nextFree_(0), prefix_(-1)
{
    for (unsigned c = 0; c < clear_; ++c) character_[c] = uint8_t(c);
    Restart();
    Emit(clear_);
}

void GIFEncoder::Restart()
{
    codeSize_ = minSize_ + 1;
    threshold_ = 1u << codeSize_;
    nextFree_ = clear_ + 2;
    for (unsigned c = 0; c < clear_; ++c) firstChild_[c] = 0;
}

void GIFEncoder::Grow()
{
    ++codeSize_;
    threshold_ <<= 1;
}

void GIFEncoder::Put(const unsigned char* values, int n)
{
    const unsigned mask = clear_ - 1;
    for (int i = 0; i < n; ++i) Add(static_cast<unsigned char>(values[i] & mask));
}

void GIFEncoder::Add(unsigned char k)
{
    if (prefix_ < 0) {
        prefix_ = k;
        return;
    }
    for (unsigned c = firstChild_[prefix_]; c != 0; c = sibling_[c])
        if (character_[c] == k) {
            prefix_ = int(c);
            return;
        }
    Emit(unsigned(prefix_));
    if (nextFree_ == threshold_) {
        // A full table starts again rather than freezing: the clear code is
        // still written 12 bits wide.
        if (codeSize_ == GifMaxCodeBits) {
            Emit(clear_);
            Restart();
            prefix_ = k;
            return;
        }
        Grow();
    }
    character_[nextFree_] = k;
    firstChild_[nextFree_] = 0;
    sibling_[nextFree_] = firstChild_[prefix_];
    firstChild_[prefix_] = uint16_t(nextFree_);
    ++nextFree_;
    prefix_ = k;
}

void GIFEncoder::Emit(unsigned code)
{
    bits_ |= uint32_t(code) << bitCount_;
    bitCount_ += codeSize_;
    while (bitCount_ >= 8) {
        PutByte(static_cast<unsigned char>(bits_));
        bits_ >>= 8;
        bitCount_ -= 8;
    }
}

void GIFEncoder::PutByte(unsigned char v)
{
    buffer_[used_ + 1 + fill_] = v;
    if (++fill_ == 255) CloseBlock();
}

// Keeps room for a whole sub-block after used_.
void GIFEncoder::CloseBlock()
{
    buffer_[used_] = static_cast<unsigned char>(fill_);
    used_ += fill_ + 1;
    fill_ = 0;
    if (used_ > BufferBytes - 256) Flush();
}

void GIFEncoder::Flush()
{
    out_->WriteBuffer(buffer_, used_);
    used_ = 0;
}

void GIFEncoder::Finish()
{
    if (prefix_ >= 0) {
        Emit(unsigned(prefix_));
        // The reader enters a table entry for this last code too, and widens
        // its codes when that fills the width: the end code must follow suit.
        if (nextFree_ == threshold_ && codeSize_ < GifMaxCodeBits) Grow();
    }
    Emit(clear_ + 1);
    if (bitCount_ > 0) PutByte(static_cast<unsigned char>(bits_));
    bits_ = 0;
    bitCount_ = 0;
    if (fill_ > 0) CloseBlock();
    buffer_[used_++] = 0;
    Flush();
}
