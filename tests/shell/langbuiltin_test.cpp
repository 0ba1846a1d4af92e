// The built-in English is english.txt: every message of the text is built
// in as the language file reader takes it, so the program reads the same
// with no language chosen as with English chosen.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include "langtext.h"
#include "messages.h"

namespace {

std::string SourcePath(const char* relative)
{
#ifdef _WIN32
    return std::string("Z:") + KESTREL_SOURCE_DIR + "/" + relative;  // the build machine's files under Wine
#else
    return std::string(KESTREL_SOURCE_DIR) + "/" + relative;
#endif
}

TEST(BuiltInEnglish, HoldsEveryMessageOfEnglishTxt)
{
    std::FILE* file = std::fopen(SourcePath("kestrel/shell/english.txt").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<LangEntry> entries = ReadMessageSection(file);
    std::fclose(file);
    ASSERT_GT(entries.size(), 100u);
    SetLanguageLookup(nullptr);  // no language chosen
    std::set<std::string> seen;
    for (const LangEntry& e : entries) {
        if (!seen.insert(e.key.c_str()).second) continue;  // the first entry of a key counts
        EXPECT_STREQ(BuiltInText(e.key.c_str()), e.value.c_str()) << e.key.c_str();
    }
    // The status hint is a sentence, as it is with English chosen.
    EXPECT_STRNE(Translate("Pen").c_str(), "Pen");
    // Units follow the blank the program puts before them.
    for (const char* unit : {"Sec", "Pixels", "KBytes"}) EXPECT_NE(BuiltInText(unit)[0], ' ') << unit;
    EXPECT_STREQ(BuiltInText("NoSuchKey"), "");
}

TEST(BuiltInEnglish, TextInMemoryReadsLikeAFile)
{
    // Lines cut at the limit lose their tail, as from a file.
    std::string longValue(MessageLineLimit + 50, 'v');
    std::string text = "x\n[MESSAGES]\r\n; note\n A = @a@ \nLong=" + longValue + "\n\nB=b\n[Other]\nC=c";
    std::vector<LangEntry> entries = ReadMessageSection(text);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_STREQ(entries[0].key.c_str(), "A");
    EXPECT_STREQ(entries[0].value.c_str(), " a ");
    EXPECT_EQ(entries[1].value.Length(), MessageLineLimit - 5);
    EXPECT_STREQ(entries[2].key.c_str(), "B");
}

}  // namespace
