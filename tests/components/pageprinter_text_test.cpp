// The page printer's texts without a printer: the short header form, the
// macros, column formats and the wrapping of a cell, measured at ten
// pixels a character.
#include <gtest/gtest.h>

#include "pageprinter_columns.h"
#include "pageprinter_friendly.h"
#include "pageprinter_rows.h"

namespace {

const TextMeasure TenPerChar = [](const AnsiString& s) { return 10 * s.Length(); };

TEST(PagePrinterFriendly, CodesBecomeColumnsTextsAndWidths)
{
    FriendlyValues v;
    v.shortDate = "9.12.26";
    v.longDate = "9 December 2026";
    v.shortTime = "15:40";
    v.longTime = "15:40:12";
    v.fileName = "C:\\pics\\cat.png";
    struct Case {
        const char* friendly;
        double width;
        const char* text;
        const char* format;
    } cases[] = {
        {"&lL&cC&r&p", 6.5, "L|C|{$PAGE}", "<2.17|^2.17|>2.17"},
        {"Page &p of &i", 4, "Page {$PAGE} of {$TITLE}", "<4.00"},
        {"lead&rright", 10, "lead|right", "<5.00|>5.00"},
        {"&d/&D/&t/&T", 1, "9.12.26/9 December 2026/15:40/15:40:12", "<1.00"},
        {"&F &f", 1, "C:\\pics\\cat.png cat.png", "<1.00"},
        {"A&&B&x&", 1, "A&B  ", "<1.00"},  // unknown codes and a lone "&" are blanks
        {"&c", 3, "", "^3.00"},
        {"", 3, "", ""},
    };
    for (const Case& c : cases) {
        FriendlyResult r = ReadFriendlyText(c.friendly, v, c.width, '|');
        EXPECT_STREQ(c.text, r.text.c_str()) << c.friendly;
        EXPECT_STREQ(c.format, r.format.c_str()) << c.friendly;
    }
}

TEST(PagePrinterMacros, ReplacedOnceLeftToRight)
{
    MacroValues v;
    v.line = 4;
    v.page = 12;
    v.date = "9.12.26";
    v.time = "15:40:12";
    v.title = "{$PAGE}";  // put in, not searched again
    struct Case {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"{$PAGE}/{$LINE}", "12/4"},
        {"{$DATE} {$TIME}", "9.12.26 15:40:12"},
        {"[{$TITLE}]", "[{$PAGE}]"},
        {"{$UNKNOWN} {$PAGE", "{$UNKNOWN} {$PAGE"},
        {"plain", "plain"},
    };
    for (const Case& c : cases) EXPECT_STREQ(c.expanded, ExpandMacros(c.text, v).c_str()) << c.text;
}

TEST(PagePrinterColumns, FormatsAreStoredNormalised)
{
    EXPECT_STREQ("<2|>1.5|^0.5|<-3|<0.5|<0.5", NormalizeColumnFormat(" 2|>1.5|^|<-3|x|", '|', 0.5).c_str());
    EXPECT_STREQ("<25.4|>-12.7", ScaleColumnFormat("1|>-0.5", '|', 25.4, 0).c_str());
    ColumnSpec s = ParseColumnSpec(">-2", 1);
    EXPECT_EQ(caRight, s.align);
    EXPECT_EQ(2, s.width);
    EXPECT_FALSE(s.grid);
}

TEST(PagePrinterWrap, TakesWhatFitsBreakingAtBlanksAndLineFeeds)
{
    struct Case {
        const char* text;
        int width;
        bool wrap;
        const char* line;
        const char* rest;
    } cases[] = {
        {"hello world", 80, true, "hello ", "world"},  // the word does not fit: back to the blank
        {"hello world", 50, true, "hello", " world"},
        {"abcdefghij", 50, true, "abcde", "fghij"},  // one long word is cut
        {"ab\ncd ef", 80, true, "ab", "cd ef"},
        {"ab cd\nef gh", 80, true, "ab cd", "ef gh"},
        {"abcdefghij", 50, false, "abcde", ""},
        {"abc", 5, true, "a", "bc"},  // narrower than a character: still one
        {"abc", 0, false, "", ""},  // without wrapping nothing asks for another line
        {"", 50, true, "", ""},
    };
    for (const Case& c : cases) {
        AnsiString text = c.text;
        AnsiString line = TakeLine(text, c.width, c.wrap, TenPerChar);
        EXPECT_STREQ(c.line, line.c_str()) << c.text << " in " << c.width;
        EXPECT_STREQ(c.rest, text.c_str()) << c.text << " in " << c.width;
    }
}

TEST(PagePrinterRow, ColumnsAlignWithPaddingAndEndWhenAllTextIsOut)
{
    std::vector<RowColumn> columns = {{caLeft, 100, true}, {caCenter, 100, true}, {caRight, 100, true}};
    auto lines = LayOutRow(columns, {"ab", "cd", "a long text"}, true, 6, TenPerChar);
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(6, lines[0][0].offset);          // left, padded
    EXPECT_EQ(40, lines[0][1].offset);         // centred: (100 - 20) / 2
    EXPECT_EQ(100 - 70 - 6, lines[0][2].offset);  // "a long " right, padded
    EXPECT_EQ(200, lines[0][2].left);
    EXPECT_STREQ("text", lines[1][2].text.c_str());
    EXPECT_STREQ("", lines[1][0].text.c_str());

    // A width of nothing (no width in the format, no default) used to ask
    // for new lines for ever.
    auto narrow = LayOutRow({{caLeft, 0, true}}, {"abc"}, true, 6, TenPerChar);
    EXPECT_EQ(3u, narrow.size());
}

}  // namespace
