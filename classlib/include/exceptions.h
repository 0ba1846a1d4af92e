// The exception classes shared by Pixmill and the program.
//
// Both modules link this layer and the shared libgcc/libstdc++ runtimes, so an
// exception thrown inside pixmill.dll is caught by type in the program. Every
// exception carries a message for the user; copying one never throws.
#ifndef CLASSLIB_EXCEPTIONS_H
#define CLASSLIB_EXCEPTIONS_H

#include <exception>
#include "ansistring.h"

class Exception : public std::exception {
public:
    explicit Exception(const AnsiString& msg);
    ~Exception() noexcept override;
    const char* what() const noexcept override;

    AnsiString Message;
};

// The heap could not supply a block (or a size is beyond the address space).
class EOutOfMemory : public Exception {
public:
    EOutOfMemory();
};

// Picture data that cannot be read or written. Message is the library's fixed
// text for the user; Detail names the format and the rule, for logs and tests.
class EInvalidImage : public Exception {
public:
    explicit EInvalidImage(const char* detail = nullptr);
    AnsiString Detail;
};

// A character index outside the string (AnsiString::operator[]).
class ERangeError : public Exception {
public:
    ERangeError();  // "Range check error"
};

// Text that is not a number of the asked kind (AnsiString::ToInt).
class EConvertError : public Exception {
public:
    explicit EConvertError(const AnsiString& msg);
};

class EStreamError : public Exception {
public:
    explicit EStreamError(const AnsiString& msg);
};

class EReadError : public EStreamError {
public:
    EReadError();
};

class EWriteError : public EStreamError {
public:
    EWriteError();
};

class EFileStreamError : public EStreamError {
public:
    explicit EFileStreamError(const AnsiString& msg);
};

class EFOpenError : public EFileStreamError {
public:
    explicit EFOpenError(const AnsiString& fileName);  // "Cannot open file %s"
};

class EFCreateError : public EFileStreamError {
public:
    explicit EFCreateError(const AnsiString& fileName);  // "Cannot create file %s"
};

#endif
