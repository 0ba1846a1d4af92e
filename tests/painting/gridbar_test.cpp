// The grid switch's bar: the main window's fixed grid bar, not the option
// bar, goes when the grid is switched off, and it makes way while an option
// bar is built with the grid on.
#include <map>
#include <string>

#include "messages.h"
#include "tool_fixture.h"
#include "userlevel.h"

namespace {

// As the grid switch is made: its Deactivate takes its bar down.
class GridSwitch : public LoggingTool {
public:
    using LoggingTool::LoggingTool;
    void Deactivate(P_icon* next) override
    {
        LoggingTool::Deactivate(next);
        HideOptionBar(this, next);
    }
};

class GridBarTest : public ToolTest {
protected:
    LoggingTool spray{"spray", log};
    GridSwitch grid{"grid", log};
    ToolGroupButton gridButton;
    std::vector<std::string> bars;  // "build", "grid:0", "grid:1", "bar:0", "bar:1"

    void SetUp() override
    {
        ToolTest::SetUp();
        SetLanguageLookup([](const AnsiString& key) {
            return key == "BarA" ? AnsiString("Spray,I,Size,1,100,10,Size") : AnsiString();
        });
        OptionBarView = OptionBarViewServices();
        OptionBarView.build = [this](const OptionBarDescription&) { bars.push_back("build"); };
        OptionBarView.show = [this](bool shown) { bars.push_back(std::string("bar:") + (shown ? "1" : "0")); };
        OptionBarView.showGridBar = [this](bool shown) {
            bars.push_back(std::string("grid:") + (shown ? "1" : "0"));
        };
        spray.optionBarKey = "BarA";
        grid.flags = ToolToggle;
        grid.clickSteps = 0;
        grid.optionBarKey = "xxx";
        grid.groupButton = &gridButton;
        GridTool = &grid;
        Level = LevelNovice;
    }
    void TearDown() override
    {
        GridTool = nullptr;
        HideOptionBar(CurrentTool, nullptr);
        OptionBarView = OptionBarViewServices();
        SetLanguageLookup(nullptr);
        ToolTest::TearDown();
    }
};

TEST_F(GridBarTest, SwitchingTheGridOffHidesTheGridBarOnly)
{
    SelectTool(&spray, false, -1);
    SelectTool(&grid, false, -1);  // on
    bars.clear();
    SelectTool(&grid, false, -1);  // off
    EXPECT_EQ(bars, (std::vector<std::string>{"grid:0"}));
    EXPECT_TRUE(OptionBarShown());
    EXPECT_EQ(GetOptionValue(0), 10);
    EXPECT_EQ(CurrentTool, &spray);
}

TEST_F(GridBarTest, GridBarMakesWayWhileABarIsBuiltWithTheGridOn)
{
    gridButton.down = true;
    SelectTool(&spray, false, -1);
    EXPECT_EQ(bars, (std::vector<std::string>{"grid:0", "build", "bar:1", "grid:1"}));
    bars.clear();
    gridButton.down = false;
    SelectTool(&pen, false, -1);
    SelectTool(&spray, false, -1);
    EXPECT_EQ(bars, (std::vector<std::string>{"bar:0", "build", "bar:1"}));
}

TEST_F(GridBarTest, HidingForAToolOfTheSameKeyKeepsTheGridBar)
{
    LoggingTool twin{"twin", log};
    twin.optionBarKey = "xxx";
    HideOptionBar(&grid, &pen);
    bars.clear();
    HideOptionBar(&grid, &twin);  // same key, same level
    EXPECT_TRUE(bars.empty());
    Level = LevelExpert;
    HideOptionBar(&grid, &twin);
    EXPECT_EQ(bars, (std::vector<std::string>{"grid:0"}));
}

}  // namespace
