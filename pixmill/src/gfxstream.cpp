#include "gfxstream.h"

TInputStream::TInputStream(TStream* source, const AnsiString& fileName)
    : FileName(fileName), source_(source), owned_(false)
{
}

TInputStream::~TInputStream()
{
    if (owned_) delete source_;
}

int TInputStream::Read(void* buffer, int count)
{
    return source_->Read(buffer, count);
}

int TInputStream::Write(const void*, int)
{
    return 0;
}

int TInputStream::Seek(int offset, unsigned short origin)
{
    return source_->Seek(offset, origin);
}

int TInputStream::GetSize()
{
    return source_->GetSize();
}

TOutputStream::TOutputStream(TStream* target, const AnsiString& fileName)
    : FileName(fileName), target_(target), owned_(false)
{
}

TOutputStream::~TOutputStream()
{
    if (owned_) delete target_;
}

int TOutputStream::Read(void* buffer, int count)
{
    return target_->Read(buffer, count);
}

int TOutputStream::Write(const void* buffer, int count)
{
    return target_->Write(buffer, count);
}

int TOutputStream::Seek(int offset, unsigned short origin)
{
    return target_->Seek(offset, origin);
}

int TOutputStream::GetSize()
{
    return target_->GetSize();
}
