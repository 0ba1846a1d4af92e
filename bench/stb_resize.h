// The reference scaler of the benchmarks: Debian's header-only
// stb_image_resize, compiled into the one benchmark that includes this,
// quietly. HAVE_STB_RESIZE says whether it was found.
#ifndef BENCH_STB_RESIZE_H
#define BENCH_STB_RESIZE_H

#if __has_include("stb_image_resize.h")
#define HAVE_STB_RESIZE 1
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wshadow"
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include "stb_image_resize.h"
#pragma GCC diagnostic pop
#endif

#endif
