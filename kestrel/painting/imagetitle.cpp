#include "imagetitle.h"

#include "messages.h"
#include "sysutils.h"
#include "picture_document.h"

AnsiString ImageTitle(const UDBuffer& pic)
{
    if (!pic.fileName.IsEmpty()) return pic.fileName;
    return Translate("Untitled") + " " + IntToStr(pic.untitledNumber);
}

AnsiString ImageCaption(const UDBuffer& pic, int mode, bool minimised)
{
    if (pic.fileName.IsEmpty()) return ImageTitle(pic);
    if (mode == CaptionAuto) mode = minimised ? CaptionNameOnly : CaptionFullPath;
    return mode == CaptionNameOnly ? ExtractFileName(pic.fileName) : pic.fileName;
}

AnsiString CloseQuestionText(const UDBuffer& pic, int index)
{
    return ImageTitle(pic) + " [" + IntToStr(index + 1) + "] " + Translate("Changed");
}
