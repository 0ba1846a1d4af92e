// The palette bar's colours in palette files (palette_file.h): the File
// menu's Load Palette and Save Palette, and the folder and name they
// remember for the run.
#ifndef KESTREL_PALETTE_COMMANDS_H
#define KESTREL_PALETTE_COMMANDS_H

#include "ansistring.h"
#include "buffer_view.h"

extern AnsiString PaletteDirectory;
extern AnsiString PaletteFileName;

// The bar's cells into the file; an old file is replaced only by a
// complete new one. False after "ErrSavePal".
bool SavePaletteFile(const AnsiString& name);
// The file's count rebuilds the bar (kept within the bar's range) with its
// colours so far, then the file's colours fill the cells in order. False
// after "ErrOpenPal", the bar unchanged.
bool LoadPaletteFile(TBuffer* holder, const AnsiString& name);

#endif
