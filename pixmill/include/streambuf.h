// Buffered byte reading over a stream, for the format readers.
//
// A StreamBuf reads ahead of its stream, so the stream's position is not the
// reader's: Consumed() tells how far the reader really is. Data that ends
// early raises the stream's EReadError; nothing is ever read past what the
// stream holds.
#ifndef PIXMILL_STREAMBUF_H
#define PIXMILL_STREAMBUF_H

#include "pixmill_api.h"
#include "streams.h"

class PIXMILL_API StreamBuf {
public:
    TStream* stream;
    int size;            // buffer size
    int count;           // bytes in the buffer
    int position;        // index of the next byte
    unsigned char* data; // the buffer, owned

    StreamBuf(TStream* s, int size);
    StreamBuf(const StreamBuf&) = delete;
    StreamBuf& operator=(const StreamBuf&) = delete;
    ~StreamBuf();

    // Refills from the stream and returns the first new byte, which counts
    // as read; at the end of the stream raises EReadError.
    unsigned char PreLoad();
    void Skip(int n);
    void Read(void* p, int n);

    unsigned char Byte() { return position < count ? data[position++] : PreLoad(); }
    unsigned Word16() { unsigned lo = Byte(); return lo | unsigned(Byte()) << 8; }  // little-endian
    unsigned long Word32() { unsigned long lo = Word16(); return lo | (unsigned long)Word16() << 16; }

    // Bytes handed to the reader so far, counted from where the stream stood
    // when this StreamBuf was made.
    long long Consumed() const { return consumedBefore + position; }

private:
    long long consumedBefore = 0;  // bytes of earlier buffer fills
};

#endif
