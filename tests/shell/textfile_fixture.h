// Small text files for the shell's tests: written into the test folder
// and read back whole.
#ifndef TESTS_SHELL_TEXTFILE_FIXTURE_H
#define TESTS_SHELL_TEXTFILE_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

// A path in the test temporary folder ("" + name gives the folder itself
// with its separator).
inline std::string TestTempPath(const std::string& name) { return ::testing::TempDir() + name; }

// Binary: line ends are written as given.
inline void WriteTextFile(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// Text mode, as the program writes; "" when the file is missing.
inline std::string ReadTextFile(const std::string& path)
{
    std::string text;
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return text;
    int c;
    while ((c = std::fgetc(f)) != EOF) text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

inline bool TestFileExists(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

#endif
