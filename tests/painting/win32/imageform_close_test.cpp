// Closing image windows: the save question, a save that fails, the last
// window, and the limit of 32 windows.
#include "imageform_fixture.h"

#include "imagetitle.h"
#include "tool_window.h"

namespace {

class ImageCloseTest : public ImageFormTest {
protected:
    int saves = 0;
    UDBuffer* savedPicture = nullptr;

    // A save that answers `result` and, when it succeeds, leaves the picture
    // unchanged since saving.
    void InstallSave(int result)
    {
        ImageWindowHost.saveCurrentPicture = [this, result] {
            ++saves;
            savedPicture = CurrentPicture;
            if (result == 0) CurrentPicture->modified = 0;
            return result;
        };
    }
    TImageForm* ModifiedWindow()
    {
        TImageForm* f = NewShownWindow(16, 16);
        f->Picture.modified = 3;
        return f;
    }
};

TEST_F(ImageCloseTest, CancelKeepsTheWindowAndStopsAShutDown)
{
    TImageForm* f = ModifiedWindow();
    recorder->Reply = IDCANCEL;
    f->Close();
    gui::PumpUntilIdle();
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ(CloseQuestionText(f->Picture, 0), recorder->Boxes[0].Text);
    EXPECT_EQ(Translate("Warn"), recorder->Boxes[0].Caption);
    EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONQUESTION), recorder->Boxes[0].Flags);
    EXPECT_EQ(1, ImageFormCount());
    EXPECT_TRUE(ClosingCancelled);
    EXPECT_EQ(3u, f->Picture.modified);
}

TEST_F(ImageCloseTest, NoClosesWithoutSaving)
{
    TImageForm* f = ModifiedWindow();
    InstallSave(0);
    recorder->Reply = IDNO;
    f->Close();
    gui::PumpUntilIdle();
    EXPECT_EQ(0, saves);
    EXPECT_EQ(0, ImageFormCount());
    EXPECT_FALSE(ClosingCancelled);
}

// The save runs with the closing window current, and only a save that left
// the picture unchanged lets it close.
TEST_F(ImageCloseTest, YesSavesAndAFailedSaveKeepsTheWindow)
{
    TImageForm* other = NewShownWindow(8, 8);
    TImageForm* f = ModifiedWindow();
    ActivateImageWindow(other->Index);
    InstallSave(3);
    recorder->Reply = IDYES;
    f->Close();
    gui::PumpUntilIdle();
    EXPECT_EQ(1, saves);
    EXPECT_EQ(&f->Picture, savedPicture);
    EXPECT_EQ(other, CurrentImageForm);  // restored after the save
    EXPECT_EQ(2, ImageFormCount());
    EXPECT_TRUE(ClosingCancelled);

    ClosingCancelled = false;
    ImageWindowHost.saveCurrentPicture = nullptr;  // no way to save: kept as well
    f->Close();
    gui::PumpUntilIdle();
    EXPECT_EQ(2, ImageFormCount());
    EXPECT_TRUE(ClosingCancelled);

    InstallSave(0);
    f->Close();
    gui::PumpUntilIdle();
    EXPECT_EQ(1, ImageFormCount());
    EXPECT_EQ(other, CurrentImageForm);
}

TEST_F(ImageCloseTest, LongOperationRefusesTheClose)
{
    TImageForm* f = ModifiedWindow();
    ImageWindowHost.operationRunning = [] { return true; };
    f->Close();
    gui::PumpUntilIdle();
    EXPECT_TRUE(recorder->Boxes.empty());
    EXPECT_EQ(1, ImageFormCount());
}

// Closing the current window activates the one at its place; closing the
// last leaves nothing current until the main window opens a new one.
TEST_F(ImageCloseTest, ClosingRenumbersAndTheLastAsksForANewPicture)
{
    TImageForm* a = NewShownWindow(8, 8);
    TImageForm* b = NewShownWindow(8, 8);
    TImageForm* c = NewShownWindow(8, 8);
    ActivateImageWindow(b->Index);
    b->Close();
    gui::PumpUntilIdle();
    ASSERT_EQ(2, ImageFormCount());
    EXPECT_EQ(1, c->Index);
    EXPECT_EQ(c, CurrentImageForm);
    EXPECT_EQ(&c->Picture, CurrentPicture);
    EXPECT_EQ(0, ToolSuspendLevel);
    a->Close();
    c->Close();
    gui::PumpUntilIdle();
    EXPECT_EQ(0, ImageFormCount());
    EXPECT_EQ(1, newImagePosts);
    EXPECT_EQ(nullptr, CurrentImageForm);
    EXPECT_EQ(nullptr, CurrentPicture);
    EXPECT_EQ(&IdleTool, CurrentTool);  // parked until the new window exists

    // What the main window does with the request.
    TImageForm* blank = CreateImageWindow(416, 312, "");
    ASSERT_NE(nullptr, blank);
    ResumeTool();
    EXPECT_EQ(&tool, CurrentTool);
    EXPECT_EQ(&blank->Picture, CurrentPicture);
    EXPECT_EQ(312, blank->Picture.Height());
}

// The main window's bars may sit in an image window's docks: they float
// when it goes, instead of going down with it.
TEST_F(ImageCloseTest, DockedBarsSurviveTheWindow)
{
    std::unique_ptr<TForm> main(new TForm(nullptr));
    std::vector<std::pair<TCustomForm*, bool>> registrations;
    ImageWindowHost.registerDockForm = [&](TCustomForm* form, bool dockable) { registrations.push_back({form, dockable}); };
    TImageForm* f = NewShownWindow(16, 16);
    TCustomToolWindow* bar = new TCustomToolWindow(main.get());
    bar->SetDockedTo(f->LeftDock);
    ASSERT_EQ(1, f->LeftDock->GetToolbarCount());
    delete f;
    EXPECT_TRUE(bar->IsFloating());
    EXPECT_EQ(main.get(), bar->GetOwner());
    ASSERT_EQ(2u, registrations.size());
    EXPECT_TRUE(registrations[0].second);
    EXPECT_FALSE(registrations[1].second);
    EXPECT_EQ(registrations[0].first, registrations[1].first);
}

TEST_F(ImageCloseTest, TheThirtyThirdWindowIsRefused)
{
    for (int i = 0; i < MaxImageForms; ++i) ASSERT_NE(nullptr, CreateImageWindow(16, 16, "")) << i;
    TImageForm* current = CurrentImageForm;
    EXPECT_EQ(nullptr, CreateImageWindow(16, 16, ""));
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ(Translate("NoMem"), recorder->Boxes[0].Text);
    EXPECT_EQ(Translate("Err"), recorder->Boxes[0].Caption);
    EXPECT_EQ(MaxImageForms, ImageFormCount());
    EXPECT_EQ(current, CurrentImageForm);
    EXPECT_EQ(&current->Picture, CurrentPicture);
}

// A picture too large for the address space is refused the same way, and
// the current window stays as it was.
TEST_F(ImageCloseTest, APictureThatCannotBeAllocatedIsRefused)
{
    TImageForm* f = NewShownWindow(16, 16);
    EXPECT_EQ(nullptr, CreateImageWindow(60000, 60000, ""));
    ASSERT_EQ(1u, recorder->Boxes.size());
    EXPECT_EQ(Translate("NoMem"), recorder->Boxes[0].Text);
    EXPECT_EQ(1, ImageFormCount());
    EXPECT_EQ(f, CurrentImageForm);
    EXPECT_EQ(&f->Picture, CurrentPicture);
}

}  // namespace
