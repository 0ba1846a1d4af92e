// AVI seeds: small files with every chunk the structure check reads (main
// and stream headers, stream formats, names, padding, record lists, palette
// changes, an index counted from the movie list or from the file's start),
// and with each of the faults it refuses, so that runs start at every rule.
#include <string>

#include "seed_writer.h"

namespace {

Bytes Chunk(const char* id, const Bytes& data)
{
    Bytes c;
    PutTag(c, id);
    PutLE32(c, uint32_t(data.size()));
    c.insert(c.end(), data.begin(), data.end());
    if (data.size() & 1) c.push_back(0);
    return c;
}

Bytes List(const char* type, const Bytes& contents)
{
    Bytes data;
    PutTag(data, type);
    data.insert(data.end(), contents.begin(), contents.end());
    return Chunk("LIST", data);
}

Bytes Cat(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes MainHeader(uint32_t streams)
{
    Bytes h;
    PutLE32(h, 66666);  // microseconds per frame
    PutZeros(h, 20);
    PutLE32(h, streams);
    PutZeros(h, 4);
    PutLE32(h, 4), PutLE32(h, 2);  // width, height
    PutZeros(h, 16);
    return Chunk("avih", h);
}

Bytes StreamList(const char* type, uint32_t start, uint32_t length, bool named)
{
    Bytes h;
    PutTag(h, type);
    PutZeros(h, 16);
    PutLE32(h, 1), PutLE32(h, 15);  // scale, rate
    PutLE32(h, start), PutLE32(h, length);
    PutZeros(h, 20);
    Bytes f;
    PutLE32(f, 40), PutLE32(f, 4), PutLE32(f, 2), PutLE16(f, 1), PutLE16(f, 24);
    PutZeros(f, 24);
    Bytes list = Cat(Chunk("strh", h), Chunk("strf", f));
    if (named) list = Cat(list, Chunk("strn", Bytes{'s', 'e', 'e', 'd', 0}));
    return List("strl", list);
}

Bytes Entry(const char* id, uint32_t offset, uint32_t size)
{
    Bytes e;
    PutTag(e, id);
    PutLE32(e, 0x10), PutLE32(e, offset), PutLE32(e, size);
    return e;
}

Bytes Riff(const Bytes& contents)
{
    Bytes data;
    PutTag(data, "AVI ");
    return Chunk("RIFF", Cat(data, contents));
}

Bytes Frame(const char* id) { return Chunk(id, Bytes(24, 0x40)); }

// One video stream of three frames, the index counted from "movi".
Bytes OneStream()
{
    Bytes header = List("hdrl", Cat(MainHeader(1), StreamList("vids", 0, 3, false)));
    Bytes movi = Cat(Cat(Frame("00dc"), Frame("00dc")), Frame("00db"));
    Bytes index = Cat(Cat(Entry("00dc", 4, 24), Entry("00dc", 36, 24)), Entry("00db", 68, 24));
    return Riff(Cat(Cat(header, List("movi", movi)), Chunk("idx1", index)));
}

// Video and audio, names, odd padding, a record list and a palette change,
// the index counted from the file's start.
Bytes TwoStreams()
{
    Bytes header = List("hdrl", Cat(Cat(MainHeader(2), StreamList("vids", 1, 1, true)), StreamList("auds", 0, 1, false)));
    Bytes junk = Chunk("JUNK", Bytes(3, 0));
    Bytes record = List("rec ", Cat(Frame("00dc"), Chunk("01wb", Bytes(5, 0x80))));
    Bytes movi = Cat(Cat(Chunk("00pc", Bytes(8, 0)), record), Frame("00dc"));
    Bytes index;
    for (const Bytes& e : {Entry("00pc", 200, 8), Entry("rec ", 212, 48), Entry("00dc", 220, 24),
                           Entry("01wb", 252, 5), Entry("00dc", 266, 24)})
        index = Cat(index, e);
    return Riff(Cat(Cat(Cat(header, junk), List("movi", movi)), Chunk("idx1", index)));
}

}  // namespace

void WriteAviSeeds(const std::string& root)
{
    const Bytes one = OneStream(), two = TwoStreams();
    WriteSeed(root, "avi_fuzz", "one_stream.avi", one);
    WriteSeed(root, "avi_fuzz", "two_streams.avi", two);

    // Each refusal once: no index, an index naming a missing stream, and an
    // index with fewer frames than the stream header counts.
    Bytes header = List("hdrl", Cat(MainHeader(1), StreamList("vids", 0, 2, false)));
    Bytes movi = List("movi", Frame("00dc"));
    WriteSeed(root, "avi_fuzz", "no_index.avi", Riff(Cat(header, movi)));
    WriteSeed(root, "avi_fuzz", "other_stream.avi", Riff(Cat(Cat(header, movi), Chunk("idx1", Entry("07dc", 4, 24)))));
    WriteSeed(root, "avi_fuzz", "few_frames.avi", Riff(Cat(Cat(header, movi), Chunk("idx1", Entry("00dc", 4, 24)))));
}
