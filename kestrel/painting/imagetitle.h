// What an image window calls its picture: in its caption, in the close
// question and in the Window menu.
#ifndef KESTREL_IMAGETITLE_H
#define KESTREL_IMAGETITLE_H

#include "ansistring.h"

class UDBuffer;

// The file name, or the translated "Untitled" and the picture's number.
AnsiString ImageTitle(const UDBuffer& pic);

enum : int { CaptionAuto = 0, CaptionNameOnly = 1, CaptionFullPath = 2 };
// Auto shows the name alone while the window is minimised, else the path.
// An untitled picture always shows its untitled title.
AnsiString ImageCaption(const UDBuffer& pic, int mode, bool minimised);

// "<title> [<index + 1>] <translated Changed>"
AnsiString CloseQuestionText(const UDBuffer& pic, int index);

#endif
