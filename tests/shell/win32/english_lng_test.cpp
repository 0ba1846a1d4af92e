// The english.lng the build puts beside the program: it expands to the
// readable source it was made from, and the program loads it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include "lang.h"
#include "language_file_decode.h"
#include "messages.h"
#include "winapi.h"

namespace {

std::string ProgramDir()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of("\\/") + 1);
}

std::string ReadAll(const std::string& path)
{
    std::string data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::getc(f)) != EOF;) data += static_cast<char>(c);
        std::fclose(f);
    }
    return data;
}

TEST(EnglishLng, ExpandsToItsSource)
{
    std::string lng = ReadAll(ProgramDir() + "english.lng");
    ASSERT_FALSE(lng.empty()) << "english.lng is missing beside the program (made by tools/lngencode.py)";
    // The source as Wine sees the build machine's files.
    std::string source = ReadAll(std::string("Z:") + KESTREL_SOURCE_DIR + "/kestrel/shell/english.txt");
    ASSERT_FALSE(source.empty());
    EXPECT_EQ(ExpandLanguageFile(reinterpret_cast<const unsigned char*>(lng.data()), lng.size()), source);
}

TEST(EnglishLng, ProgramLoadsIt)
{
    int shown = 0;
    MessageBoxHook = [&shown](const AnsiString&, const AnsiString&, unsigned) { return ++shown, 1; };
    {
        TLang lang(ProgramDir().c_str());
        lang.Load("english");
        EXPECT_EQ(shown, 0);
        EXPECT_STREQ(Translate("NoSuchDir").c_str(), "This folder does not exist.");
        EXPECT_STREQ(Translate("KBytes").c_str(), "KB");
    }
    MessageBoxHook = nullptr;
}

}  // namespace
