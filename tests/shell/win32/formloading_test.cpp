// The program's forms are built as stored forms load: a component on any of
// them hears Loaded once, after the form's constructor set it up. The
// recent-file list, which loads itself then, comes back after a restart.
#include <map>
#include <string>
#include <typeinfo>

#include "../../gui/win32/timed_step.h"
#include "aboutpanel.h"
#include "colorsel.h"
#include "mainwindow_fixture.h"
#include "mruflist.h"
#include "open_dialog_preview.h"
#include "preferences.h"
#include "save_dialog_options.h"
#include "tipform.h"
#include "undoform.h"

namespace {

// Loaded calls heard on forms, by form class.
std::map<std::string, int>& LoadedOnForms()
{
    static std::map<std::string, int> counts;
    return counts;
}

// Stands on a form from the start of its construction, like a component
// dropped on a stored form.
class TLoadProbe : public TComponent {
public:
    explicit TLoadProbe(TComponent* AOwner) : TComponent(AOwner) {}

protected:
    void Loaded() override
    {
        TComponent::Loaded();
        if (TComponent* form = dynamic_cast<TCustomForm*>(GetOwner())) ++LoadedOnForms()[typeid(*form).name()];
    }
};

// Puts a probe on every component its owner takes in: a form owned by the
// application is taken in first thing in its construction.
class TProbeDropper : public TComponent {
public:
    explicit TProbeDropper(TComponent* AOwner) : TComponent(AOwner) {}

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override
    {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opInsert && AComponent != this && AComponent->GetOwner() == GetOwner())
            new TLoadProbe(AComponent);
    }
};

class FormLoading : public MainWindow {
protected:
    void BeforeMainForm() override
    {
        LoadedOnForms().clear();
        new TProbeDropper(app.get());
    }
    void TearDown() override
    {
        delete OpenPlus;
        OpenPlus = nullptr;
        delete SavePlus;
        SavePlus = nullptr;
        MainWindow::TearDown();
    }
};

TEST_F(FormLoading, EveryFormOfTheProgramLoadsItsComponentsOnce)
{
    ASSERT_TRUE(started);  // the main window and the first picture's window
    app->CreateForm(ColorSel);
    CreatePictureFileForms(nullptr);
    CreateSplash(app.get());
    CloseSplash();
    RunTipOfTheDay(app.get(), false);
    gui::WhenOpen<TPreferences>([](TPreferences* d) { d->CancelBtn->Click(); });
    MainForm->PrefsMenu->Click();
    TControl* view = GetImageForm(0)->ShowBuf;
    gui::MouseDown(view, 20, 40);
    gui::MouseMove(view, 60, 40, MK_LBUTTON);
    gui::MouseUp(view, 60, 40);
    gui::PumpUntilIdle();
    ASSERT_NE(nullptr, ShowUndoPopup(false, MainForm->UndoBtn, POINT{200, 200}));
    CloseUndoForm();
    gui::PumpUntilIdle();

    const std::type_info* forms[] = {&typeid(TMainForm),  &typeid(TImageForm),  &typeid(TColorSel),
                                     &typeid(TOpenPlus),  &typeid(TSavePlus),   &typeid(TAboutPanel),
                                     &typeid(TTipForm),   &typeid(TPreferences), &typeid(TUndoForm)};
    for (const std::type_info* form : forms) EXPECT_EQ(1, LoadedOnForms()[form->name()]) << form->name();
}

class RecentFilesAcrossRuns : public MainWindow {
protected:
    void SetUp() override
    {
        WriteSmallBmp("recent_a.bmp");
        WriteSmallBmp("recent_b.bmp");
        MainWindow::SetUp();
    }
    void TearDown() override
    {
        MainWindow::TearDown();
        std::remove("recent_a.bmp");
        std::remove("recent_b.bmp");
    }
    static std::string Entry(int i) { return MainForm->MRUFileList1->GetFile(i).c_str(); }
};

TEST_F(RecentFilesAcrossRuns, ComeBackNewestFirstAndOpenFromTheFileMenu)
{
    ASSERT_EQ(LoadOk, LoadPictureFile(nullptr, "recent_a.bmp", 0, false));
    ASSERT_EQ(LoadOk, LoadPictureFile(nullptr, "recent_b.bmp", 0, false));
    ASSERT_TRUE(MainForm->CloseQuery());
    gui::PumpUntilIdle();

    StartAgain();
    ASSERT_EQ(2, MainForm->MRUFileList1->GetCount());
    EXPECT_NE(std::string::npos, Entry(0).find("recent_b.bmp")) << Entry(0);
    EXPECT_NE(std::string::npos, Entry(1).find("recent_a.bmp")) << Entry(1);
    TMenuItem* file = MainForm->File1;
    auto* last = dynamic_cast<TMRUMenuItem*>(file->GetItem(file->GetCount() - 1));
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(2, last->GetItemNumber());
    int before = ImageFormCount();
    last->Click();
    gui::PumpUntilIdle();
    ASSERT_EQ(before + 1, ImageFormCount());
    EXPECT_NE(0, GetImageForm(before)->GetCaption().Pos("recent_a.bmp"));
}

}  // namespace
