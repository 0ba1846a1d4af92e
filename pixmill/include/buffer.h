// The pixel buffer: the one picture type of Pixmill and of the program.
//
// A Buffer is a rectangle of 32-bit pixels 0x00RRGGBB (bytes B, G, R, flags in
// memory) with an inclusive coordinate rectangle of its own. It either owns its
// pixel block or borrows it (a view into another buffer, or caller memory).
//
// Ownership moves on copy: copying or assigning a Buffer hands the block to the
// target and leaves the source a borrowed view of the same pixels. Because that
// makes ordinary copies steal pixels, copying from a const Buffer is refused at
// compile time; pass buffers by reference.
//
// Drawing primitives: in PutPixel, VLine, Box, Rectangle and Line a colour with
// the top bit set XORs every touched pixel with colour & 0x7FFFFFFF, and each
// pixel is touched once, so drawing a shape twice restores the picture.
#ifndef PIXMILL_BUFFER_H
#define PIXMILL_BUFFER_H

#include "pixmill_api.h"

class AnsiString;
class RFont;
class TFont;

template <class T> struct Pair {
    T x, y;
};

// Inclusive on all four sides; empty when right < left or bottom < top.
struct Rect {
    int left, top, right, bottom;
};

// Linear part of an affine map, by columns: (x, y) maps to
// (m0*x + m2*y, m1*x + m3*y). The translation travels beside it.
struct Matrix2D {
    double m0, m1, m2, m3;
    static PIXMILL_API Matrix2D Unit;
};

class PIXMILL_API Buffer {
public:
    unsigned long* pixels;  // pixel at (left, top); null when empty
    int stride;             // distance between rows, in PIXELS
    int left, top, right, bottom;
    int own;                // 0 owns; -1 owns, block starts 4 bytes before pixels; 1 borrowed

    // r.left with this value asks a view to be rebased to its clipped corner.
    static const int RebaseToClip = -2147483647;

    Buffer();
    Buffer(Buffer& src);                        // takes src's block, src becomes borrowed
    Buffer(Buffer&& src) noexcept;
    Buffer(Buffer& src, Rect r, bool keep);     // view, see Alloc(Buffer&, Rect, bool)
    Buffer(const Buffer&) = delete;
    ~Buffer() { Free(); }

    Buffer& operator=(Buffer& src);             // moves ownership; b = b changes nothing
    Buffer& operator=(Buffer&& src) noexcept;
    Buffer& operator=(const Buffer&) = delete;

    void Free();
    // A new, uncleared block; rows 8-byte aligned. Sizes below 1 give an empty
    // buffer; a size the address space cannot hold raises EOutOfMemory.
    void Alloc(Pair<int> size);
    // Borrows caller memory; stride 0 means size.x.
    void Alloc(Pair<int> size, unsigned long* mem, int stride);
    // A borrowed view of src over r clipped to src. keep false rebases the view
    // so that (r.left, r.top) becomes (0, 0), or with r.left == RebaseToClip the
    // clipped corner does.
    void Alloc(Buffer& src, Rect r, bool keep);

    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
    Rect GetRect() const { return Rect{left, top, right, bottom}; }
    // No check: callers have clipped (x, y) to the rect.
    unsigned long* At(int x, int y) const { return pixels + (y - top) * stride + (x - left); }

    // Drawing primitives; everything is clipped to the buffer's rect.
    void PutPixel(Pair<int> p, unsigned long colour);
    void VLine(int x, int y1, int y2, unsigned long colour);
    void Box(Rect r, unsigned long colour);
    void Rectangle(Rect r, unsigned long colour);
    void Line(Pair<int> p1, Pair<int> p2, unsigned long colour);
    // src's (x, y) lands on (x + pos.x, y + pos.y); key 0xFFFFFFFF copies all.
    void Copy(Buffer& src, Pair<int> pos, unsigned long key);
    void CopyLine(Buffer& src, Pair<int> p1, Pair<int> p2, Pair<int> offset);
    void Swap(Buffer& other);
    // op 1 AND, 2 OR, 3 XOR, 4 shift (v > 0 left, v < 0 right); others nothing.
    void Bool(int op, unsigned long v);
    void ChColor(unsigned long from, unsigned long to);
    void XChColor(unsigned long c1, unsigned long c2);
    bool CheckMask(unsigned long mask);
    void OutlineEQ(unsigned long key, unsigned long colour);
    void OutlineNE(unsigned long key, unsigned long colour);
    void VClr(int n);

    // Scaling and linear transforms. key 0xFFFFFFFF: no key; mode 0 plain,
    // > 0 smoothing, < 0 chosen by the ratios or the matrix.
    // Draws src stretched to |size| at pos; a negative size mirrors.
    void Scale(Buffer& src, Pair<int> size, Pair<int> pos, unsigned long key, int mode);
    // Draws src through m, translated by t; 0 when no pixel was covered.
    int XFormLin(Buffer& src, Matrix2D& m, Pair<int> t, unsigned long key, int mode);
    // Column spans covered by a quadrilateral (see its definition): an array
    // from the shared heap that the caller releases with free(), or null
    // when nothing is covered.
    Pair<int>* Render(Pair<double>* corners, Pair<int>& first, int& rows, int smooth);

    // Text in a system font, in exactly one colour (flag byte included): pos
    // is the top-left of the extent box, and only glyph pixels change.
    void OutText(TFont* font, Pair<int> pos, AnsiString& s, unsigned long colour);
    // (0, 0) for an empty string.
    Pair<int> GetTextExtent(TFont* font, AnsiString& s);
    // Text in a raster font; without a usable face, in the default system font.
    void OutChar(RFont& f, Pair<int> pos, int ch, unsigned long colour);
    void OutText(RFont& f, Pair<int> pos, AnsiString& s, unsigned long colour);
    Pair<int> GetTextExtent(RFont& f, AnsiString& s);

    static char* GetConfigFile();
    static int GetDefaultX();
    static int GetDefaultY();
    static void SetDefaultX(int x);
    static void SetDefaultY(int y);

    static int default_x;          // default picture width
    static int default_y;          // default picture height
    static char config_file[260];  // the library's configuration file, or empty
};

#endif
