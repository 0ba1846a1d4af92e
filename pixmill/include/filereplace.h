// Writing a file over an existing one without ever losing the old one.
//
// The new contents go to a temporary file in the target's folder (so that
// the final move stays on one drive); the target is replaced only after the
// temporary file was completely written, flushed and closed. A target marked
// read-only is never replaced: the system would let the move through, and
// the user's protection and file would be gone. Whatever goes wrong, the
// temporary file is removed and the target stays byte for byte as it was.
#ifndef PIXMILL_FILEREPLACE_H
#define PIXMILL_FILEREPLACE_H

#include "ansistring.h"
#include "filestream.h"
#include "gfxstream.h"
#include "pixmill_api.h"

class PIXMILL_API TReplacingFile {
public:
    // Raises EFCreateError for a read-only target or when no temporary file
    // can be made beside it.
    explicit TReplacingFile(const AnsiString& target);
    // Removes the temporary file unless Commit put it in place.
    ~TReplacingFile();
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    // Writes go to the temporary file; the stream carries the target's name,
    // since some writers choose a variant by the extension.
    TOutputStream* Stream() { return &stream_; }
    // Closes the temporary file and moves it over the target; EWriteError
    // when either fails, EFCreateError when the target became read-only.
    void Commit();

    // EFCreateError when name exists and is marked read-only.
    static void RefuseReadOnly(const AnsiString& name);

private:
    AnsiString target_;
    AnsiString temp_;
    void* handle_;
    THandleStream raw_;
    TOutputStream stream_;
};

#endif
