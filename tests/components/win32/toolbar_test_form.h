// A test form with docks on all four sides and three toolbars of 23 x 22
// buttons, plus readers of a window's whole area (frame included).
#ifndef TESTS_COMPONENTS_TBTEST_FORM_H
#define TESTS_COMPONENTS_TBTEST_FORM_H

#include "../../gui/win32/gui_fixture.h"

#include "dock.h"
#include "toolbar.h"

// Names of their own: other test files of this executable have helpers of
// the same kind.
namespace tbtest {

// A button-sized control (a toolbar lays it out again when it changes size
// or visibility).
class TTestButton : public TGraphicControl {
public:
    TTestButton(TComponent* owner, TWinControl* parent, int w = 23, int h = 22) : TGraphicControl(owner)
    {
        SetBounds(0, 0, w, h);
        SetParent(parent);
    }

protected:
    void Paint() override
    {
        GetCanvas()->GetBrush()->SetColor(clRed);
        GetCanvas()->FillRect(RECT{0, 0, GetWidth(), GetHeight()});
    }
};

class TDockForm {
public:
    TDockForm()
    {
        Form = new TForm(nullptr);
        Form->SetName("DockForm");
        Form->SetBounds(100, 100, 600, 400);
        Top = MakeDock("TopDock", dpTop);
        Bottom = MakeDock("BottomDock", dpBottom);
        Left = MakeDock("LeftDock", dpLeft);
        Right = MakeDock("RightDock", dpRight);
        Bar1 = MakeBar("Bar1", "Tools", 3, true);
        Bar2 = MakeBar("Bar2", "Palette", 2, false);
        Bar3 = MakeBar("Bar3", "Grid", 4, true);
    }
    ~TDockForm() { delete Form; }
    TDockForm(const TDockForm&) = delete;
    TDockForm& operator=(const TDockForm&) = delete;

    TDock* MakeDock(const char* name, TDockPosition pos)
    {
        TDock* d = new TDock(Form);
        d->SetName(name);
        d->SetParent(Form);
        d->SetPosition(pos);
        return d;
    }
    // Buttons, a separator after the first `beforeSep` ones when `sep`.
    TToolbar* MakeBar(const char* name, const char* caption, int buttons, bool sep)
    {
        TToolbar* b = new TToolbar(Form);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetHideWhenInactive(false);
        for (int i = 0; i < buttons; ++i) {
            if (sep && i == 2) (new TToolbarSep(Form))->SetParent(b);
            new TTestButton(Form, b);
        }
        return b;
    }
    void Show()
    {
        Form->Show();
        gui::PumpUntilIdle();
    }

    TForm* Form;
    TDock* Top;
    TDock* Bottom;
    TDock* Left;
    TDock* Right;
    TToolbar* Bar1;
    TToolbar* Bar2;
    TToolbar* Bar3;
};

inline RECT ScreenRect(TWinControl* c)
{
    RECT r;
    GetWindowRect(c->GetHandle(), &r);
    return r;
}

inline uint32_t SysRGB(int index)
{
    COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

}  // namespace tbtest

using namespace tbtest;

#endif
