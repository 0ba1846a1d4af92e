// Pixel reading for TGA files: a StreamBuf that also decodes run-length
// packets. Packets carry on across row ends, so the packet state lives here
// and not in the row loop; the same three calls serve uncompressed data.
#ifndef PIXMILL_TGA_STREAM_H
#define PIXMILL_TGA_STREAM_H

#include "streambuf.h"

class TGAStream : public StreamBuf {
public:
    unsigned char value[4];  // pixel of the current repeat packet
    int state;               // > 0 raw pixels left, < 0 repeats left, 0 = a packet header comes next
    int pixelSize;           // bytes per pixel, 1 to 4
    bool packed;             // run-length packets; false = plain pixels

    // pixelBytes outside 1..4 counts as 1, so a caller's mistake cannot
    // overrun value.
    TGAStream(TStream* s, int bufferSize, int pixelBytes, bool runLength);

    void SkipPixels(int n);
    // n pixels of pixelSize bytes each, in file order.
    void ReadPixels(unsigned char* dst, int n);
    // n pixels filling dst from its end: the first pixel read becomes the
    // last, which turns a right-to-left row into left-to-right order.
    void ReadPixelsBackwards(unsigned char* dst, int n);

private:
    void StartPacket();
    void Repeat(unsigned char* dst, int n);
};

#endif
