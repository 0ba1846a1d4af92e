// Raster fonts on Windows: the font directory through the file system, and
// the default system font as their fallback.
#ifndef PIXMILL_RFONT_WIN32_H
#define PIXMILL_RFONT_WIN32_H

// Done when the library loads; callable again (tests link the library's
// units statically, where nothing runs at load).
void InstallWin32FontSystem();

#endif
