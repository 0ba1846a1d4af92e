// A form holding the palette bar's controls (two swatches and the view),
// with the program-wide state they touch saved and restored around a test.
#ifndef TESTS_SHELL_PALETTEBAR_FIXTURE_H
#define TESTS_SHELL_PALETTEBAR_FIXTURE_H

#include "../../gui/win32/gui_fixture.h"
#include "appsettings.h"
#include "formbuilder.h"
#include "paintkit_host.h"
#include "palette_notify.h"
#include "palettebar.h"
#include "toolmanager.h"

class PaletteBarTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        savedCount = AppSettings.Palette;
        savedColours = PaletteBarCells.Colours();
        form = new TForm(app.get());
        form->SetBounds(40, 40, 400, 300);
        DrawCol = New<TShape>(form, form, 8, 8, 28, 20);
        BackCol = New<TShape>(form, form, 40, 8, 28, 20);
        Holder = New<TBuffer>(form, form, 8, 40, 10, 10);
        SetSwatchColour(DrawCol, 0x000000);
        SetSwatchColour(BackCol, 0xFFFFFF);
        // Counts the colour notices through the current tool's handler.
        SetColourUser(CurrentTool, [this] { ++colourNotices; });
    }
    void TearDown() override
    {
        SetColourUser(CurrentTool, nullptr);
        InstallColourSwatches(nullptr, nullptr);
        delete form;
        if (!savedColours.empty()) PaletteBarCells.Build(static_cast<int>(savedColours.size()), savedColours);
        AppSettings.Palette = savedCount;
        GuiTest::TearDown();
    }
    void ShowForm()
    {
        form->Show();
        gui::PumpUntilIdle();
    }
    // The centre of cell i in the holder's client coordinates.
    POINT CellCentre(int i) const
    {
        Rect r = PaletteBarCells.Layout().CellRect(i);
        return POINT{(r.left + r.right + 1) * PaletteZoom / 2, (r.top + r.bottom + 1) * PaletteZoom / 2};
    }

    TForm* form = nullptr;
    TShape *DrawCol = nullptr, *BackCol = nullptr;
    TBuffer* Holder = nullptr;
    int colourNotices = 0;
    int savedCount = 0;
    std::vector<unsigned long> savedColours;
};

#endif
