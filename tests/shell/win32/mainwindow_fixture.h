// The main window started in-process as the program starts it (settings
// from a cleared program key, no tip at start), and everything the start-up
// installs undone afterwards.
#ifndef TESTS_SHELL_MAINWINDOW_FIXTURE_H
#define TESTS_SHELL_MAINWINDOW_FIXTURE_H

#include <cstdio>
#include <string>
#include <vector>

#include "../../gui/win32/gui_fixture.h"
#include "appsettings.h"
#include "brushstate.h"
#include "dragtimer.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "lang.h"
#include "mainform.h"
#include "paintkit_host.h"
#include "palettebar.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "programpictures.h"
#include "registry_fixture.h"
#include "toolbuttons.h"
#include "tool_host.h"
#include "toolmanager.h"

const char* const ProgramKey = "Software\\Corvane\\KS";

// A 2 x 2 picture, 24 bits, bottom-up.
inline void WriteSmallBmp(const char* name)
{
    const unsigned char data[] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                                  0,   0,   1,  0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0,
                                  0,   0,   0,  0, 0,  0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0};
    FILE* f = std::fopen(name, "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(data, 1, sizeof data, f);
    std::fclose(f);
}

class MainWindow : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        // The pointer off the pictures: a tool's outline is drawn into the
        // picture under it, and a test before may have left it anywhere.
        gui::InputMouseMoveTo(1023, 767);
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
        NoTipAtStart();
        AppSettings = TAppSettings();
        UntitledCounter = 1;  // as in a fresh program
        BeforeMainForm();
        app->CreateForm(MainForm);
        Start(Arguments());
    }

    virtual std::vector<std::string> Arguments() { return {}; }
    // Runs once the application exists, before the main window is made.
    virtual void BeforeMainForm() {}

    // The tip of the day is modal: a tips file found beside the test would
    // stop the start-up here.
    static void NoTipAtStart()
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("Software\\Corvane\\KS\\Preferences", true));
        reg.WriteBool("ShowTOD", false);
    }

    void Start(std::vector<std::string> files)
    {
        files.insert(files.begin(), "C:\\kestrel\\kestrel.exe");
        std::vector<char*> argv;
        for (std::string& a : files) argv.push_back(&a[0]);
        argv.push_back(nullptr);
        started = MainForm->StartUp(static_cast<int>(files.size()), argv.data());
        gui::PumpUntilIdle();
    }

    bool started = false;

    void TearDown() override
    {
        EndProgram();
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
        GuiTest::TearDown();
    }

    // What the end of the process would undo: the windows, the main form
    // (which stores the recent files as it goes) and the program's globals.
    void EndProgram()
    {
        while (ImageFormCount() > 0) delete GetImageForm(ImageFormCount() - 1);
        FreeToolButtons();
        InstallColourSwatches(nullptr, nullptr);
        delete MainForm;
        gui::PumpUntilIdle();
        delete Lang;
        Lang = nullptr;
        ImageWindowHost = ImageWindowHostServices();
        ToolHost = ToolHostServices();
        PictureViews = PictureViewServices();
        PaintKitHost = PaintKitHostServices();
        SetDragTimer(nullptr);
        RecentFiles = nullptr;
        while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
        CurrentBrush.Free();
        StampBuffer.Free();
        WorkView.Free();
        BrushState = TBrushState();
        SetStartTool(&IdleTool);
        ToolPhase = 0;
        ToolSuspendLevel = 0;
        ParkedTool = nullptr;
    }

    // The program started again with what the last run stored.
    void StartAgain()
    {
        EndProgram();
        AppSettings = TAppSettings();
        app->CreateForm(MainForm);
        Start({});
    }

    LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) { return SendMessageA(MainForm->GetHandle(), msg, w, l); }

    static TImageForm* First() { return GetImageForm(0); }

    // Typed keys go to this picture's window.
    static void FocusWindow(TImageForm* f)
    {
        SetForegroundWindow(f->GetHandle());
        SetFocus(f->GetHandle());
        gui::PumpUntilIdle();
    }
};

#endif
