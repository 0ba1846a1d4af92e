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

// A call the object's state does not allow ("Control has no parent window").
class EInvalidOperation : public Exception {
public:
    explicit EInvalidOperation(const AnsiString& msg);
};

// An index outside a list ("List index out of bounds (5)").
class EListError : public Exception {
public:
    explicit EListError(const AnsiString& msg);
};

// Windows refused a window, DC or GDI object.
class EOutOfResources : public Exception {
public:
    explicit EOutOfResources(const AnsiString& msg);
};

// A named resource (bitmap, cursor) the module does not hold.
class EResNotFound : public Exception {
public:
    explicit EResNotFound(const AnsiString& msg);
};

class EPrinter : public Exception {
public:
    explicit EPrinter(const AnsiString& msg);
};

class ERegistryException : public Exception {
public:
    explicit ERegistryException(const AnsiString& msg);
};

// A property set to a value outside its range.
class EPropertyError : public Exception {
public:
    explicit EPropertyError(const AnsiString& msg);
};

// Silent: ends an operation without a message; the message loop swallows it.
class EAbort : public Exception {
public:
    EAbort();
};

#endif
