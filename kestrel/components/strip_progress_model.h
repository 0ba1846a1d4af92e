// The numbers a strip progress bar shows: percentage and filled width.
#ifndef KESTREL_STRIP_PROGRESS_MODEL_H
#define KESTREL_STRIP_PROGRESS_MODEL_H

#include "ansistring.h"

// round(position / max * 100). A filter component may announce a maximum of
// 0, so max <= 0 shows 0 %; position is held inside 0..max so the bar never
// overfills.
int StripPercent(int position, int max);
// round(position / max * (width - 1)), within 0..width - 1.
int StripFillWidth(int position, int max, int width);
// caption + "   " + percent + "%", or the percentage alone.
AnsiString StripText(const AnsiString& caption, int percent);

#endif
