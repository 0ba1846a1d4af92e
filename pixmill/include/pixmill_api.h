// Export and import markers of the Pixmill library.
//
// Building the DLL defines PIXMILL_BUILD; every other module imports. The
// native host build used for sanitizers and fuzzing (no Windows) links the
// same sources statically, so the markers vanish there.
#ifndef PIXMILL_PIXMILL_API_H
#define PIXMILL_PIXMILL_API_H

#if defined(_WIN32) && !defined(PIXMILL_STATIC)
#  ifdef PIXMILL_BUILD
#    define PIXMILL_API __declspec(dllexport)
#  else
#    define PIXMILL_API __declspec(dllimport)
#  endif
#else
#  define PIXMILL_API
#endif

#endif
