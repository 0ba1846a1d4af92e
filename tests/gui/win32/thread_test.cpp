// Synchronize is served inside a system modal loop: a worker's call runs on
// the GUI thread while that thread sits in MessageBoxA, and then closes it.
#include <gtest/gtest.h>

#include <atomic>

#include "thread.h"
#include "winapi.h"

namespace {

const char kCaption[] = "Kestrel synchronize test";

HWND FindBox()
{
    return FindWindowA("#32770", kCaption);
}

class CloseBoxThread : public TThread {
public:
    CloseBoxThread() : TThread(true) {}
    std::atomic<DWORD> syncThread{0};
    std::atomic<bool> boxWasOpen{false};

protected:
    void Execute() override
    {
        for (int i = 0; i < 1000 && !FindBox(); i++) Sleep(10);
        Synchronize([this] {
            syncThread = GetCurrentThreadId();
            HWND box = FindBox();
            boxWasOpen = box != nullptr;
            if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    }
};

// Closes the box if Synchronize never ran, so that a failure cannot hang.
class WatchdogThread : public TThread {
public:
    WatchdogThread() : TThread(true) {}

protected:
    void Execute() override
    {
        for (int i = 0; i < 1500 && !GetTerminated(); i++) Sleep(10);
        if (HWND box = FindBox()) PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
};

}  // namespace

TEST(SynchronizeInModalLoop, RunsWhileTheGuiThreadIsInAMessageBox)
{
    ASSERT_NE(nullptr, getenv("DISPLAY")) << "GUI tests need the test display";
    InitSynchronize();
    ASSERT_TRUE(IsMainThread());
    CloseBoxThread worker;
    WatchdogThread watchdog;
    worker.Start();
    watchdog.Start();
    MessageBoxA(nullptr, "Waiting for the worker", kCaption, MB_OK);
    watchdog.Terminate();
    watchdog.WaitFor();
    worker.WaitFor();
    EXPECT_EQ(GetCurrentThreadId(), worker.syncThread.load());
    EXPECT_TRUE(worker.boxWasOpen);
}
