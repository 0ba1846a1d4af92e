// Stands in for the view's GDI calls: records every call with the header it
// was given, forwards it to GDI unless told to refuse, and puts the system's
// calls back when it goes out of scope.
#ifndef TESTS_PAINTING_GDI_RECORDER_H
#define TESTS_PAINTING_GDI_RECORDER_H

#include <cstring>
#include <functional>
#include <vector>
#include "buffer_view_render.h"

struct GdiCall {
    bool stretch;  // StretchDIBits, else SetDIBitsToDevice
    int dstX, dstY, dstW, dstH;
    int srcX, srcY, srcW, srcH;
    const void* bits;
    BITMAPV4HEADER header;  // as passed
};

class GdiRecorder {
public:
    GdiRecorder()
    {
        current = this;
        TBufferGdi& g = TBufferGdi::Calls();
        g.setDIBitsToDevice = &SetBits;
        g.stretchDIBits = &Stretch;
        g.setStretchBltMode = &StretchMode;
        g.setICMMode = &IcmMode;
    }
    ~GdiRecorder()
    {
        TBufferGdi::Restore();
        current = nullptr;
    }
    GdiRecorder(const GdiRecorder&) = delete;
    GdiRecorder& operator=(const GdiRecorder&) = delete;

    // Decides per call whether it fails; unset, every call goes through.
    std::function<bool(const GdiCall&)> refuse;

    std::vector<GdiCall> calls;    // those that went through
    int refused = 0;
    std::vector<int> stretchModes;
    std::vector<int> icmModes;

    inline static GdiRecorder* current = nullptr;

private:
    static GdiCall Make(bool stretch, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
                        const void* bits, const BITMAPINFO* bmi)
    {
        GdiCall c{stretch, dx, dy, dw, dh, sx, sy, sw, sh, bits, {}};
        std::memcpy(&c.header, bmi, bmi->bmiHeader.biSize <= sizeof(c.header) ? bmi->bmiHeader.biSize
                                                                              : sizeof(c.header));
        return c;
    }
    bool Admit(const GdiCall& c)
    {
        if (refuse && refuse(c)) {
            refused++;
            return false;
        }
        calls.push_back(c);
        return true;
    }
    static int WINAPI SetBits(HDC dc, int dx, int dy, DWORD w, DWORD h, int sx, int sy, UINT start,
                              UINT lines, const void* bits, const BITMAPINFO* bmi, UINT use)
    {
        GdiCall c = Make(false, dx, dy, int(w), int(h), sx, sy, int(w), int(h), bits, bmi);
        if (!current->Admit(c))
            return 0;
        return SetDIBitsToDevice(dc, dx, dy, w, h, sx, sy, start, lines, bits, bmi, use);
    }
    static int WINAPI Stretch(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
                              const void* bits, const BITMAPINFO* bmi, UINT use, DWORD rop)
    {
        GdiCall c = Make(true, dx, dy, dw, dh, sx, sy, sw, sh, bits, bmi);
        if (!current->Admit(c))
            return 0;
        return StretchDIBits(dc, dx, dy, dw, dh, sx, sy, sw, sh, bits, bmi, use, rop);
    }
    static int WINAPI StretchMode(HDC dc, int mode)
    {
        current->stretchModes.push_back(mode);
        return SetStretchBltMode(dc, mode);
    }
    static int WINAPI IcmMode(HDC dc, int mode)
    {
        current->icmModes.push_back(mode);
        return SetICMMode(dc, mode);
    }
};

#endif
