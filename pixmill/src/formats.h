// The registered formats. Each format's file defines its descriptor object,
// made on first use; each takes its place in the list by its rank in the
// format table, whatever the order in which they are made (this compiler runs
// static constructors in reverse link order, so the order is data instead).
#ifndef PIXMILL_FORMATS_H
#define PIXMILL_FORMATS_H

class GFXFile;

// Makes every format; later calls do nothing.
void RegisterFormats();
// A format's place in the table (probing order); unknown names go last.
int FormatRank(const char* name);

GFXFile* FRMFormat();
GFXFile* LBMFormat();
GFXFile* PCXFormat();
GFXFile* GIFFormat();
GFXFile* JPGFormat();
GFXFile* PNGFormat();
GFXFile* BMPFormat();
GFXFile* TGAFormat();

// Formats that play through Windows (metafiles, icons, video frames); only in
// the Windows build.
GFXFile* WMFFormat();
GFXFile* EMFFormat();
GFXFile* ICOFormat();
GFXFile* AVIFormat();

#endif
