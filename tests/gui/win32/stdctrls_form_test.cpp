// The standard controls together: a form with one of each, built with the
// form builder, laid out, driven by input and freed without leaking windows
// or GDI objects.
#include <algorithm>
#include <string>
#include <vector>

#include "buttons.h"
#include "formbuilder.h"
#include "gui_fixture.h"
#include "scrollbox.h"

#include <commctrl.h>

namespace {

struct AllControlsForm {
    explicit AllControlsForm(TComponent* owner)
    {
        form = new TForm(owner);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 640, 480);
        auto log = [this](const char* what) { return [this, what](TObject*) { events.push_back(what); }; };
        label = NewLabel(form, form, "&Name:", 8, 8);
        edit = NewEdit(form, form, "", 60, 6, 120, log("edit change"));
        label->SetFocusControl(edit);
        button = NewButton(form, form, "Apply", 190, 6, 75, 25, log("button click"));
        check = NewCheckBox(form, form, "Smooth", 8, 40, 97, 17, false, log("check click"));
        group = NewCaptioned<TGroupBox>(form, form, "Mode", 8, 64, 160, 70);
        radioA = NewRadioButton(form, group, "Fast", 8, 18, 100, 17, true);
        radioB = NewRadioButton(form, group, "Fine", 8, 40, 100, 17, false, log("radio click"));
        memo = New<TMemo>(form, form, 280, 6, 150, 60);
        combo = NewComboBox(form, form, 280, 80, 120, {"Red", "Green", "Blue"}, csDropDownList, log("combo change"));
        list = NewListBox(form, form, 440, 6, 120, 80, {"One", "Two", "Three"}, log("list click"));
        scroll = New<TScrollBar>(form, form, 8, 140, 150, 17);
        scroll->OnChange = log("scroll change");
        radios = NewRadioGroup(form, form, "Size", 180, 140, 150, 90, {"Small", "Large"}, 0, log("radios click"));
        panel = NewPanel(form, form, alNone, 340, 140, 120, 40, bvRaised);
        panel->SetCaption("Panel");
        bevel = New<TBevel>(form, form, 470, 140, 50, 40);
        shape = New<TShape>(form, form, 530, 140, 40, 40);
        shape->GetBrush()->SetColor(clRed);
        image = New<TImage>(form, form, 580, 140, 40, 40);
        image->GetCanvas()->GetBrush()->SetColor(clBlue);
        image->GetCanvas()->FillRect(RECT{0, 0, 40, 40});
        paintBox = New<TPaintBox>(form, form, 8, 240, 60, 40);
        paintBox->OnPaint = log("paint box paint");
        speed = NewCaptioned<TSpeedButton>(form, form, "S", 80, 240, 23, 22);
        speed->OnClick = log("speed click");
        box = New<TScrollBox>(form, form, 120, 240, 100, 60);
        inner = NewLabel(form, box, "Far away", 300, 200);
        track = New<TTrackBar>(form, form, 230, 240, 150, 30);
        track->OnChange = log("track change");
        upDown = New<TUpDown>(form, form, 390, 240, 17, 24);
        upDown->OnClick = [this](TObject*, TUDBtnType b) { events.push_back(b == btNext ? "updown next" : "updown prev"); };
        progress = New<TProgressBar>(form, form, 420, 240, 150, 16);
        pages = New<TPageControl>(form, form, 8, 300, 300, 120);
        sheet1 = new TTabSheet(form);
        sheet1->SetCaption("General");
        sheet1->SetPageControl(pages);
        sheet2 = new TTabSheet(form);
        sheet2->SetCaption("Colour");
        sheet2->SetPageControl(pages);
        NewCheckBox(form, sheet2, "On a page", 8, 8, 97, 17);
        pages->OnChange = log("pages change");
        status = new TStatusBar(form);
        status->SetParent(form);
        status->GetPanels()->Add()->SetWidth(100);
        status->GetPanels()->Add()->SetText("Ready");
        statusChild = New<TProgressBar>(form, status, 110, 2, 60, 14);
    }
    TForm* form;
    std::vector<std::string> events;
    TLabel* label;
    TEdit* edit;
    TButton* button;
    TCheckBox* check;
    TGroupBox* group;
    TRadioButton* radioA;
    TRadioButton* radioB;
    TMemo* memo;
    TComboBox* combo;
    TListBox* list;
    TScrollBar* scroll;
    TRadioGroup* radios;
    TPanel* panel;
    TBevel* bevel;
    TShape* shape;
    TImage* image;
    TPaintBox* paintBox;
    TSpeedButton* speed;
    TScrollBox* box;
    TLabel* inner;
    TTrackBar* track;
    TUpDown* upDown;
    TProgressBar* progress;
    TPageControl* pages;
    TTabSheet* sheet1;
    TTabSheet* sheet2;
    TStatusBar* status;
    TProgressBar* statusChild;
};

// The centre of tab i of a tab control, in its client coordinates.
POINT TabCentre(TPageControl* pages, int i)
{
    RECT r;
    SendMessageA(pages->GetHandle(), TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Drives every control once through the input it would get from a user.
void DriveWithInput(AllControlsForm& f)
{
    gui::KeyPress(f.edit, 'x');
    gui::Click(f.button, 10, 10);
    gui::Click(f.check, 5, 8);
    gui::Click(f.radioB, 5, 8);
    gui::KeyDown(f.combo, VK_DOWN);
    RECT item;
    SendMessageA(f.list->GetHandle(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    gui::Click(f.list, item.left + 5, item.top + 2);
    gui::KeyDown(f.scroll, VK_RIGHT);
    gui::Click(f.radios->GetButton(1), 5, 8);
    gui::Click(f.speed, 5, 5);
    gui::KeyDown(f.track, VK_RIGHT);
    gui::MouseDown(f.upDown, 8, 4);  // the upper arrow
    gui::MouseUp(f.upDown, 8, 4);
    POINT tab = TabCentre(f.pages, 1);
    gui::Click(f.pages, tab.x, tab.y);
    gui::PumpUntilIdle();
}

}  // namespace

using StdCtrlsFormTest = GuiTest;

TEST_F(StdCtrlsFormTest, EveryControlAnswersRealInput)
{
    AllControlsForm f(app.get());
    f.form->Show();
    f.form->Update();
    gui::PumpUntilIdle();
    f.events.clear();
    DriveWithInput(f);
    EXPECT_EQ((std::vector<std::string>{"edit change", "button click", "check click", "radio click", "combo change",
                                        "list click", "scroll change", "radios click", "speed click", "track change",
                                        "updown next", "pages change"}),
              f.events);
    EXPECT_EQ("x", f.edit->GetText());
    EXPECT_TRUE(f.check->GetChecked());
    EXPECT_FALSE(f.radioA->GetChecked());
    EXPECT_TRUE(f.radioB->GetChecked());
    EXPECT_EQ(0, f.combo->GetItemIndex());
    EXPECT_EQ("Red", f.combo->GetText());
    EXPECT_EQ(1, f.list->GetItemIndex());
    EXPECT_EQ(1, f.scroll->GetPosition());
    EXPECT_EQ(1, f.radios->GetItemIndex());
    EXPECT_EQ(1, f.track->GetPosition());
    EXPECT_EQ(1, f.upDown->GetPosition());
    EXPECT_EQ(f.sheet2, f.pages->GetActivePage());
    EXPECT_TRUE(f.sheet2->GetVisible());
    EXPECT_FALSE(f.sheet1->GetVisible());
}

TEST_F(StdCtrlsFormTest, TheFormIsLaidOutAndPainted)
{
    AllControlsForm f(app.get());
    f.form->Show();
    f.form->Update();
    gui::PumpUntilIdle();
    // The status bar sits at the bottom, full width, and holds its child.
    EXPECT_EQ(480 - 19, f.status->GetTop());
    EXPECT_EQ(640, f.status->GetWidth());
    EXPECT_EQ(f.status->GetHandle(), GetParent(f.statusChild->GetHandle()));
    // Auto-sized controls fit their font.
    EXPECT_GT(f.label->GetWidth(), 10);
    EXPECT_LT(f.edit->GetHeight(), 30);
    // The pages fill the tab control's display area.
    RECT display = f.pages->GetDisplayRect();
    EXPECT_EQ(display.left, f.sheet1->GetLeft());
    EXPECT_EQ(display.top, f.sheet1->GetTop());
    EXPECT_GT(display.top, 10);  // below the tabs
    // The scroll box shows bars for the label beyond its client area.
    EXPECT_TRUE(f.box->GetHorzScrollBar()->IsScrollBarVisible());
    EXPECT_TRUE(f.box->GetVertScrollBar()->IsScrollBarVisible());
    EXPECT_NE(0, std::count(f.events.begin(), f.events.end(), "paint box paint"));

    gui::TPixels px = gui::ReadPixels(f.form->GetHandle());
    EXPECT_EQ(0xFF0000u, px.At(550, 160));  // the shape's red brush, 0x00RRGGBB
    EXPECT_EQ(0x0000FFu, px.At(600, 160));  // the image's blue bitmap
    EXPECT_EQ(0x000000u, px.At(530, 140));  // the shape's black pen
}

TEST_F(StdCtrlsFormTest, BuildDriveAndFreeLeavesNoWindowsOrGdiObjects)
{
    // The first round makes what is made once per process (classes, cached
    // brushes, comctl32's own objects); the second must leave nothing.
    for (int round = 0; round < 2; ++round) {
        gui::TGuiCounts before = gui::CountGuiObjects();
        ASSERT_GT(before.Gdi, 0u) << "GDI objects cannot be counted here";
        {
            AllControlsForm f(app.get());
            f.form->SetColor(0x336699);  // a brush of its own
            f.edit->GetFont()->SetStyle(fsBold);  // a font of its own
            f.form->Show();
            f.form->Update();
            gui::PumpUntilIdle();
            DriveWithInput(f);
            f.list->RecreateWnd();
            f.form->Update();
            gui::PumpUntilIdle();
            EXPECT_GT(gui::CountGuiObjects().User, before.User + 20);
            delete f.form;
        }
        gui::PumpUntilIdle();
        gui::TGuiCounts after = gui::CountGuiObjects();
        if (round == 1) {
            EXPECT_EQ(before.Gdi, after.Gdi);
            EXPECT_EQ(before.User, after.User);
            EXPECT_EQ(before.TopLevel, after.TopLevel);
        }
    }
}

TEST_F(StdCtrlsFormTest, AnExceptionInAnEventIsShownAndTheControlGoesOn)
{
    AllControlsForm f(app.get());
    f.form->ShowNoActivate();
    gui::PumpUntilIdle();
    f.edit->OnChange = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    gui::KeyPress(f.edit, 'x');
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ("'x' is not a valid integer value.", recorder->Boxes[0].Text);
    EXPECT_EQ("x", f.edit->GetText());
    f.list->OnClick = [](TObject*) { throw EListError("List index out of bounds (9)"); };
    f.list->SetItemIndex(-1);
    RECT item;
    SendMessageA(f.list->GetHandle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    gui::Click(f.list, item.left + 5, item.top + 2);
    EXPECT_EQ(2u, recorder->Boxes.size());
    EXPECT_EQ(0, f.list->GetItemIndex());
}
