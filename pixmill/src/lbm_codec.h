// The parts of the IFF picture reader and writer shared between their files:
// chunks, the BMHD header, row sizes and ByteRun1 coding.
#ifndef PIXMILL_LBM_CODEC_H
#define PIXMILL_LBM_CODEC_H

#include <stddef.h>
#include <stdint.h>

#include "buffer.h"
#include "byte_order.h"
#include "streambuf.h"

const int LbmChunkHeadBytes = 8;  // identifier and big-endian length
const int LbmHeaderBytes = 20;    // the part of BMHD that is read and written
const int LbmMaxColourMapBytes = 768;

struct LbmHeader {
    int width, height;       // unsigned 16-bit in the file
    int x, y;                // signed: a picture's origin
    int planes;
    int masking;             // 1: a mask plane follows the colour planes
    int compression;         // 0 none, 1 ByteRun1
    int colour1, colour2;    // palette indices
};

LbmHeader LbmParseHeader(const unsigned char* p);
// Page size = picture size, aspect 1:1, no mask.
void LbmStoreHeader(const LbmHeader& h, unsigned char* p);
// Null when the reader decodes pictures with this header, else why not
// ("IFF: ..."). chunky: a "PBM " file.
const char* LbmUnsupported(const LbmHeader& h, bool chunky);

// Stored row of one bit plane; of the index bytes of a "PBM " picture.
// Both are padded to an even number of bytes.
int LbmPlaneRowBytes(int width);
int LbmChunkyRowBytes(int width);
// The pixel bit that plane k of a 24-plane picture holds: red bits 0-7
// first, then green, then blue.
unsigned long LbmTrueColourMask(int plane);

// Reads chunks from in until one with identifier id begins and returns its
// length, the stream standing at its data. Others are skipped with their pad
// byte; a chunk that never comes ends in the stream's EReadError.
uint32_t LbmFindChunk(StreamBuf& in, const char* id);
// Skips a chunk's data from where the reader stands, and its pad byte.
void LbmSkipRest(StreamBuf& in, uint32_t length, uint32_t used);

// ByteRun1: n bytes of one row; a run past the row's end raises EInvalidImage.
void LbmUnpackRow(StreamBuf& in, unsigned char* row, int n);
// Room the coded form of n bytes can need.
size_t LbmPackRoom(int n);
// Codes n bytes into out; returns the coded size.
size_t LbmPackRow(const unsigned char* row, int n, unsigned char* out);

// Decodes the rows of a BODY into b, clipped to it; table turns palette
// indices into pixels. Progress counts from start over total stream bytes.
bool LbmDecodeBody(Buffer& b, StreamBuf& in, const LbmHeader& h, bool chunky, const unsigned long* table,
                   int64_t start, int64_t total);

#endif
