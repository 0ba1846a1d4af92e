// The file-opening constructors: only the Windows build has files.
#include "filestream.h"
#include "gfxstream.h"

TInputStream::TInputStream(const AnsiString& fileName)
    : FileName(fileName), source_(new TFileStream(fileName, fmOpenRead | fmShareDenyWrite)), owned_(true)
{
}

TOutputStream::TOutputStream(const AnsiString& fileName)
    : FileName(fileName), target_(new TFileStream(fileName, fmCreate)), owned_(true)
{
}
