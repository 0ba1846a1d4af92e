// The program itself started maximised, with its windows managed as Wine
// manages them by default (the tests' own windows are not): with no window
// manager on the display, a shown window asked to maximise stays as it was,
// so the start must maximise its windows while they are hidden. Its exit
// then stores the tool windows floating.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "registry.h"
#include "registry_fixture.h"
#include "winapi.h"

namespace {

const char* const ProgramKey = "Software\\Corvane\\KS";
const char* const ManagedKey = "Software\\Wine\\AppDefaults\\kestrel.exe\\X11 Driver";

std::string ProgramPath()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1) + "kestrel.exe";
}

std::set<std::pair<int, int>> StoredSpots()
{
    TRegIniFile ini("Software\\Corvane\\KS\\Toolbars");
    std::set<std::pair<int, int>> spots;
    for (const char* bar : {"Toolbar", "Palettebar"}) {
        EXPECT_STREQ("+", ini.ReadString(bar, "DockedTo", "").c_str()) << bar;
        spots.insert({ini.ReadInteger(bar, "FloatLeft", -1), ini.ReadInteger(bar, "FloatTop", -1)});
    }
    return spots;
}

class Program {
public:
    ~Program()
    {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool Start()
    {
        std::string program = ProgramPath();
        std::string command = "\"" + program + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &info_))
            return false;
        // Idle once the start-up and its posted messages are done.
        WaitForInputIdle(info_.hProcess, 60000);
        // No other program on the test display has windows of this class.
        for (DWORD start = GetTickCount(); GetTickCount() - start < 60000; Sleep(100)) {
            main_ = FindWindowA("KestrelForm", "Kestrel");
            picture_ = FindWindowA("KestrelForm", "Untitled 1");
            if (main_ && picture_ && IsWindowVisible(main_) && IsWindowVisible(picture_)) break;
        }
        Sleep(500);
        return main_ && picture_;
    }
    bool Exit()
    {
        PostMessageA(main_, WM_CLOSE, 0, 0);
        return WaitForSingleObject(info_.hProcess, 60000) == WAIT_OBJECT_0;
    }
    HWND Main() const { return main_; }
    HWND Picture() const { return picture_; }

private:
    PROCESS_INFORMATION info_{};
    HWND main_ = nullptr;
    HWND picture_ = nullptr;
};

class StartMaxProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (GetFileAttributesA(ProgramPath().c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "kestrel.exe is not beside the tests";
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
        RegSetString(HKEY_CURRENT_USER, ManagedKey, "Managed", "Y");
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("Software\\Corvane\\KS\\Preferences", true));
        reg.WriteBool("StartMax", true);
        reg.WriteBool("AlwaysDock", false);
        reg.WriteBool("ShowTOD", false);
    }
    void TearDown() override
    {
        RemoveKey(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\kestrel.exe");
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
    }
};

TEST_F(StartMaxProgram, MainAndPictureWindowsStartMaximised)
{
    Program program;
    ASSERT_TRUE(program.Start());
    EXPECT_TRUE(IsZoomed(program.Main()));
    EXPECT_TRUE(IsZoomed(program.Picture()));
    ASSERT_TRUE(program.Exit());
    EXPECT_EQ(2u, StoredSpots().size());
}

}  // namespace
