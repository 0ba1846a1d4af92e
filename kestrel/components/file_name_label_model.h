// Fitting a path into a label's width by dropping folders in favour of
// "...", keeping the file name and a drive prefix as long as they fit.
#ifndef KESTREL_FILE_NAME_LABEL_MODEL_H
#define KESTREL_FILE_NAME_LABEL_MODEL_H

#include <functional>

#include "ansistring.h"

enum TDirection { drFromLeft, drFromRight };

// Width in pixels of a text in the label's font.
using TTextWidthFunc = std::function<int(const AnsiString& Text)>;

// The text a label of `width` pixels shows for `fileName`. drFromLeft keeps
// the folders nearest the file name, drFromRight those nearest the drive.
AnsiString ShortenFileName(const AnsiString& fileName, const AnsiString& separator, TDirection direction,
                           int width, const TTextWidthFunc& textWidth);

#endif
