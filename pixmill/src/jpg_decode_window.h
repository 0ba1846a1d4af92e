// The bit reader's state copied into a local object for the length of one
// MCU. Its members never have their address taken, so the compiler keeps
// them in registers; the reader itself would be written back after every
// symbol, since its stores may alias the bytes read and the block written.
// The window takes bits exactly as the reader does (look-ahead from
// buffered bytes only, never across a marker) and hands the rare cases
// (bits behind the buffer's end, next to a marker) to the reader, so the
// bits taken and the errors raised are the same.
#ifndef PIXMILL_JPG_DECODE_WINDOW_H
#define PIXMILL_JPG_DECODE_WINDOW_H

#include <stdint.h>
#include <string.h>

#include "exceptions.h"
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
            TopUp();
            if (held_ < n) return unsigned(Slowly([&] { return int(reader_.Bits(n)); }));
        }
        const unsigned v = acc_ >> (32 - n);
        Take(n);
        return v;
    }
    unsigned Bit() { return Bits(1); }
    int Receive(int s) { return s ? Extend(int(Bits(s)), s) : 0; }

    int Decode(const HuffmanTable& t)
    {
        if (held_ < 16) TopUp();
        if (held_ >= LookBits) {
            const unsigned entry = t.fast[Peek()];
            if (entry) {
                Take(int(entry >> 8));
                return int(entry & 0xFF);
            }
            if (held_ >= 16) return DecodeLong(t);
        }
        return Slowly([&] { return reader_.Decode(t); });
    }

    // As BitReader::FastAc.
    int FastAc(const HuffmanTable& t)
    {
        if (held_ < LookBits) {
            TopUp();
            if (held_ < LookBits) return 0;
        }
        const int entry = t.fastAc[Peek()];
        Take(entry & 15);
        return entry;
    }

    // Bits held: after TopUp 24 or more unless a marker or the buffer's end
    // is near.
    int Held() const { return held_; }

    // Takes whole bytes up to at least 24 held bits where the data allows.
    // Four bytes without 0xFF among them (nearly always) are added at once:
    // those that do not fit leave their leading bits below the held ones,
    // where BitReader::acc_ allows them.
    void TopUp()
    {
        if (next_ < wordEnd_) {
            uint32_t word;
            memcpy(&word, next_, 4);
            word = __builtin_bswap32(word);
            if (!HasFF(word)) {
                acc_ |= word >> held_;
                next_ += (31 - held_) >> 3;
                held_ |= 24;
                return;
            }
        }
        TopUpByBytes();
    }

    // FastAc with LookBits held.
    int TakeFastAc(const HuffmanTable& t)
    {
        const int entry = t.fastAc[Peek()];
        Take(entry & 15);
        return entry;
    }

    // Decode with 16 bits held.
    int DecodeHeld(const HuffmanTable& t)
    {
        const unsigned entry = t.fast[Peek()];
        if (entry) {
            Take(int(entry >> 8));
            return int(entry & 0xFF);
        }
        return DecodeLong(t);
    }

private:
    unsigned Peek() const { return acc_ >> (32 - LookBits); }
    void Take(int n)
    {
        acc_ <<= n;
        held_ -= n;
    }

    // BitReader::Prefetch on the local copy.
    void TopUpByBytes()
    {
        while (held_ <= 24 && next_ < end_) {
            const unsigned byte = *next_;
            if (byte == 0xFF) {
                if (next_ + 1 >= end_ || next_[1] != 0) break;
                next_ += 2;
            } else {
                next_ += 1;
            }
            acc_ |= byte << (24 - held_);
            held_ += 8;
        }
    }

    // A code longer than LookBits, with 16 bits held: the lengths matched
    // in turn against the next 16 bits, as BitReader::DecodeSlowly does
    // one bit at a time.
    int DecodeLong(const HuffmanTable& t)
    {
        const uint32_t next16 = acc_ >> 16;
        for (int len = LookBits + 1; len <= 16; ++len) {
            if (next16 < t.below[len]) {
                Take(len);
                return t.symbols[int(next16 >> (16 - len)) + t.offset[len]];
            }
        }
        throw EInvalidImage("JPEG: no Huffman code matches");
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
        wordEnd_ = in.count >= 4 ? end_ - 3 : in.data;
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
    const unsigned char* wordEnd_;  // a word of four bytes can be read before it
};

}  // namespace Jpg

#endif
