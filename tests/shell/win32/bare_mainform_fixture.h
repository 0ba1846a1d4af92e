// The main window as it is made, without the start-up sequence: no picture,
// no settings, its tool and palette windows floating above it.
#ifndef TESTS_SHELL_BARE_MAINFORM_FIXTURE_H
#define TESTS_SHELL_BARE_MAINFORM_FIXTURE_H

#include "../../gui/win32/gui_fixture.h"
#include "mainform.h"

class BareMainForm : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        app->CreateForm(MainForm);
        MainForm->FormCreate(MainForm);  // as the start-up sequence does
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &WorkArea, 0);
        MainForm->SetBounds(100, 60, 400, 80);
        MainForm->Show();
        gui::PumpUntilIdle();
    }

    void TearDown() override
    {
        delete MainForm;
        gui::PumpUntilIdle();
        GuiTest::TearDown();
    }
};

#endif
