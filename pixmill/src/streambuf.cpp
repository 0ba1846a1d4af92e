#include "streambuf.h"

#include <string.h>

#include "exceptions.h"
#include "heap.h"

StreamBuf::StreamBuf(TStream* s, int size_)
    : stream(s), size(size_ > 0 ? size_ : 1), count(0), position(0),
      data(static_cast<unsigned char*>(HeapGet(size_t(size_ > 0 ? size_ : 1))))
{
}

StreamBuf::~StreamBuf()
{
    HeapFree(data);
}

unsigned char StreamBuf::PreLoad()
{
    consumedBefore += count;
    count = 0;
    position = 0;
    int got = stream->Read(data, size);
    if (got <= 0) {
        // The stream has nothing left: let it raise its own read error.
        unsigned char one;
        stream->ReadBuffer(&one, 1);
        data[0] = one;
        got = 1;
    }
    count = got;
    position = 1;
    return data[0];
}

void StreamBuf::Skip(int n)
{
    while (n > 0) {
        int here = count - position;
        if (here <= 0) {
            PreLoad();
            n--;
            continue;
        }
        int step = here < n ? here : n;
        position += step;
        n -= step;
    }
}

void StreamBuf::Read(void* p, int n)
{
    unsigned char* out = static_cast<unsigned char*>(p);
    while (n > 0) {
        int here = count - position;
        if (here <= 0) {
            *out++ = PreLoad();
            n--;
            continue;
        }
        int step = here < n ? here : n;
        memcpy(out, data + position, size_t(step));
        position += step;
        out += step;
        n -= step;
    }
}
