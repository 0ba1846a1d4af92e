// The file operations of the memory streams: kept apart from streams.cpp so
// that the portable build links memory streams without any file stream.
#include "filestream.h"
#include "streams.h"

void TCustomMemoryStream::SaveToFile(const AnsiString& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(&file);
}

void TMemoryStream::LoadFromFile(const AnsiString& fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&file);
}
