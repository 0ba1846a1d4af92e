// The one device context that every text call of the process shares, and the
// lock that keeps callers from mixing fonts and bitmaps in it.
#ifndef PIXMILL_SHARED_TEXT_DC_H
#define PIXMILL_SHARED_TEXT_DC_H

#include "winapi.h"

// Holds the lock for its lifetime. The context is made on first use; when
// the system refuses it, "Cannot create device context." is raised (with the
// lock released).
class TextLock {
public:
    TextLock();
    ~TextLock();
    TextLock(const TextLock&) = delete;
    TextLock& operator=(const TextLock&) = delete;

    HDC dc;
};

// font, or a copy of it drawn without anti-aliasing: with smoothing the
// glyph edges would be blends of the text colour with the background, and
// text must come out in one exact colour. Copies are cached; call with the
// lock held, and do not delete the answer.
HFONT PlainFont(HFONT font);

#endif
