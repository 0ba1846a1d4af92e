// 16- and 32-bit numbers as files store them: least significant byte first
// (LE: BMP, PCX, TGA, GIF, FRM, metafiles, AVI) or most significant first
// (BE: PNG, JPEG, IFF), whatever the processor's own order.
//
// Inline, so that a call in a row loop compiles to the same loads and shifts
// as the expression written out. The class library, which sits below
// Pixmill and cannot include it, has the same functions for its own file
// readers (classlib/src/byte_order.h).
#ifndef PIXMILL_BYTE_ORDER_H
#define PIXMILL_BYTE_ORDER_H

#include <stdint.h>

inline uint32_t GetLE16(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

inline uint32_t GetLE32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline uint32_t GetBE16(const unsigned char* p)
{
    return uint32_t(p[0]) << 8 | uint32_t(p[1]);
}

inline uint32_t GetBE32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Writers take the low 16 or 32 bits of v.
inline void PutLE16(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void PutLE32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

inline void PutBE16(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

inline void PutBE32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

#endif
