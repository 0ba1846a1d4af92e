// The parts of opening and saving pictures that need no window: the file
// filters built from Pixmill's format list, the choice of a save format by
// extension, the result codes, backup names, the recent-file
// entries, the preview geometry and the depth choice of the save dialog.
#ifndef KESTREL_PICTUREFILES_H
#define KESTREL_PICTUREFILES_H

#include "ansistring.h"
#include "gfxfile.h"

// LoadPictureFile results.
enum {
    LoadOk = 0,
    LoadDamaged = 1,      // EInvalidImage after pixels came
    LoadUnknown = 2,      // EInvalidImage before any pixel
    LoadReadError = 3,    // EReadError
    LoadOtherError = 4,   // any other exception
    LoadBrushTooBig = 5,  // the brush's stamp copy could not be made
};

// SavePictureFile results.
enum {
    SaveOk = 0,
    SaveCannotHold = 1,  // the format cannot hold this picture
    SaveCancelled = 2,
    SaveWriteError = 3,
};

// The filter text of the last BuildFileFilter.
extern AnsiString FileFilter;

// Builds FileFilter from every format (opening, with a last "All" entry) or
// from the writable ones; answers the number of entries + 1.
int BuildFileFilter(bool writableOnly);

bool IsWritable(const GFXFile* format);
// 1-based among writable formats; 0 for a read-only one or null.
int WritableIndex(const GFXFile* format);
// Null outside 1..number of writable formats.
GFXFile* WritableFormat(int index);
// Null outside 0..number of formats - 1.
GFXFile* FormatAt(int index);

// The writable format whose extensions hold the name's extension; index =
// its writable index, 0 (and null) when there is none.
GFXFile* FindSaveFormat(const AnsiString& name, int& index);

// The format's first extension, lower case, without "*." ("bmp").
AnsiString DefaultExtension(const GFXFile* format);

// The save format when the typed name finds none: the one at DefFileExt
// when it exists and is writable, else the first writable one.
int DefaultSaveIndex(int defFileExt);

// "picture.bmp" -> "picture._bm"; no extension -> "picture._".
AnsiString BackupName(const AnsiString& name);

// The file a save really writes: Pixmill appends the format's extension to
// a name without one, and to every name when no format claims it (the
// first registered format is then used).
AnsiString SaveTargetName(const AnsiString& name, GFXFile*& format);

// "c:\tmp\anim.gif: 2": the lower-cased name, and ": n" for image n > 0.
AnsiString RecentFileEntry(const AnsiString& fullName, int image);
// Splits an entry at its last ": " followed by digits only; image 0
// without one.
void SplitRecentFileEntry(const AnsiString& entry, AnsiString& name, int& image);

// Where the open dialog shows a preview of a w x h picture: scaled into
// 240 x 180 at (4, 24), centred.
struct PreviewPlace {
    int left, top, width, height;
};
PreviewPlace PreviewPlacement(int width, int height);

// The save dialog's depth buttons, in the order they are tried going down.
enum SaveDepth { DepthTC24, DepthHC16, DepthHC15, DepthB8, DepthB4, DepthMC, DepthGS, DepthAD, DepthCount };
// Bits per pixel a button writes (-1 adaptive) and whether it writes grey.
int DepthBits(SaveDepth depth);
bool DepthGrey(SaveDepth depth);
// Which buttons a format enables.
void EnabledDepths(const GFXFile* format, bool enabled[DepthCount]);
// The button checked for a picture of `bits` (grey: a grey picture).
// DepthCount when none is enabled.
SaveDepth NearestDepth(const bool enabled[DepthCount], int bits, bool grey);
// Palette depths: colour limit, dither and transparency apply.
bool IsPaletteDepth(SaveDepth depth);

// The extension of a typed save name: a writable format's index, 0 when the
// name has no extension, -1 when no writable format claims it.
int TypedNameFormat(const AnsiString& name);

#endif
