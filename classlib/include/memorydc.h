// TMemoryDC: a memory DC with one bitmap selected, given back and deleted on
// the way out (painting off screen, masks, reading a bitmap's pixels).
#ifndef CLASSLIB_MEMORYDC_H
#define CLASSLIB_MEMORYDC_H

#include "winapi.h"

class TMemoryDC {
public:
    // A DC compatible with Like (the screen when null). Out of resources
    // it is null: drawing on it does nothing, and nothing leaks.
    TMemoryDC(HDC Like, HBITMAP Bitmap)
        : dc_(CreateCompatibleDC(Like)), old_(dc_ ? SelectObject(dc_, Bitmap) : nullptr)
    {
    }
    ~TMemoryDC()
    {
        if (!dc_) return;
        SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

#endif
