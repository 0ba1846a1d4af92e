// Whether the JPEG reader runs its SSE2 code or its scalar code. Both give
// the same pictures; the scalar code stays so that it can be checked against
// the vector code, on machines and in builds without SSE2, and by the tests.
#ifndef PIXMILL_JPG_DECODE_PATHS_H
#define PIXMILL_JPG_DECODE_PATHS_H

namespace Jpg {

// True when the SSE2 paths are built in and neither ForceScalarPaths nor
// the environment variable PIXMILL_JPEG_SCALAR (set to 1, read at the first
// call) turned them off.
bool VectorPaths();

// For tests: true forces the scalar paths, false returns to the vector paths
// where they are built in.
void ForceScalarPaths(bool scalar);

}  // namespace Jpg

#endif
