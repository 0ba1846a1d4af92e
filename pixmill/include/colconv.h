// Pixel-format conversion between the library's pixel and file layouts.
//
// Names read source layout, destination layout, and "s" for the row form:
//   RGB32  bytes B, G, R, flag   (the library's pixel 0x00RRGGBB)
//   RGB24  bytes B, G, R
//   BGR24  bytes R, G, B
//   BGR32  bytes R, G, B, x      (x ignored)
//   XBGR32 bytes R, G, B, flag   (flag kept)
// n counts pixels. The 32-to-32 forms may convert in place. A 24-bit source is
// never read beyond its 3 * n bytes.
#ifndef PIXMILL_COLCONV_H
#define PIXMILL_COLCONV_H

#include "pixmill_api.h"

namespace Colconv {

PIXMILL_API unsigned long BSwap(unsigned long v);
PIXMILL_API unsigned long BGR24RGB32(unsigned long v);
PIXMILL_API void BGR24RGB24s(unsigned char* src, unsigned char* dst, int n);
PIXMILL_API void BGR24RGB32s(unsigned char* src, unsigned long* dst, int n);
PIXMILL_API void RGB24RGB32s(unsigned char* src, unsigned long* dst, int n);
PIXMILL_API void BGR32RGB32s(unsigned long* src, unsigned long* dst, int n);
PIXMILL_API void RGB32RGB32s(unsigned long* src, unsigned long* dst, int n);
PIXMILL_API void XBGR32RGB32s(unsigned long* src, unsigned long* dst, int n);
PIXMILL_API void RGB32RGB24s(unsigned long* src, unsigned char* dst, int n);
PIXMILL_API void RGB32BGR24s(unsigned long* src, unsigned char* dst, int n);

}  // namespace Colconv

#endif
