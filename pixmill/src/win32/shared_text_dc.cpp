#include "shared_text_dc.h"

#include <string.h>

#include "exceptions.h"

namespace {

// Made while the library loads, before any caller can have a thread of its
// own: made lazily, two first callers could both initialise it.
struct SharedText {
    CRITICAL_SECTION lock;
    HDC dc = nullptr;
    SharedText() { InitializeCriticalSection(&lock); }
};

SharedText& shared = *new SharedText;

// Copies made for fonts that draw anti-aliased, found again by their
// description: a font handle may be deleted and its value reused for
// another font.
struct PlainCopy {
    LOGFONTA key;
    HFONT font;
};

const int CacheSize = 16;
PlainCopy cache[CacheSize];
int cacheNext;

bool Describe(HFONT font, LOGFONTA& lf)
{
    memset(&lf, 0, sizeof lf);
    if (GetObjectA(font, sizeof lf, &lf) != int(sizeof lf)) return false;
    // Bytes after the face name's end are not part of the description.
    size_t n = strnlen(lf.lfFaceName, LF_FACESIZE);
    memset(lf.lfFaceName + n, 0, LF_FACESIZE - n);
    return true;
}

HFONT Remember(const LOGFONTA& key, HFONT copy)
{
    PlainCopy& slot = cache[cacheNext];
    if (slot.font) DeleteObject(slot.font);
    slot.key = key;
    slot.font = copy;
    cacheNext = (cacheNext + 1) % CacheSize;
    return copy;
}

}  // namespace

TextLock::TextLock()
{
    EnterCriticalSection(&shared.lock);
    if (!shared.dc) shared.dc = CreateCompatibleDC(nullptr);
    if (!shared.dc) {
        LeaveCriticalSection(&shared.lock);
        throw Exception("Cannot create device context.");
    }
    dc = shared.dc;
}

TextLock::~TextLock()
{
    LeaveCriticalSection(&shared.lock);
}

HFONT PlainFont(HFONT font)
{
    LOGFONTA lf;
    if (!Describe(font, lf) || lf.lfQuality == NONANTIALIASED_QUALITY) return font;
    for (const PlainCopy& c : cache)
        if (c.font && memcmp(&c.key, &lf, sizeof lf) == 0) return c.font;
    LOGFONTA plain = lf;
    plain.lfQuality = NONANTIALIASED_QUALITY;
    HFONT copy = CreateFontIndirectA(&plain);
    return copy ? Remember(lf, copy) : font;
}
