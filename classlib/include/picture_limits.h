// Limits a picture reader applies before allocating: this library's packed
// DIB reader and every format reader of Pixmill, which sits above it and
// takes the same limit from here.
//
// (Not named limits.h: this folder is on the include path, where that name
// would hide the system's <limits.h> from every unit.)
#ifndef CLASSLIB_PICTURE_LIMITS_H
#define CLASSLIB_PICTURE_LIMITS_H

// A 32-bit process has about 2 GB of address space; 2^28 pixels are 1 GB of
// 32-bit pixels, so a larger picture could never be allocated, and refusing
// it early keeps a hostile header from asking for it.
const long long MaxPicturePixels = 1LL << 28;

#endif
