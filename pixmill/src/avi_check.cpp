// The AVI structure check: only the headers and the index are read, so a
// large file costs a few seeks.
#include "avi_check.h"

#include <stdint.h>
#include <string.h>

#include <vector>

#include "byte_order.h"
#include "exceptions.h"
#include "streams.h"

namespace {

const int64_t MaxHeaderBytes = 1 << 20;
const int64_t MaxIndexBytes = 64 << 20;
const uint32_t MaxStreams = 64;

[[noreturn]] void Refuse(const char* rule)
{
    AnsiString detail = AnsiString("AVI: ") + rule;
    throw EInvalidImage(detail.c_str());
}

bool Is(const unsigned char* p, const char* tag) { return memcmp(p, tag, 4) == 0; }

struct Chunk {
    unsigned char id[4];
    int64_t data;   // where its data starts
    int64_t bytes;  // its data's size
    int64_t next;   // the next chunk (sizes are padded to even)
};

// The chunk at pos, which must end by end.
Chunk ChunkAt(const unsigned char* p, int64_t pos, int64_t end)
{
    if (end - pos < 8) Refuse("chunk header truncated");
    Chunk c;
    memcpy(c.id, p, 4);
    c.data = pos + 8;
    c.bytes = GetLE32(p + 4);
    if (c.bytes > end - c.data) Refuse("chunk larger than its list");
    c.next = c.data + c.bytes + (c.bytes & 1);
    return c;
}

std::vector<unsigned char> ReadBytes(TStream* s, int64_t at, int64_t bytes, int64_t limit, const char* what)
{
    if (bytes > limit) Refuse(what);
    std::vector<unsigned char> data(static_cast<size_t>(bytes));
    s->Seek(int(at), soFromBeginning);
    if (bytes) s->ReadBuffer(data.data(), int(bytes));
    return data;
}

// One "strl" list: a stream header and a stream format, in that order;
// the stream's length in frames.
uint32_t CheckStreamList(const unsigned char* base, int64_t pos, int64_t end)
{
    uint32_t length = 0;
    bool header = false, format = false;
    while (pos < end) {
        Chunk c = ChunkAt(base + pos, pos, end);
        if (Is(c.id, "strh")) {
            if (c.bytes < 56) Refuse("stream header too short");
            header = true;
            // Frames are numbered from the stream's start.
            length = GetLE32(base + c.data + 28) + uint64_t(GetLE32(base + c.data + 32)) > 0xFFFFFFFFu
                         ? 0xFFFFFFFFu
                         : GetLE32(base + c.data + 28) + GetLE32(base + c.data + 32);
        } else if (Is(c.id, "strf")) {
            if (!header) Refuse("stream format before its header");
            if (c.bytes < 40) Refuse("stream format too short");
            format = true;
        }
        pos = c.next;
    }
    if (!header || !format) Refuse("stream list without header or format");
    return length;
}

// The "hdrl" list's data: the main header, then the stream lists; the
// length of each stream it holds.
std::vector<uint32_t> CheckHeaderList(const std::vector<unsigned char>& h)
{
    const unsigned char* base = h.data();
    int64_t end = int64_t(h.size());
    Chunk main = ChunkAt(base + 4, 4, end);
    if (!Is(main.id, "avih") || main.bytes < 56) Refuse("main header missing");
    uint32_t streams = GetLE32(base + main.data + 24);
    if (streams == 0 || streams > MaxStreams) Refuse("stream count");
    std::vector<uint32_t> lengths;
    for (int64_t pos = main.next; pos < end;) {
        Chunk c = ChunkAt(base + pos, pos, end);
        if (Is(c.id, "LIST") && c.bytes >= 4 && Is(base + c.data, "strl"))
            lengths.push_back(CheckStreamList(base, c.data + 4, c.data + c.bytes));
        pos = c.next;
    }
    if (lengths.size() != streams) Refuse("stream lists do not match the stream count");
    return lengths;
}

int HexDigit(unsigned char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Index entries: chunk id, flags, offset (from the "movi" tag, or from the
// file's start), size; each names a stream that exists and lies in the data,
// and every frame a stream's header counts has its entry (the library
// asserts it).
void CheckIndex(const std::vector<unsigned char>& index, const std::vector<uint32_t>& lengths, int64_t moviBytes,
                int64_t fileBytes)
{
    if (index.size() % 16) Refuse("index size");
    uint32_t streams = uint32_t(lengths.size());
    std::vector<uint32_t> frames(lengths.size(), 0);
    for (size_t at = 0; at < index.size(); at += 16) {
        const unsigned char* e = index.data() + at;
        if (Is(e, "rec ")) continue;
        int hi = HexDigit(e[0]), lo = HexDigit(e[1]);
        if (hi < 0 || lo < 0 || uint32_t(hi * 16 + lo) >= streams) Refuse("index entry names no stream");
        int64_t end = int64_t(GetLE32(e + 8)) + 8 + GetLE32(e + 12);
        if (end > moviBytes && end > fileBytes) Refuse("index entry outside the data");
        if (!(e[2] == 'p' && e[3] == 'c')) ++frames[size_t(hi * 16 + lo)];
    }
    for (size_t i = 0; i < lengths.size(); ++i)
        if (frames[i] < lengths[i]) Refuse("index holds fewer frames than the stream");
}

}  // namespace

void CheckAviStructure(TStream* s)
{
    int64_t start = s->GetPosition();
    int64_t fileEnd = s->GetSize();
    unsigned char riff[12];
    if (fileEnd - start < 12) Refuse("file truncated");
    s->ReadBuffer(riff, 12);
    if (!Is(riff, "RIFF") || !Is(riff + 8, "AVI ")) Refuse("no RIFF AVI form");
    Chunk form = ChunkAt(riff, start, fileEnd);
    std::vector<uint32_t> lengths;
    int64_t moviBytes = -1;
    bool indexed = false;
    bool first = true;
    for (int64_t pos = form.data + 4; pos < form.data + form.bytes;) {
        unsigned char head[12] = {};
        s->Seek(int(pos), soFromBeginning);
        s->ReadBuffer(head, form.data + form.bytes - pos >= 12 ? 12 : 8);
        Chunk c = ChunkAt(head, pos, form.data + form.bytes);
        bool list = Is(c.id, "LIST") && c.bytes >= 4;
        if (first && !(list && Is(head + 8, "hdrl"))) Refuse("header list is not first");
        if (first) lengths = CheckHeaderList(ReadBytes(s, c.data, c.bytes, MaxHeaderBytes, "header list too large"));
        if (list && Is(head + 8, "movi")) moviBytes = c.bytes;
        if (Is(c.id, "idx1")) {
            if (moviBytes < 0) Refuse("index before the movie list");
            CheckIndex(ReadBytes(s, c.data, c.bytes, MaxIndexBytes, "index too large"), lengths, moviBytes,
                       fileEnd - start);
            indexed = true;
        }
        first = false;
        pos = c.next;
    }
    if (moviBytes < 0) Refuse("movie list missing");
    // Without an index the library counts the stored chunks itself, and
    // trusts the headers' lengths just the same.
    if (!indexed) Refuse("index missing");
}
