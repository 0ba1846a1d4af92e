// TBitmap: a GDI bitmap with a canvas to draw on it.
//
// Setting a size on an empty bitmap makes a screen-compatible bitmap
// (PixelFormat pfDevice) filled white; other pixel formats are DIB sections.
// Resizing keeps the overlapping part of the picture.
//
// The bitmap can be selected into one DC at a time: GetHandle takes it out
// of the canvas's memory DC (the canvas puts it back on its next use), so the
// handle may be given to GetDIBits, image lists or another DC.
#ifndef CLASSLIB_BITMAP_H
#define CLASSLIB_BITMAP_H

#include <memory>
#include <vector>
#include "graphic.h"

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    int GetWidth() const override { return width_; }
    int GetHeight() const override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    // Negative sizes count as 0; a size of 0 empties the bitmap.
    void SetSize(int width, int height);
    bool GetEmpty() const override { return handle_ == nullptr; }

    TCanvas* GetCanvas();

    HBITMAP GetHandle();
    // Takes ownership of bitmap (null empties).
    void SetHandle(HBITMAP bitmap);
    // Gives up ownership: the bitmap becomes empty.
    HBITMAP ReleaseHandle();
    // A palette made from the colour table of a 1-, 4- or 8-bit picture, or
    // the one set; owned by the bitmap. Null for others.
    HPALETTE GetPalette();
    // Takes ownership; a 1-, 4- or 8-bit picture takes its colours too.
    void SetPalette(HPALETTE palette);

    TPixelFormat GetPixelFormat() const { return format_; }
    // Converts the picture (colours of fewer bits come from a fixed table).
    void SetPixelFormat(TPixelFormat format);

    // In tmAuto the bottom-left pixel.
    TColor GetTransparentColor();
    void SetTransparentColor(TColor color);
    TTransparentMode GetTransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);

    // A copy of source's picture, format, palette and transparency; null
    // empties.
    void Assign(TBitmap* source);
    // Another TBitmap, or EConvertError.
    void Assign(TPersistent* Source) override;
    // Raises EResNotFound when the module has no such bitmap.
    void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    // BMP files. Loading reads one file's bytes from the stream.
    void LoadFromStream(TStream* stream) override;
    void SaveToStream(TStream* stream) override;
    // Packed DIB (header, colours, bits), as CF_DIB holds it.
    void LoadFromDIB(const void* data, int size);
    std::vector<unsigned char> SaveToDIB();

    void Draw(TCanvas* canvas, const RECT& r) override;

private:
    class TBitmapCanvas;

    void Replace(HBITMAP bitmap);
    void FreeContext();

    HBITMAP handle_ = nullptr;
    HPALETTE palette_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = pfDevice;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    std::unique_ptr<TBitmapCanvas> canvas_;
};

// The header of 32-bit BI_RGB pixels, top row first (0x00RRGGBB each), as
// GetDIBits and SetDIBits take them for reading or writing plain pixels.
BITMAPINFO TopDownInfo32(int Width, int Height);

#endif
