// PCX run-length coding. The count field holds 0..63: longer runs are written
// as pieces of 63.
#include "pcx_rle.h"

#include <string.h>

#include "exceptions.h"

namespace {

const unsigned CountFlag = 0xC0;
const int MaxRun = 63;

}  // namespace

void PcxDecodeRow(StreamBuf& in, unsigned char* out, int n)
{
    int i = 0;
    while (i < n) {
        unsigned c = in.Byte();
        if (c < CountFlag) {
            out[i++] = static_cast<unsigned char>(c);
            continue;
        }
        int count = int(c & ~CountFlag);
        unsigned char value = in.Byte();
        // Rows are coded separately: a run into the next row is damage, and
        // following it would write past this row's bytes.
        if (count > n - i) throw EInvalidImage("PCX: run past the end of a row");
        memset(out + i, value, size_t(count));
        i += count;
    }
}

size_t PcxEncodeLine(const unsigned char* line, int n, unsigned char* out)
{
    unsigned char* o = out;
    int i = 0;
    while (i < n) {
        const unsigned char value = line[i];
        int run = 1;
        while (i + run < n && line[i + run] == value) ++run;
        i += run;
        for (; run > MaxRun; run -= MaxRun) {
            *o++ = static_cast<unsigned char>(CountFlag | MaxRun);
            *o++ = value;
        }
        // A plain byte of 192 or more would read as a count.
        if (run > 2 || value >= CountFlag) {
            *o++ = static_cast<unsigned char>(CountFlag | unsigned(run));
            *o++ = value;
        } else {
            while (run-- > 0) *o++ = value;
        }
    }
    return size_t(o - out);
}
