// Runs the program built beside the test executable as a process of its
// own and finds its windows, for checks of what the user sees.
#ifndef TESTS_SHELL_PROGRAM_PROCESS_H
#define TESTS_SHELL_PROGRAM_PROCESS_H

#include <string>
#include <vector>
#include "winapi.h"

inline std::string ProgramFolder()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

inline std::string WindowText(HWND h)
{
    char text[1024] = "";
    GetWindowTextA(h, text, sizeof text);
    return text;
}

inline std::string WindowClass(HWND h)
{
    char name[256] = "";
    GetClassNameA(h, name, sizeof name);
    return name;
}

struct ProcessWindowList {
    DWORD pid;
    std::vector<HWND> found;
};

inline BOOL CALLBACK CollectProcessWindow(HWND h, LPARAM data)
{
    ProcessWindowList* w = reinterpret_cast<ProcessWindowList*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == w->pid) w->found.push_back(h);
    return TRUE;
}

// The first visible message box of the process within the time, or null.
inline HWND WaitForProcessMessageBox(DWORD pid, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100)) {
        ProcessWindowList w{pid, {}};
        EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&w));
        for (HWND h : w.found)
            if (WindowClass(h) == "#32770" && IsWindowVisible(h)) return h;
    }
    return nullptr;
}

// kestrel.exe with the arguments; ended however the test goes.
class ProgramProcess {
public:
    ProgramProcess() = default;
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;
    ~ProgramProcess()
    {
        if (!info_.hProcess) return;
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 10000);
        }
        CloseHandle(info_.hThread);
        CloseHandle(info_.hProcess);
    }
    bool Start(const std::string& arguments)
    {
        std::string program = ProgramFolder() + "kestrel.exe";
        std::string command = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info_) != 0;
    }
    DWORD Id() const { return info_.dwProcessId; }

private:
    PROCESS_INFORMATION info_{};
};

#endif
