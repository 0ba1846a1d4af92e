// The diagnostic log: silent unless switched on, then one timed line per
// call appended to KS.LOG in its folder.
#include <filesystem>
#include <regex>
#include <string>

#include "debuglog.h"
#include "textfile_fixture.h"

namespace {

class DebugLogFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedOn = DebugLogOn;
        savedFolder = DebugLogFolder;
        std::filesystem::create_directories(Folder());
        DebugLogFolder = Folder().c_str();
        std::remove(LogPath().c_str());
    }
    void TearDown() override
    {
        std::remove(LogPath().c_str());
        std::error_code ignored;
        std::filesystem::remove(Folder(), ignored);
        DebugLogOn = savedOn;
        DebugLogFolder = savedFolder;
    }
    // A folder per test: ctest runs this suite's tests in parallel processes,
    // and the log's name is fixed.
    static std::string Folder()
    {
        return TestTempPath(std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "/");
    }
    static std::string LogPath() { return Folder() + "KS.LOG"; }

    bool savedOn = false;
    AnsiString savedFolder;
};

TEST_F(DebugLogFile, DeliveredSwitchIsOffAndWritesNothing)
{
    EXPECT_FALSE(savedOn);
    DebugLogOn = false;
    DebugLog("Application closed.");
    EXPECT_FALSE(TestFileExists(LogPath()));
}

TEST_F(DebugLogFile, SwitchedOnAppendsOneTimedLinePerCall)
{
    DebugLogOn = true;
    DebugLog("scan started");
    DebugLog("Application closed.");
    std::string log = ReadTextFile(LogPath());
    EXPECT_TRUE(std::regex_match(log, std::regex(R"(\[\d{3}\.\d{2}\] scan started\n\[\d{3}\.\d{2}\] Application closed\.\n)")))
        << log;
}

TEST(DebugLogLine, SecondsWithTwoDecimalsPaddedToSixCharacters)
{
    EXPECT_STREQ("[000.00] a\n", DebugLogLine(0, "a").c_str());
    EXPECT_STREQ("[003.14] a b\n", DebugLogLine(3.14159, "a b").c_str());
    EXPECT_STREQ("[123.46] x\n", DebugLogLine(123.456, "x").c_str());
    EXPECT_STREQ("[1234.50] x\n", DebugLogLine(1234.5, "x").c_str());
    // A text with a percent sign is data, not a format.
    EXPECT_STREQ("[001.00] 100%s\n", DebugLogLine(1, "100%s").c_str());
}

}  // namespace
