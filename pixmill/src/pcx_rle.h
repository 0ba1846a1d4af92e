// Run-length coding of PCX lines: a byte of 192 or more is a count (its low
// six bits) followed by the byte to repeat; any smaller byte stands for itself.
#ifndef PIXMILL_PCX_RLE_H
#define PIXMILL_PCX_RLE_H

#include <stddef.h>

#include "streambuf.h"

// Decodes exactly n bytes (one row of every plane) into out. A run that
// would go past them raises EInvalidImage; the end of data, EReadError.
void PcxDecodeRow(StreamBuf& in, unsigned char* out, int n);

// Room a coded line of n bytes may need: every byte can become a pair.
inline size_t PcxCodedRoom(int n) { return n > 0 ? 2 * size_t(n) : 0; }

// Codes one plane line of n bytes into out; returns the bytes written.
size_t PcxEncodeLine(const unsigned char* line, int n, unsigned char* out);

#endif
