// The walk along a line that stamps and dotted lines follow: the same pixels
// Pixmill's Line draws (one per step of the longer axis, the shorter axis
// driven by a 32-bit fraction that starts at one half), so a line of 1x1
// stamps matches a drawn line.
#ifndef KESTREL_PAINTKIT_WALK_H
#define KESTREL_PAINTKIT_WALK_H

#include <cstdint>
#include <cstdlib>

// Calls visit(x, y) for every point from (x1, y1) to (x2, y2), both ends.
template <class Visit> void WalkLine(int x1, int y1, int x2, int y2, Visit visit)
{
    int64_t dx = std::llabs(int64_t(x2) - x1), dy = std::llabs(int64_t(y2) - y1);
    bool yMajor = dx < dy;
    int64_t dMajor = yMajor ? dy : dx, dMinor = yMajor ? dx : dy;
    int sMajor = (yMajor ? y2 < y1 : x2 < x1) ? -1 : 1;
    int sMinor = (yMajor ? x2 < x1 : y2 < y1) ? -1 : 1;
    uint32_t step = 0, acc = 0x80000000u;
    if (dMajor > 0) step = dMinor == dMajor ? 0xFFFFFFFFu : uint32_t((uint64_t(dMinor) << 32) / uint64_t(dMajor));
    if (dMinor == dMajor) acc = 0xFFFFFFFEu;
    int major = yMajor ? y1 : x1, minor = yMajor ? x1 : y1;
    for (int64_t i = 0; i <= dMajor; ++i) {
        if (yMajor)
            visit(minor, major);
        else
            visit(major, minor);
        uint32_t next = acc + step;
        if (next < acc) minor += sMinor;
        acc = next;
        major += sMajor;
    }
}

#endif
