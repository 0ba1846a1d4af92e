// Option bars: descriptions read into controls, values by index, and the
// bar kept across tools that share a description.
#include <clocale>
#include <map>
#include <string>

#include "messages.h"
#include "tool_fixture.h"
#include "userlevel.h"

namespace {

TEST(OptionBarParse, IntegerSpinEditWithLabelAndHint)
{
    OptionBarDescription bar = ParseOptionBar("Radius,I,Size,1,100,10,Brush size");
    EXPECT_EQ(bar.caption, "Radius");
    ASSERT_EQ(bar.items.size(), 1u);
    const OptionItem& i = bar.items[0];
    EXPECT_EQ(i.kind, 'I');
    EXPECT_EQ(i.caption, "Size");
    EXPECT_EQ(i.minimum, 1);
    EXPECT_EQ(i.maximum, 100);
    EXPECT_EQ(i.value, 10);
    EXPECT_EQ(i.hint, "Brush size");
    EXPECT_EQ(i.Tag(), 5);
}

TEST(OptionBarParse, EveryKindReadsItsTokens)
{
    OptionBarDescription bar = ParseOptionBar(
        "Cap,B,Go,Run it,C,Chk,1,h2,F,Angle,2,-1.5,2.25,0.75,hf,L,Mode,3,a,bb,c,hl,O,Col,FF0000,ho,P,GLYPH,hp,S,T,Lbl,ht");
    ASSERT_EQ(bar.items.size(), 8u);
    EXPECT_EQ(bar.items[0].caption, "Go");
    EXPECT_EQ(bar.items[0].hint, "Run it");
    EXPECT_EQ(bar.items[1].value, 1);
    EXPECT_EQ(bar.items[2].decimals, 2);
    EXPECT_EQ(bar.items[2].minimum, -1.5);
    EXPECT_EQ(bar.items[2].maximum, 2.25);
    EXPECT_EQ(bar.items[2].value, 0.75);
    EXPECT_EQ(bar.items[3].entries, (std::vector<AnsiString>{"a", "bb", "c"}));
    EXPECT_EQ(bar.items[3].hint, "hl");
    EXPECT_EQ(bar.items[3].Tag(), 4);
    EXPECT_EQ(bar.items[4].value, 0x000000FF);  // 0xBBGGRR blue in pixel layout
    EXPECT_EQ(bar.items[5].caption, "GLYPH");
    EXPECT_EQ(bar.items[6].kind, 'S');
    EXPECT_EQ(bar.items[7].caption, "Lbl");
    EXPECT_EQ(bar.items[7].hint, "ht");
}

TEST(OptionBarParse, CodeLengthGivesTheUserLevel)
{
    OptionBarDescription bar = ParseOptionBar("Cap,II,N,0,9,3,h,CC,Chk,0,h");
    ASSERT_EQ(bar.items.size(), 2u);
    EXPECT_EQ(bar.items[0].level, 1);
    EXPECT_EQ(bar.items[0].Tag(), 4096 + 5);
    EXPECT_EQ(bar.items[1].Tag(), 4096);
}

TEST(OptionBarParse, ShortTextsReadMissingTokensAsEmpty)
{
    OptionBarDescription bar = ParseOptionBar("C,L,Mode,5,a,b");
    ASSERT_EQ(bar.items.size(), 1u);
    EXPECT_EQ(bar.items[0].entries.size(), 2u);
    EXPECT_TRUE(bar.items[0].hint.IsEmpty());
    bar = ParseOptionBar("C,I,Size");
    ASSERT_EQ(bar.items.size(), 1u);
    EXPECT_EQ(bar.items[0].value, 0);
    bar = ParseOptionBar("C,L,Mode,-7,x");
    ASSERT_EQ(bar.items.size(), 1u);
    EXPECT_TRUE(bar.items[0].entries.empty());
    EXPECT_EQ(ParseOptionBar("").items.size(), 0u);
    EXPECT_EQ(ParseOptionBar("Cap,Z,,Q").items.size(), 0u);  // unknown codes skipped
}

TEST(OptionBarParse, NumbersUseAPointWhateverTheLocale)
{
    // A locale with a decimal comma, where one exists here.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(ParseOptionNumber("2.5"), 2.5);
    EXPECT_EQ(ParseOptionNumber(" -0.25"), -0.25);
    EXPECT_EQ(ParseOptionNumber("abc"), 0);
    EXPECT_EQ(ParseOptionNumber("1e400"), 1);
    std::setlocale(LC_NUMERIC, saved.c_str());
}

class OptionBars : public ToolTest {
protected:
    std::map<std::string, std::string> texts;
    int builds = 0;
    LoggingTool spray{"spray", log};
    LoggingTool air{"air", log};
    LoggingTool line{"line", log};

    void SetUp() override
    {
        ToolTest::SetUp();
        texts["BarA"] = "Spray,T,Note,h,I,Size,1,100,10,Size,II,Rate,1,50,5,Rate,C,Soft,1,Soft";
        texts["BarB"] = "Lines,L,Ends,2,Flat,Round,Ends";
        SetLanguageLookup([this](const AnsiString& key) { return AnsiString(texts[key.c_str()].c_str()); });
        OptionBarView = OptionBarViewServices();
        OptionBarView.build = [this](const OptionBarDescription&) { ++builds; };
        spray.optionBarKey = "BarA";
        air.optionBarKey = "BarA";
        line.optionBarKey = "BarB";
        Level = LevelNovice;
    }
    void TearDown() override
    {
        HideOptionBar(CurrentTool, nullptr);
        OptionBarView = OptionBarViewServices();
        SetLanguageLookup(nullptr);
        Level = LevelNovice;
        ToolTest::TearDown();
    }
};

TEST_F(OptionBars, ToolsAddressValueControlsOnly)
{
    SelectTool(&spray, false, -1);
    EXPECT_TRUE(OptionBarShown());
    ASSERT_EQ(OptionControlCount(), 3);
    EXPECT_EQ(GetOptionValue(0), 10);
    EXPECT_EQ(GetOptionValue(1), 5);
    EXPECT_EQ(GetOptionValue(2), 1);
    EXPECT_TRUE(GetOptionControl(0)->visible);
    EXPECT_FALSE(GetOptionControl(1)->visible);  // an expert's item
    EXPECT_EQ(GetOptionValue(3), 0);
    EXPECT_EQ(GetOptionValue(-1), 0);
    SetOptionValue(99, 4);
    EXPECT_EQ(GetOptionControl(3), nullptr);
}

TEST_F(OptionBars, SetValueFollowsTheControlKind)
{
    SelectTool(&spray, false, -1);
    SetOptionValue(2, 7);
    EXPECT_EQ(GetOptionValue(2), 1);
    SetOptionValue(2, 0);
    EXPECT_EQ(GetOptionValue(2), 0);
    SelectTool(&line, false, -1);
    SetOptionValue(0, 1.9);
    EXPECT_EQ(GetOptionValue(0), 1);
}

TEST_F(OptionBars, ToolWithTheSameBarKeepsItAndItsValues)
{
    SelectTool(&spray, false, -1);
    SetOptionValue(0, 42);
    SelectTool(&air, false, -1);
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(GetOptionValue(0), 42);
    Level = LevelExpert;
    SelectTool(&spray, false, -1);
    EXPECT_EQ(builds, 2);
    EXPECT_EQ(GetOptionValue(0), 10);
    EXPECT_TRUE(GetOptionControl(1)->visible);
}

TEST_F(OptionBars, OtherBarOrNoBarHidesIt)
{
    SelectTool(&spray, false, -1);
    SelectTool(&line, false, -1);
    EXPECT_EQ(builds, 2);
    EXPECT_EQ(OptionControlCount(), 1);
    SelectTool(&pen, false, -1);
    EXPECT_FALSE(OptionBarShown());
}

TEST_F(OptionBars, ToolSelectedWhileParkedReplacesTheParkedToolsBar)
{
    SelectTool(&spray, false, -1);
    SuspendTool();
    SelectTool(&pen, false, -1);
    EXPECT_FALSE(OptionBarShown());
}

TEST_F(OptionBars, TableHoldsAtMost32Controls)
{
    std::string text = "Many";
    for (int i = 0; i < 40; ++i) text += ",C,c" + std::to_string(i) + ",1,h";
    texts["BarA"] = text;
    SelectTool(&spray, false, -1);
    EXPECT_EQ(OptionControlCount(), MaxOptionControls);
    EXPECT_EQ(GetOptionControl(31)->item.caption, "c31");
}

}  // namespace
