// Defined in one unit so that they are built in this order and destroyed in
// reverse, whatever the link order.
#include "programpictures.h"

UDBuffer WorkView;
UDBuffer CurrentBrush;
UDBuffer StampBuffer;
UDBuffer PreviewPicture;
UDBuffer OpenPreviewPicture;
