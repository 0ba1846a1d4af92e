// TStrings' file forms, through TFileStream (Windows build only).
#include "filestream.h"
#include "stringlist.h"

void TStrings::LoadFromFile(const AnsiString& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const AnsiString& FileName) const
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}
