// Decoding of one 8x8 block of a JPEG scan, for each kind of scan. Blocks
// hold coefficients in natural (row-major) order.
#ifndef PIXMILL_JPG_DECODE_BLOCKS_H
#define PIXMILL_JPG_DECODE_BLOCKS_H

#include <stdint.h>

#include "jpg_decode_bits.h"

namespace Jpg {

// A whole block: the DC difference, then AC 1-63, each times its entry of q
// (zig-zag order). The block is cleared first; pred is the component's DC
// predictor in the units the block stores.
void DecodeSequential(BitReader& in, const HuffmanTable& dc, const HuffmanTable& ac, const int16_t* q,
                      int16_t& pred, int16_t* block);

// Progressive scans (T.81 G.1.2). Al is the point transform; eobRun the
// number of blocks left in the current end-of-band run.
void DecodeDcFirst(BitReader& in, const HuffmanTable& dc, int al, int16_t& pred, int16_t* block);
void DecodeDcRefine(BitReader& in, int al, int16_t* block);
void DecodeAcFirst(BitReader& in, const HuffmanTable& ac, int ss, int se, int al, int& eobRun, int16_t* block);
void DecodeAcRefine(BitReader& in, const HuffmanTable& ac, int ss, int se, int al, int& eobRun, int16_t* block);

}  // namespace Jpg

#endif
