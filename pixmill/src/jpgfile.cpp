// JPEG (JFIF), ITU T.81: Huffman-coded pictures of 8-bit samples, grey or
// YCbCr, sequential (SOF0, SOF1) or progressive (SOF2), luma sampled 1x1,
// 2x1 or 2x2 with chroma 1x1. Other coding processes are recognised and
// refused. The decoder is in jpg_decode*.cpp; the writer in jpg_write.cpp.
#include "jpgfile.h"

#include "byte_order.h"
#include "exceptions.h"
#include "formats.h"
#include "jpg_decode.h"

namespace {

const int ReadAhead = 2048;

const int SOI = 0xD8, EOI = 0xD9, SOS = 0xDA, DHT = 0xC4, DQT = 0xDB, DRI = 0xDD;
const int SOF0 = 0xC0, SOF1 = 0xC1, SOF2 = 0xC2;

bool IsRestart(int code) { return code >= 0xD0 && code <= 0xD7; }

// The code of the next marker, which must follow at once. 0xFF bytes before
// a marker are fill (T.81 B.1.1.2); 0xFF 0x00 is no marker.
int NextMarker(StreamBuf& in)
{
    for (;;) {
        if (in.Byte() != 0xFF) throw EInvalidImage("JPEG: marker expected");
        int code = in.Byte();
        while (code == 0xFF) code = in.Byte();
        if (code) return code;
    }
}

// After a scan of a multi-scan picture: the next marker, passing any data
// the scan left unread.
int SkipToMarker(StreamBuf& in)
{
    for (;;) {
        if (in.Byte() != 0xFF) continue;
        int code = in.Byte();
        while (code == 0xFF) code = in.Byte();
        if (code) return code;
    }
}

// Frame types of other coding processes (lossless, hierarchical,
// arithmetic) and arithmetic conditioning; 0xC8 is reserved and skipped.
bool OtherProcess(int code)
{
    return code == 0xC3 || (code >= 0xC5 && code <= 0xC7) || (code >= 0xC9 && code <= 0xCF);
}

void Describe(GFXFileDesc* d, const unsigned char* head, bool progressive)
{
    d->height = int(GetBE16(head + 1));
    d->width = int(GetBE16(head + 3));
    d->colour = head[5] > 1;
    d->palette = 0;
    d->bits = d->colour ? 24 : 8;
    d->channelBits = 8;
    d->interlaced = progressive;
}

// Walks the segments up to the frame header; result is updated as far as the
// data goes, since the data may end anywhere.
void Probe(StreamBuf& in, GFXFileDesc* d, int& result)
{
    if (in.Byte() != 0xFF || in.Byte() != SOI) return;
    result = -1;
    if (!d) return;
    uint8_t* palette = d->paletteData;
    *d = GFXFileDesc();
    d->paletteData = palette;
    for (;;) {
        if (in.Byte() != 0xFF) return;
        int code = in.Byte();
        while (code == 0xFF) code = in.Byte();
        if (code == 0) continue;
        if (IsRestart(code) || code == EOI || code == SOS) return;
        const int length = int(Jpg::Word16(in));
        if (code < 0xC0 || code > 0xCF || code == DHT || code == 0xC8 || code == 0xCC) {
            in.Skip(length - 2);
            continue;
        }
        unsigned char head[15];
        in.Read(head, 9);
        Describe(d, head, code == SOF2);
        if (head[5] == 3 && length == 17) in.Read(head + 9, 6);
        if (code <= SOF2 && !Jpg::FrameProblem(head, length)) {
            result = 1;
            d->images = 1;
        }
        return;
    }
}

}  // namespace

namespace Jpg {

Decoder::Decoder(Buffer& target, TInputStream* s)
    : b(target), in(s, ReadAhead), bits(in), start(s->GetPosition()), size(s->GetSize()), haveFrame(false),
      frame(), mode(SingleScan), scanned(false), quant(), dc(), ac(), restartInterval(0), visible{0, 0, -1, -1}
{
}

}  // namespace Jpg

int JPGFile::Test(TInputStream* s, GFXFileDesc* d)
{
    const int start = s->GetPosition();
    int result = 0;
    try {
        StreamBuf in(s, ReadAhead);
        Probe(in, d, result);
    } catch (EReadError&) {
        // The data ended: the answer is what was found so far.
    } catch (...) {
        s->Seek(start, soFromBeginning);
        throw;
    }
    s->Seek(start, soFromBeginning);
    return result;
}

bool JPGFile::Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32*, int)
{
    Jpg::Decoder dec(b, s);
    if (dec.in.Byte() != 0xFF || dec.in.Byte() != SOI) throw EInvalidImage("JPEG: no start-of-image marker");
    bool afterScan = false;
    for (;;) {
        const int code = afterScan ? SkipToMarker(dec.in) : NextMarker(dec.in);
        afterScan = false;
        if (code == EOI) {
            // A single-scan load ended with its scan; the others end here.
            if (!dec.scanned) throw EInvalidImage("JPEG: end of image before any scan");
            Jpg::OutputStore(dec);
            return true;
        }
        if (IsRestart(code) || code == 0x01) continue;  // markers without a segment
        const int length = int(Jpg::Word16(dec.in)) - 2;
        if (length < 0) throw EInvalidImage("JPEG: segment length below 2");
        switch (code) {
        case SOF2:
            dec.mode = Jpg::Progressive;
            if (d) d->interlaced = 1;
            Jpg::ReadFrame(dec, length);
            break;
        case SOF0:
        case SOF1: Jpg::ReadFrame(dec, length); break;
        case DHT: Jpg::ReadHuffmanTables(dec, length); break;
        case DQT: Jpg::ReadQuantTables(dec, length); break;
        case DRI: Jpg::ReadRestartInterval(dec, length); break;
        case SOS: {
            const Jpg::Scan scan = Jpg::ReadScanHeader(dec, length);
            if (!Jpg::DecodeScan(dec, scan)) return false;
            if (dec.mode == Jpg::SingleScan) return true;
            afterScan = true;
            break;
        }
        default:
            if (OtherProcess(code)) throw EInvalidImage("JPEG: lossless, hierarchical or arithmetic-coded data");
            dec.in.Skip(length);
            break;
        }
    }
}

GFXFile* JPGFormat()
{
    static JPGFile format;
    return &format;
}
