// ByteRun1, the run-length coding of IFF rows. A signed control byte n:
// n >= 0 takes the next n + 1 bytes as they are; -127..-1 repeats the next
// byte 1 - n times; -128 does nothing (some encoders pad with it).
#include <string.h>

#include "exceptions.h"
#include "lbm_codec.h"

namespace {

const int MaxRun = 128;

unsigned char* PutLiterals(const unsigned char* row, int from, int to, unsigned char* out)
{
    while (from < to) {
        int count = to - from < MaxRun ? to - from : MaxRun;
        *out++ = static_cast<unsigned char>(count - 1);
        memcpy(out, row + from, size_t(count));
        out += count;
        from += count;
    }
    return out;
}

}  // namespace

void LbmUnpackRow(StreamBuf& in, unsigned char* row, int n)
{
    int done = 0;
    while (done < n) {
        int control = static_cast<signed char>(in.Byte());
        if (control >= 0) {
            int count = control + 1;
            if (count > n - done) throw EInvalidImage("IFF: literal run past the end of the row");
            in.Read(row + done, count);
            done += count;
        } else if (control != -128) {
            int count = 1 - control;
            if (count > n - done) throw EInvalidImage("IFF: repeat run past the end of the row");
            memset(row + done, in.Byte(), size_t(count));
            done += count;
        }
    }
}

size_t LbmPackRoom(int n)
{
    return n > 0 ? size_t(n) + size_t(n + MaxRun - 1) / MaxRun : 0;
}

// Runs of 3 or more become repeats: a repeat of 2 would cost as much as the
// literals and split the literal run around it.
size_t LbmPackRow(const unsigned char* row, int n, unsigned char* out)
{
    unsigned char* at = out;
    int literalStart = 0;
    int i = 0;
    while (i < n) {
        int run = 1;
        while (i + run < n && run < MaxRun && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            at = PutLiterals(row, literalStart, i, at);
            *at++ = static_cast<unsigned char>(1 - run);
            *at++ = row[i];
            literalStart = i + run;
        }
        i += run;
    }
    at = PutLiterals(row, literalStart, n, at);
    return size_t(at - out);
}
