// File-type associations: an extension key of HKEY_CLASSES_ROOT (".bmp")
// whose default value names the program's ProgID "Kestrel". The previous
// default is kept under the ProgID key as a value named after the
// extension, so that unassociating gives the file type back.
#ifndef KESTREL_FILEASSOC_H
#define KESTREL_FILEASSOC_H

#include "ansistring.h"

// "Kestrel"; a test points it at a key of its own.
extern const char* KestrelProgId;

// Takes the next extension off a format's list ("*.bmp;*.rle" gives ".bmp"
// and leaves "*.rle"); the last gives its text from the second character
// and leaves the list empty; an empty list gives "".
AnsiString SplitExtensionList(AnsiString& list);

// Windows build. Extensions are lower-cased first; errors are swallowed.
bool IsAssociated(const AnsiString& ext);
// Remembers the previous default and takes the extension. Without the
// ProgID key there is nowhere to remember it, so the extension is left
// as it is (false).
bool Associate(const AnsiString& ext);
// Writes the remembered default back; an extension that is not the
// program's (another program took it since) is left alone.
bool Unassociate(const AnsiString& ext);

#endif
