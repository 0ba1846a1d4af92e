// A test fixture with an Application whose message boxes and help calls are
// recorded, and the small test controls the GUI tests build forms from.
#ifndef TESTS_GUI_FIXTURE_H
#define TESTS_GUI_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>

#include "gui_harness.h"

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, getenv("DISPLAY")) << "GUI tests need the test display";
        app.reset(new TApplication);
        app->Initialize();
        app->SetTitle("Kestrel test");
        recorder.reset(new gui::TRecorder(app.get()));
    }
    void TearDown() override
    {
        recorder.reset();
        app.reset();
        gui::PumpUntilIdle();
    }

    std::unique_ptr<TApplication> app;
    std::unique_ptr<gui::TRecorder> recorder;
};

// A window that fills itself with one colour.
class TBox : public TCustomControl {
public:
    TBox(TComponent* owner, TWinControl* parent, int x, int y, int w, int h, TColor fill)
        : TCustomControl(owner), Fill(fill)
    {
        SetParent(parent);
        SetBounds(x, y, w, h);
    }
    TColor Fill;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        GetCanvas()->GetBrush()->SetColor(Fill);
        GetCanvas()->FillRect(GetClientRect());
    }
};

// A windowless control that fills its bounds with one colour.
class TDot : public TGraphicControl {
public:
    TDot(TComponent* owner, TWinControl* parent, int x, int y, int w, int h, TColor fill)
        : TGraphicControl(owner), Fill(fill)
    {
        SetParent(parent);
        SetBounds(x, y, w, h);
    }
    TColor Fill;

protected:
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(Fill);
        GetCanvas()->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
    }
};

#endif
