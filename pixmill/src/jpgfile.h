// JPEG (JFIF) format descriptor: Huffman-coded 8-bit grey and YCbCr pictures.
//
// The reader (jpgfile.cpp, jpg_decode*.cpp) takes sequential and progressive
// files; the writer (jpg_write.cpp) makes sequential or progressive files
// without subsampling. Interlaced here means progressive.
#ifndef PIXMILL_JPGFILE_H
#define PIXMILL_JPGFILE_H

#include "gfxfile.h"

class JPGFile : public GFXFile {
public:
    JPGFile() : GFXFile("JPEG", "*.JPG;*.JPEG;*.JFIF", 0x800000, 0x80, true, 1) {}

    int Test(TInputStream* s, GFXFileDesc* d) override;
    bool Load(Buffer& b, TInputStream* s, GFXFileDesc* d, GFXtra32* x, int image) override;
    bool Save(Buffer& b, TOutputStream* s, GFXtra32* x, GFXSaveParams* p) override;
};

#endif
