#include "control_cursors.h"

#include <vector>

#include "screen.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// A plain 32 x 32 arrow-like stand-in: a filled triangle, hot spot at (0, 0).
HCURSOR MakeCursor()
{
    const int w = GetSystemMetrics(SM_CXCURSOR), h = GetSystemMetrics(SM_CYCURSOR);
    const int stride = ((w + 15) / 16) * 2;
    std::vector<BYTE> andMask(stride * h, 0xFF), xorMask(stride * h, 0);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x <= y / 2; ++x) andMask[y * stride + x / 8] &= static_cast<BYTE>(~(0x80 >> (x % 8)));
    return CreateCursor(GetModuleHandleA(nullptr), 0, 0, w, h, andMask.data(), xorMask.data());
}

HCURSOR LoadOrMake(const char* name)
{
    HCURSOR c = LoadCursorA(reinterpret_cast<HINSTANCE>(&__ImageBase), name);
    return c ? c : MakeCursor();
}

}  // namespace

void InitControlCursors()
{
    if (!Screen) return;
    // The screen owns what it is given and frees a replaced handle.
    Screen->SetCursors(crHand, LoadOrMake("HANDCUR"));
    Screen->SetCursors(crDragHand, LoadOrMake("DRAGCUR"));
}
