// The bit reader's state copied into a local object for the length of one
// block. Its members never have their address taken, so the compiler keeps
// them in registers; the reader itself would be written back after every
// symbol, since its stores may alias the bytes read and the block written.
// The window takes bits exactly as the reader does (the same look-ahead from
// buffered bytes, never across a marker) and hands the rare cases (a code
// longer than the look-up tables, bits behind the buffer's end) to the
// reader, so the bits taken and the errors raised are the same.
#ifndef PIXMILL_JPG_DECODE_WINDOW_H
#define PIXMILL_JPG_DECODE_WINDOW_H

#include <stdint.h>

#include "jpg_decode_bits.h"

namespace Jpg {

class BitWindow {
public:
    explicit BitWindow(BitReader& reader) : reader_(reader) { Load(); }
    // Also when a block throws: the reader then holds what was taken.
    ~BitWindow() { Store(); }
    BitWindow(const BitWindow&) = delete;
    BitWindow& operator=(const BitWindow&) = delete;

    // The next n bits, 1 <= n <= 16.
    unsigned Bits(int n)
    {
        if (held_ < n) {
            Refill();
            if (held_ < n) return unsigned(Slowly([&] { return int(reader_.Bits(n)); }));
        }
        held_ -= n;
        return (acc_ >> held_) & ((1u << n) - 1);
    }
    unsigned Bit() { return Bits(1); }
    int Receive(int s) { return s ? Extend(int(Bits(s)), s) : 0; }

    int Decode(const HuffmanTable& t)
    {
        if (held_ < LookBits) Refill();
        if (held_ >= LookBits) {
            const unsigned entry = t.fast[Peek()];
            if (entry) {
                held_ -= int(entry >> 8);
                return int(entry & 0xFF);
            }
        }
        return Slowly([&] { return reader_.Decode(t); });
    }

    // As BitReader::FastAc.
    int FastAc(const HuffmanTable& t)
    {
        if (held_ < LookBits) {
            Refill();
            if (held_ < LookBits) return 0;
        }
        const int entry = t.fastAc[Peek()];
        held_ -= entry & 15;
        return entry;
    }

private:
    unsigned Peek() const { return (acc_ >> (held_ - LookBits)) & (LookSize - 1); }

    // BitReader::Prefetch on the local copy.
    void Refill()
    {
        while (held_ <= 24 && next_ < end_) {
            const unsigned byte = *next_;
            if (byte == 0xFF) {
                if (next_ + 1 >= end_ || next_[1] != 0) break;
                next_ += 2;
            } else {
                next_ += 1;
            }
            acc_ = acc_ << 8 | byte;
            held_ += 8;
        }
    }

    template <class Work> int Slowly(const Work& work)
    {
        Store();
        const int value = int(work());
        Load();
        return value;
    }

    void Load()
    {
        StreamBuf& in = reader_.in_;
        acc_ = reader_.acc_;
        held_ = reader_.held_;
        next_ = in.data + in.position;
        end_ = in.data + in.count;
    }
    void Store()
    {
        StreamBuf& in = reader_.in_;
        reader_.acc_ = acc_;
        reader_.held_ = held_;
        in.position = int(next_ - in.data);
    }

    BitReader& reader_;
    uint32_t acc_;
    int held_;
    const unsigned char* next_;
    const unsigned char* end_;
};

}  // namespace Jpg

#endif
