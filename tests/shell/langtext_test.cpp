#include <gtest/gtest.h>

#include <cstdio>
#include "langtext.h"

namespace {

// A temporary stream holding text, closed at scope end.
class TextFile {
public:
    explicit TextFile(const std::string& text) : file_(std::tmpfile())
    {
        std::fwrite(text.data(), 1, text.size(), file_);
        std::rewind(file_);
    }
    ~TextFile() { std::fclose(file_); }
    std::FILE* get() const { return file_; }

private:
    std::FILE* file_;
};

TEST(LangText, MessageLinesAreTrimmedAndAtSignsBecomeBlanks)
{
    LangEntry e = ParseMessageLine("  Hello \t=  @World@ \r\n");
    EXPECT_STREQ(e.key.c_str(), "Hello");
    EXPECT_STREQ(e.value.c_str(), " World ");
    e = ParseMessageLine("no equals sign here");
    EXPECT_TRUE(e.key.IsEmpty());
    EXPECT_STREQ(e.value.c_str(), "no equals sign here");
    e = ParseMessageLine("A=b=c");
    EXPECT_STREQ(e.value.c_str(), "b=c");
}

TEST(LangText, MessageSectionFoundInAnyCaseAndEndsAtNextSection)
{
    TextFile file("[InfoForm]\nX=1\n[mEsSaGeS]\r\n; comment\n\nErr=Fehler\r\nNoMem=Kein Speicher\n[NewForm]\nY=2\n");
    std::vector<LangEntry> entries = ReadMessageSection(file.get());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_STREQ(entries[0].key.c_str(), "Err");
    EXPECT_STREQ(entries[0].value.c_str(), "Fehler");
    EXPECT_STREQ(entries[1].value.c_str(), "Kein Speicher");
}

TEST(LangText, MissingMessageSectionGivesNothing)
{
    TextFile file("[Other]\nA=B\n");
    EXPECT_TRUE(ReadMessageSection(file.get()).empty());
}

TEST(LangText, OverlongLineIsCutAndItsTailSkipped)
{
    std::string tail = "Tail=not a line of its own";
    TextFile file("[Messages]\nLong=" + std::string(MessageLineLimit, 'v') + tail + "\nNext=ok\n");
    std::vector<LangEntry> entries = ReadMessageSection(file.get());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value.Length(), MessageLineLimit - 5);
    EXPECT_STREQ(entries[1].key.c_str(), "Next");
}

TEST(LangText, FormSectionHeaderMustMatchCase)
{
    TextFile lower("[infoform]\nOkBtn.Caption=Fine\n");
    EXPECT_TRUE(ReadFormSection(lower.get(), "[InfoForm]").empty());
}

TEST(LangText, FormSectionAssignmentsKeepKeyAndCutValueEnd)
{
    TextFile file(
        "[Messages]\nA=B\n[PrintForm]\n OkBtn.Caption=@Fine@  \r\n; note\nno assignment\n\n"
        "Level.Items=A|B|\n>=MainForm\n[Next]\nX.Caption=no\n");
    std::vector<LangEntry> entries = ReadFormSection(file.get(), "[PrintForm]");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_STREQ(entries[0].key.c_str(), " OkBtn.Caption");
    EXPECT_STREQ(entries[0].value.c_str(), "@Fine@");
    EXPECT_STREQ(entries[1].value.c_str(), "A|B|");
    EXPECT_STREQ(entries[2].key.c_str(), ">");
    EXPECT_STREQ(entries[2].value.c_str(), "MainForm");
}

TEST(LangText, ReadLimitedLineKeepsLineEnd)
{
    TextFile file("ab\r\ncd");
    std::string line;
    ASSERT_TRUE(ReadLimitedLine(file.get(), 10, line));
    EXPECT_EQ(line, "ab\r\n");
    ASSERT_TRUE(ReadLimitedLine(file.get(), 10, line));
    EXPECT_EQ(line, "cd");
    EXPECT_FALSE(ReadLimitedLine(file.get(), 10, line));
}

}  // namespace
