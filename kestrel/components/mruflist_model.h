// The recent-files list as plain strings: insertion with de-duplication and
// a length limit, the numbered menu captions, and the stored "F<n>=name"
// lines turned back into the list.
#ifndef KESTREL_MRUFLIST_MODEL_H
#define KESTREL_MRUFLIST_MODEL_H

#include "ansistring.h"

class TStrings;

// Puts FileName at Index (0 = most recent). A name already there, compared
// without case, is moved rather than repeated; a new one pushes entries off
// the end beyond Maximum. An Index outside the list raises EListError.
void MRUInsert(TStrings* List, int Index, const AnsiString& FileName, int Maximum);
// Drops entries from the end until at most Maximum are left.
void MRUTrim(TStrings* List, int Maximum);

// "&3 name" for entry number 3; an "&" in the name is doubled so that the
// menu shows it instead of taking it as the accelerator mark.
AnsiString MRUCaption(int Number, const AnsiString& Name);

// The value name entry Index is stored under: "F0", "F1", ...
AnsiString MRUValueName(int Index);
// Lines "name=value" as a store hands them out become the values, ordered
// by the number of their "F<n>" name (stores such as the registry hand them
// out sorted as text: F0, F1, F10, F2). Other names follow in store order.
// Each value is everything after the first "=".
void MRUStoredToList(TStrings* Lines);

#endif
