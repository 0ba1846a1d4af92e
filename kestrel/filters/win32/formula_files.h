// Whole-file reads and writes for formula files and built components. A
// write goes to a temporary file beside the target first, so a failed write
// never leaves a half-written file in place of a good one.
#ifndef KESTREL_FORMULA_FILES_H
#define KESTREL_FORMULA_FILES_H

#include <string>

bool ReadWholeFile(const std::string& path, std::string& bytes);
bool WriteWholeFile(const std::string& path, const std::string& bytes);

#endif
