// Candidate lists for the nearest-entry search of a whole picture.
//
// The colour cube is cut into 16 x 16 x 16 cells by the top four bits of R, G
// and B. Each cell lists, in entry order, every entry that can be the nearest
// one to some colour of the cell, so a pixel is compared with its cell's list
// only and still gets exactly what a search of all entries would give (the
// lowest index on ties). The lists share one 256 KB store; when they do not
// fit, every cell lists all entries.
#ifndef PIXMILL_QUANTIZE_CELLS_H
#define PIXMILL_QUANTIZE_CELLS_H

#include "scratch_block.h"

class CellLists {
public:
    static constexpr int Cells = 4096;
    static constexpr int StoreBytes = 262144;
    static constexpr int ListBytes = StoreBytes - Cells;  // the rest holds one count per cell

    // Lists for entries first..n-1 of pal (first < n <= 256). Takes the
    // store from the heap (EOutOfMemory when it cannot).
    CellLists(const unsigned char* pal, int first, int n);

    // The nearest entry to (r, g, b), each 0..255; the lowest index on ties.
    int Nearest(int r, int g, int b) const
    {
        const int cell = (r >> 4) << 8 | (g >> 4) << 4 | b >> 4;
        const unsigned char* list = store.Get() + start[cell];
        const unsigned char* end = list + store.Get()[cell] + 1;
        int best = *list;
        long bestDistance = Distance(r, g, b, best);
        for (++list; list < end; ++list) {
            const long d = Distance(r, g, b, *list);
            if (d < bestDistance) {
                bestDistance = d;
                best = *list;
            }
        }
        return best;
    }

    // True when the lists did not fit and every cell lists all entries.
    bool Shared() const { return shared; }
    // Bytes the lists take (without the counts).
    int Used() const { return used; }

private:
    long Distance(int r, int g, int b, int entry) const
    {
        const unsigned char* e = pal + 3 * entry;
        return long(r - e[0]) * (r - e[0]) + long(g - e[1]) * (g - e[1]) + long(b - e[2]) * (b - e[2]);
    }
    void Build(int first, int n);
    void ShareAll(int first, int n);

    const unsigned char* pal;
    ScratchBlock<unsigned char> store;  // counts - 1 of each cell, then the lists
    int start[Cells];                   // offset of each cell's list in the store
    int used;
    bool shared;
};

#endif
