// The run walker over outline paths, kept beside outline_path.h because it
// is a template that every caller instantiates.
#ifndef KESTREL_OUTLINE_PATH_WALK_H
#define KESTREL_OUTLINE_PATH_WALK_H

#include <cstring>

inline int32_t ReadPathInt(const unsigned char* p)
{
    int32_t v;
    std::memcpy(&v, p, 4);  // unaligned, little-endian like the target
    return v;
}

// Steps in a run byte (and the byte after it for long runs); advances p.
inline int ReadRunSteps(const unsigned char*& p)
{
    unsigned char b = *p++;
    if (b & 0x80) return (((b & 0x0F) << 8) | *p++) + MaxShortRun;
    return (b & 0x0F) + 1;
}

template <class F> void ForEachOutlineRun(const unsigned char* path, F run)
{
    if (!path) return;
    const unsigned char* p = path;
    for (;;) {
        int x = ReadPathInt(p);
        if (x == -1) return;
        int y = ReadPathInt(p + 4);
        p += 8;
        while (*p != ContourEnd) {
            OutlineDir dir = OutlineDir((*p >> 4) & 7);
            int steps = ReadRunSteps(p);
            run(x, y, dir, steps);
            switch (dir) {
            case DirUp: y -= steps; break;
            case DirRight: x += steps; break;
            case DirDown: y += steps; break;
            default: x -= steps; break;
            }
        }
        ++p;
    }
}

#endif
