// A GUI test with one borderless form to put controls on, and one with an
// edit of a given class on that form.
#ifndef TESTS_GUI_FORM_FIXTURE_H
#define TESTS_GUI_FORM_FIXTURE_H

#include <string>

#include "formbuilder.h"
#include "forms.h"
#include "gui_fixture.h"

class FormTest : public GuiTest {
protected:
    // Activate: Show makes the form the active window (focus and keys need it).
    explicit FormTest(RECT bounds = RECT{0, 0, 400, 300}, bool activate = false)
        : bounds_(bounds), activate_(activate)
    {
    }
    void SetUp() override
    {
        GuiTest::SetUp();
        form = new TForm(app.get());
        form->SetBorderStyle(bsNone);
        form->SetBounds(bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top);
    }
    // Shown, painted, and everything waiting handled.
    void Show()
    {
        if (activate_)
            form->Show();
        else
            form->ShowNoActivate();
        form->Update();
        gui::PumpUntilIdle();
    }
    // The form's default (Enter) button, counting its clicks.
    TButton* DefaultButton(int& clicks)
    {
        TButton* ok = NewButton(form, form, "OK", 10, 100, 75, 25, [&clicks](TObject*) { ++clicks; });
        ok->SetDefault(true);
        return ok;
    }

    TForm* form = nullptr;

private:
    RECT bounds_;
    bool activate_;
};

// An active form with an edit of class T at (10, 10), width x 21, counting
// its OnChange.
template <class T>
class EditOnFormTest : public FormTest {
protected:
    explicit EditOnFormTest(int width) : FormTest(RECT{100, 100, 400, 300}, true), width_(width) {}
    void SetUp() override
    {
        FormTest::SetUp();
        edit = new T(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, width_, 21);
        edit->OnChange = [this](TObject*) { ++changes; };
    }
    std::string Text() { return edit->GetText().c_str(); }

    T* edit = nullptr;
    int changes = 0;

private:
    int width_;
};

#endif
