// The picture as it travels through the clipboard: a 32-bit bottom-up
// bitmap whose fourth byte keeps the program's flag byte, so that a copied
// selection's shape comes back with it (unselected pixels travel as the
// transparent key).
#ifndef KESTREL_SHELL_CLIPBOARD_PIXELS_H
#define KESTREL_SHELL_CLIPBOARD_PIXELS_H

#include <vector>

#include "buffer.h"

// The CF_DIB block of area (clipped to pic; empty gives an empty block):
// a 40-byte header, then the rows from the bottom up. With keepAll the
// pixels go as they are; otherwise selected pixels lose their mark and the
// others become the key.
std::vector<unsigned char> ClipboardDibFromPicture(Buffer& pic, Rect area, bool keepAll);

// After the decoder read a 32-bit bitmap into pic (its width and height,
// from its top-left corner), sets the flag bytes from the raw rows: a pixel
// that came as 00 00 00 01 becomes the key, every other one loses its
// fourth byte, which other programs fill with alpha. bottomUp and the row
// count come from the header; rows the block did not hold stay as decoded.
void RestoreClipboardKeys(Buffer& pic, const unsigned char* bits, int bitsBytes, bool bottomUp);

#endif
