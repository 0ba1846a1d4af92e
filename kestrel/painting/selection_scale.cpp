#include "selection_scale.h"

#include "outline_path.h"

unsigned char* ScaleOutline(const unsigned char* path, double zoom)
{
    if (!path) return nullptr;
    OutlinePathWriter out;
    float carryX = 0, carryY = 0;
    const unsigned char* p = path;
    for (;;) {
        int x = ReadPathInt(p);
        if (x == -1 || out.Failed()) break;
        int y = ReadPathInt(p + 4);
        p += 8;
        out.BeginContour(int(x * zoom), int(y * zoom));
        while (*p != ContourEnd) {
            OutlineDir dir = OutlineDir((*p >> 4) & 7);
            int steps = ReadRunSteps(p);
            bool horizontal = dir == DirRight || dir == DirLeft;
            float& carry = horizontal ? carryX : carryY;
            float amount = float(steps * zoom);
            carry += dir == DirRight || dir == DirDown ? amount : -amount;
            int whole = int(carry);  // toward zero
            carry -= float(whole);
            out.Move(dir, whole < 0 ? -whole : whole);
        }
        ++p;
        out.EndContour();
    }
    return out.Finish();
}
