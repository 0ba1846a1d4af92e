// The program started on a 256-colour display: it says why it will not run,
// makes no window of its own and ends once the message is acknowledged.
// Needs a display below 15 bits per pixel; lowcolour_display.sh provides
// one and sets KESTREL_LOW_COLOUR_DISPLAY, without which a deeper display
// skips the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "startupsteps_win32.h"
#include "winapi.h"

namespace {

// The program is built beside the test executable.
std::string ProgramPath()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1) + "kestrel.exe";
}

std::string TextOf(HWND h)
{
    char text[512] = "";
    GetWindowTextA(h, text, sizeof text);
    return text;
}

std::string ClassOf(HWND h)
{
    char name[256] = "";
    GetClassNameA(h, name, sizeof name);
    return name;
}

struct ProcessWindows {
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND h, LPARAM data)
{
    ProcessWindows* w = reinterpret_cast<ProcessWindows*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == w->pid) w->found.push_back(h);
    return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD pid)
{
    ProcessWindows w{pid, {}};
    EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&w));
    return w.found;
}

HWND WaitForMessageBox(DWORD pid, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100))
        for (HWND h : TopLevelWindowsOf(pid))
            if (ClassOf(h) == "#32770" && IsWindowVisible(h)) return h;
    return nullptr;
}

// Ends the child however the test goes.
struct Child {
    PROCESS_INFORMATION info{};
    ~Child()
    {
        if (!info.hProcess) return;
        if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
};

TEST(LowColourDisplay, ProgramRefusesWithAMessageAndNoWindowOfItsOwn)
{
    int bits = DisplayBitsPerPixel();
    if (bits >= 15) {
        if (std::getenv("KESTREL_LOW_COLOUR_DISPLAY")) FAIL() << "the display has " << bits << " bits per pixel";
        GTEST_SKIP() << "needs a display below 15 bits per pixel (lowcolour_display.sh)";
    }
    std::string program = ProgramPath();
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(program.c_str())) << program;
    std::string command = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    Child child;
    ASSERT_TRUE(CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &child.info));

    HWND box = WaitForMessageBox(child.info.dwProcessId, 60000);
    ASSERT_NE(nullptr, box) << "no message box within a minute";
    EXPECT_EQ("Kestrel", TextOf(box));
    EXPECT_EQ("First switch to HiColor or True Color display mode", TextOf(GetDlgItem(box, 0xFFFF)));
    EXPECT_NE(nullptr, GetDlgItem(box, IDOK));
    EXPECT_EQ(nullptr, GetDlgItem(box, IDCANCEL));
    for (HWND h : TopLevelWindowsOf(child.info.dwProcessId)) {
        if (h == box) continue;
        EXPECT_EQ(std::string::npos, ClassOf(h).find("Kestrel")) << "a window of the program: " << ClassOf(h);
        EXPECT_FALSE(IsWindowVisible(h)) << ClassOf(h) << " \"" << TextOf(h) << "\"";
    }

    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(child.info.hProcess, 30000)) << "still running after OK";
    DWORD code = 99;
    GetExitCodeProcess(child.info.hProcess, &code);
    EXPECT_EQ(0u, code);
}

}  // namespace
