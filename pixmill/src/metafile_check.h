// Checks the records of a metafile before the platform plays them. GDI
// trusts the counts, offsets and object numbers inside records; a damaged or
// hostile file would make it read outside the record or its object table.
#ifndef PIXMILL_METAFILE_CHECK_H
#define PIXMILL_METAFILE_CHECK_H

#include <stddef.h>

// data holds the metafile from its first byte (EMF, placeable WMF or plain
// WMF). Raises EInvalidImage("WMF: ...") for the first record that breaks a
// rule; data of another kind is left to the metafile loader to refuse.
void CheckMetafileRecords(const unsigned char* data, size_t size);

#endif
