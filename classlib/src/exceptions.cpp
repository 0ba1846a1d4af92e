#include "exceptions.h"

namespace {

// Made while the module loads, so that raising EOutOfMemory later needs no
// allocation (making the text when the heap is exhausted would raise again).
// Never freed, so that it outlives every static object that might raise.
const AnsiString* const outOfMemoryText = new AnsiString("Out of memory");

}  // namespace

Exception::Exception(const AnsiString& msg) : Message(msg) {}

Exception::~Exception() noexcept {}

const char* Exception::what() const noexcept
{
    return Message.c_str();
}

EOutOfMemory::EOutOfMemory() : Exception(outOfMemoryText ? *outOfMemoryText : AnsiString()) {}

EInvalidImage::EInvalidImage(const char* detail)
    : Exception("Graphics file has an invalid/unknown format or has been damaged."), Detail(detail)
{
}

ERangeError::ERangeError() : Exception("Range check error") {}

EConvertError::EConvertError(const AnsiString& msg) : Exception(msg) {}

EStreamError::EStreamError(const AnsiString& msg) : Exception(msg) {}

EReadError::EReadError() : EStreamError("Stream read error") {}

EWriteError::EWriteError() : EStreamError("Stream write error") {}

EFileStreamError::EFileStreamError(const AnsiString& msg) : EStreamError(msg) {}

EFOpenError::EFOpenError(const AnsiString& fileName) : EFileStreamError("Cannot open file " + fileName) {}

EFCreateError::EFCreateError(const AnsiString& fileName) : EFileStreamError("Cannot create file " + fileName) {}

EInvalidOperation::EInvalidOperation(const AnsiString& msg) : Exception(msg) {}

EListError::EListError(const AnsiString& msg) : Exception(msg) {}

EOutOfResources::EOutOfResources(const AnsiString& msg) : Exception(msg) {}

EResNotFound::EResNotFound(const AnsiString& msg) : Exception(msg) {}

EPrinter::EPrinter(const AnsiString& msg) : Exception(msg) {}

ERegistryException::ERegistryException(const AnsiString& msg) : Exception(msg) {}

EPropertyError::EPropertyError(const AnsiString& msg) : Exception(msg) {}

EAbort::EAbort() : Exception("Operation aborted") {}
