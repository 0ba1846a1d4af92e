// Checks the structure of an AVI file before the platform's AVI library
// parses it: that library trusts the headers (a stream count with no stream
// list behind it made it crash).
#ifndef PIXMILL_AVI_CHECK_H
#define PIXMILL_AVI_CHECK_H

class TStream;

// Reads the headers and the index from s's position (which it leaves
// anywhere) and raises EInvalidImage("AVI: ...") for the first rule broken:
// RIFF "AVI " form within the data, "hdrl" list first with an "avih" header,
// one "strl" list with "strh" and "strf" per stream the header counts, a
// "movi" list, and an "idx1" index whose entries name those streams and
// hold as many frames as each stream's header counts.
void CheckAviStructure(TStream* s);

#endif
