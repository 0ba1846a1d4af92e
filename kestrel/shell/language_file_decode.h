// Expansion of compressed language files (*.lng).
//
// A language file is N (32-bit little-endian), the first code length L0,
// a canonical prefix-code description and an MSB-first bit stream of N
// symbols. The decoder never trusts the file: every table write, level and
// read is bounded, and anything it cannot decode exactly raises
// ELanguageFile instead of yielding a partial text.
#ifndef KESTREL_LANGUAGE_FILE_DECODE_H
#define KESTREL_LANGUAGE_FILE_DECODE_H

#include <cstddef>
#include <string>
#include "exceptions.h"

class ELanguageFile : public Exception {
public:
    explicit ELanguageFile(const AnsiString& msg) : Exception(msg) {}
};

// Far beyond any real language text; keeps a damaged length from asking
// for gigabytes.
const unsigned long MaxLanguageTextSize = 16ul * 1024 * 1024;

// Expands a whole .lng file held in memory.
std::string ExpandLanguageFile(const unsigned char* data, std::size_t size);

#endif
