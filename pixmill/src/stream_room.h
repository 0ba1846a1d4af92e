// What a reader may check before it allocates a picture: the fewest bytes
// the picture's rows can be coded in, against what the stream still holds.
// A tiny damaged file that announces a huge picture is then refused at once,
// instead of after a block of hundreds of megabytes has been taken from the
// 32-bit address space the rest of the program shares.
//
// Coded data is held to the whole picture's bound: that bound is a small
// share of the rows, so a file cut short below it has next to nothing to
// show. Stored rows are held to one row only: a file cut short keeps the rows
// it has, which the program offers to keep, and a file without even one row
// could show none.
#ifndef PIXMILL_STREAM_ROOM_H
#define PIXMILL_STREAM_ROOM_H

#include <stdint.h>

#include "exceptions.h"
#include "streambuf.h"
#include "streams.h"

// Bytes from the stream's position to its end.
inline int64_t BytesLeft(TStream* s)
{
    const int64_t left = int64_t(s->GetSize()) - s->GetPosition();
    return left > 0 ? left : 0;
}

// Bytes a reader on in has not taken yet: its buffer's and the stream's.
inline int64_t BytesLeft(const StreamBuf& in)
{
    return int64_t(in.count - in.position) + BytesLeft(in.stream);
}

// Fewest bytes rows of units units each can be run-length coded in, when a
// packet of packetBytes bytes carries at most run units and never crosses a
// row: the whole runs, and at least one byte for what remains of a row.
inline int64_t PackedRowsBytes(int64_t rows, int64_t units, int64_t run, int64_t packetBytes)
{
    return rows * (units / run * packetBytes + (units % run ? 1 : 0));
}

// The picture cannot be in what is left: the data ends early, as reading it
// would have found, only without allocating first.
inline void RequireBytes(int64_t left, int64_t needed)
{
    if (needed > left) throw EReadError();
}

#endif
