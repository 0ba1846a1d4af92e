#include "jpg_decode_paths.h"

#include <stdlib.h>
#include <string.h>

namespace Jpg {

namespace {

enum Choice { Unread, Vector, Scalar };

Choice choice = Unread;

Choice FromEnvironment()
{
#if defined(__SSE2__)
    const char* value = getenv("PIXMILL_JPEG_SCALAR");
    return value && strcmp(value, "1") == 0 ? Scalar : Vector;
#else
    return Scalar;
#endif
}

}  // namespace

bool VectorPaths()
{
    if (choice == Unread) choice = FromEnvironment();
    return choice == Vector;
}

void ForceScalarPaths(bool scalar)
{
#if defined(__SSE2__)
    choice = scalar ? Scalar : Vector;
#else
    (void)scalar;
    choice = Scalar;
#endif
}

}  // namespace Jpg
