// 16- and 32-bit numbers as files store them: least significant byte first
// (LE: BMP, icons, metafiles) or most significant first (BE: the size of a
// PNG image inside an icon), whatever the processor's own order.
//
// Pixmill, which sits above this library and so cannot be included here, has
// the same functions in its pixmill/src/byte_order.h. Both end up in
// pixmill.dll; static keeps these to each file that includes them, so the two
// sets never meet at link time.
#ifndef CLASSLIB_BYTE_ORDER_H
#define CLASSLIB_BYTE_ORDER_H

#include <stdint.h>

static inline uint32_t GetLE16(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

static inline uint32_t GetLE32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

static inline uint32_t GetBE16(const unsigned char* p)
{
    return uint32_t(p[0]) << 8 | uint32_t(p[1]);
}

static inline uint32_t GetBE32(const unsigned char* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// Writers take the low 16 or 32 bits of v.
static inline void PutLE16(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

static inline void PutLE32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

static inline void PutBE16(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

static inline void PutBE32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v >> 24);
    p[1] = static_cast<unsigned char>(v >> 16);
    p[2] = static_cast<unsigned char>(v >> 8);
    p[3] = static_cast<unsigned char>(v);
}

#endif
