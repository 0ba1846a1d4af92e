// The pictures that exist for the whole run, beside those of the image
// windows: the work view, the brush and its stamp, and two previews.
#ifndef KESTREL_PROGRAMPICTURES_H
#define KESTREL_PROGRAMPICTURES_H

#include "picture_document.h"

extern UDBuffer WorkView;           // views the current picture's pixels
extern UDBuffer CurrentBrush;       // the master brush; keeps undo lists like an image
extern UDBuffer StampBuffer;        // the recoloured copy of the brush that is stamped
extern UDBuffer PreviewPicture;
extern UDBuffer OpenPreviewPicture; // the open dialog's preview

#endif
