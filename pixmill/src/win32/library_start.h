// Library start, callable again by tests that change the configuration.
#ifndef PIXMILL_LIBRARY_START_H
#define PIXMILL_LIBRARY_START_H

#include <windows.h>

#include <stddef.h>

void LibraryStart(HMODULE module);
// "C:\APP\BIN\pixmill.dll" gives "C:\APP\FONTS\"; "C:\APP\pixmill.dll" "C:\APP\".
void DefaultFontPath(const char* libraryFile, char* out, size_t size);

#endif
