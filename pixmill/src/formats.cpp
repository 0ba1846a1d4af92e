// The format table. Its order is the probing order: formats with a strong
// signature first, TGA last (it has none, and would otherwise claim files
// that other formats recognise).
#include "formats.h"

#include <string.h>

static const char* const FormatOrder[] = {
    "Corvane Frame",             // FRM
    "PC PaintBrush PCX",         // PCX
    "Amiga IFF",                 // IFF
    "Windows Bitmap",            // BMP
    "JPEG",                      // JPEG
    "Portable Network Graphics", // PNG
    "Windows Metafile",          // WMF
    "Enhanced Metafile",         // EMF
    "Icon",                      // ICO
    "AVI",                       // AVI
    "CompuServe GIF",            // GIF
    "TrueVision Targa",          // TGA
};

int FormatRank(const char* name)
{
    const int count = int(sizeof FormatOrder / sizeof FormatOrder[0]);
    for (int i = 0; i < count; i++)
        if (!strcmp(FormatOrder[i], name)) return i;
    return count;
}

void RegisterFormats()
{
    static bool done;
    if (done) return;
    done = true;
    FRMFormat();
    LBMFormat();
    PCXFormat();
    GIFFormat();
    JPGFormat();
    PNGFormat();
    BMPFormat();
    TGAFormat();
#ifdef _WIN32
    WMFFormat();
    EMFFormat();
    ICOFormat();
    AVIFormat();
#endif
}
