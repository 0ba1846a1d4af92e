// The program started in-process as WinMain starts it (main window, then the
// start-up sequence and its posted messages), and ended as a clean exit
// ends it (the close request, then the forms freed), so that one test can
// start it several times against the same registry.
#ifndef TESTS_SHELL_STARTED_PROGRAM_FIXTURE_H
#define TESTS_SHELL_STARTED_PROGRAM_FIXTURE_H

#include "../../gui/win32/gui_fixture.h"
#include "appsettings.h"
#include "brushes_tools.h"
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
#include "registry.h"
#include "registry_fixture.h"
#include "toolbuttons.h"
#include "tool_host.h"
#include "toolmanager.h"

class StartedProgram : public GuiTest {
protected:
    static constexpr const char* ProgramKey = "Software\\Corvane\\KS";

    void SetUp() override
    {
        GuiTest::SetUp();
        // The pointer off the pictures: a tool's outline is drawn into the
        // picture under it, and a test before may have left it anywhere.
        gui::InputMouseMoveTo(1023, 767);
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
    }

    void TearDown() override
    {
        if (MainForm) Free();
        RemoveKey(HKEY_CURRENT_USER, ProgramKey);
        GuiTest::TearDown();
    }

    static void WritePreference(const char* name, bool value)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        ASSERT_TRUE(reg.OpenKey("Software\\Corvane\\KS\\Preferences", true));
        reg.WriteBool(name, value);
    }

    // The tip of the day is modal: a tips file beside the test would stop
    // the start here.
    bool Start()
    {
        WritePreference("ShowTOD", false);
        AppSettings = TAppSettings();
        UntitledCounter = 1;
        app->CreateForm(MainForm);
        char program[] = "C:\\kestrel\\kestrel.exe";
        char* argv[] = {program, nullptr};
        bool started = MainForm->StartUp(1, argv);
        gui::PumpUntilIdle();
        return started;
    }

    // The close request as the user's exit makes it; the forms go as the
    // application frees them. Answers the request's verdict.
    bool Exit()
    {
        bool closed = MainForm->CloseQuery();
        gui::PumpUntilIdle();
        Free();
        return closed;
    }

    // Frees what a start made and begins a fresh application, so that the
    // next Start is a new run of the program.
    void Free()
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
        recorder.reset();
        app.reset();
        gui::PumpUntilIdle();
        app.reset(new TApplication);
        app->Initialize();
        app->SetTitle("Kestrel test");
        recorder.reset(new gui::TRecorder(app.get()));
    }
};

#endif
