// The program's entry: refuses low-colour displays, creates the main window
// and runs the start-up sequence and the message loop.
#include <cstdlib>

#include "application.h"
#include "colorsel.h"
#include "mainform.h"
#include "picturefiles_win32.h"
#include "startupsteps.h"
#include "startupsteps_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (!DisplayDepthSufficient(DisplayBitsPerPixel())) {
        MessageBoxA(nullptr, "First switch to HiColor or True Color display mode", "Kestrel", MB_ICONWARNING);
        return 0;
    }
    ProgramDir = ModuleProgramDir();
    TApplication app;
    try {
        app.SetTitle("Kestrel");
        app.Initialize();
        app.CreateForm(MainForm);
        app.CreateForm(ColorSel);
        CreatePictureFileForms(MainForm);
        if (MainForm->StartUp(__argc, __argv)) app.Run();
    } catch (...) {
        app.HandleException(nullptr);
    }
    return 0;
}
