// The undo list popup under Xvfb: what it lists, where it opens, and what a
// chosen row does to the picture, its lists, the button hint and the tool.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "../../gui/win32/gui_fixture.h"
#include "../undo_fixture.h"
#include "buttons.h"
#include "toolmanager.h"
#include "undo_history.h"
#include "undoform.h"
#include "workarea.h"

namespace {

class CountingTool : public P_icon {
public:
    int activations = 0, deactivations = 0;
    void Activate() override { ++activations; }
    void Deactivate(P_icon*) override { ++deactivations; }
};

class UndoFormTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        undo.reset(new UndoTest);
        pic.Alloc(Pair<int>{8, 4});
        for (int i = 0; i < 32; ++i) pic.pixels[i] = 0x00405060u + unsigned(i);
        ASSERT_TRUE(AddImagePicture(&pic));
        CurrentPicture = &pic;
        SetStartTool(&tool);
        ToolPhase = PhaseIdle;
        ToolSuspendLevel = 0;
        ParkedTool = nullptr;
        main = new TForm(app.get());
        main->SetBounds(20, 20, 200, 60);
        undoBtn = new TSpeedButton(main);
        undoBtn->SetParent(main);
        redoBtn = new TSpeedButton(main);
        redoBtn->SetParent(main);
        popup = new TPopupMenu(main);
        main->Show();
        windowsBefore = gui::LiveTopLevelWindows();
    }
    void TearDown() override
    {
        CloseUndoForm();
        gui::PumpUntilIdle();
        delete main;
        RemoveImagePicture(&pic);
        UDBuffer::DropAllRedo(&pic);
        while (pic.undoHead) UDBuffer::DropUndo(&pic);
        SetStartTool(&IdleTool);
        ToolSuspendLevel = 0;
        ParkedTool = nullptr;
        undo.reset();
        GuiTest::TearDown();
    }

    // One step per key, oldest first; each step paints one pixel.
    void MakeSteps(const std::vector<const char*>& keys)
    {
        for (size_t i = 0; i < keys.size(); ++i) {
            int x = int(i) % 8;
            snapshots.push_back(Pixels());
            ASSERT_TRUE(UDBuffer::SaveUndo(&pic, keys[i], nullptr, x, 0, x, 0));
            pic.pixels[x] = 0x00FF0000u + unsigned(i);
        }
    }
    std::vector<unsigned long> Pixels() const { return std::vector<unsigned long>(pic.pixels, pic.pixels + 32); }
    static int Count(const UndoEntry* e)
    {
        int n = 0;
        for (; e; e = e->next) ++n;
        return n;
    }
    TUndoForm* Drop(TControl* from)
    {
        popup->SetPopupComponent(from);
        DummyPopupPopup(popup, undoBtn, redoBtn);
        gui::PumpUntilIdle();
        return UndoForm;
    }
    std::vector<std::string> Rows(TUndoForm* form)
    {
        std::vector<std::string> rows;
        TStrings* items = form->UndoList->GetItems();
        for (int i = 0; i < items->GetCount(); ++i) rows.push_back(items->GetStrings(i).c_str());
        return rows;
    }
    void ClickRow(TUndoForm* form, int row)
    {
        ASSERT_NE(nullptr, form);
        RECT r = form->UndoList->ItemRect(row);
        gui::Click(form->UndoList, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        gui::PumpUntilIdle();
    }

    std::unique_ptr<UndoTest> undo;
    UDBuffer pic;
    CountingTool tool;
    TForm* main = nullptr;
    TSpeedButton* undoBtn = nullptr;
    TSpeedButton* redoBtn = nullptr;
    TPopupMenu* popup = nullptr;
    int windowsBefore = 0;
    std::vector<std::vector<unsigned long>> snapshots;  // before each step
};

TEST_F(UndoFormTest, ChoosingTheThirdRowUndoesThreeStepsAndCloses)
{
    MakeSteps({"DelSel", "SprayIcon", "CloneIcon", "TextIcon", "Rotate"});
    TUndoForm* form = Drop(undoBtn);
    ASSERT_NE(nullptr, form);
    EXPECT_FALSE(form->ListsRedo());
    EXPECT_EQ(Rows(form), (std::vector<std::string>{"Rotate", "Text", "Clone", "Spray", "Remove selection"}));
    EXPECT_EQ(gui::LiveTopLevelWindows(), windowsBefore + 1);

    ClickRow(form, 2);
    EXPECT_EQ(nullptr, UndoForm);
    EXPECT_EQ(gui::LiveTopLevelWindows(), windowsBefore);  // freed, not only hidden
    EXPECT_EQ(Count(pic.undoHead), 2);
    EXPECT_EQ(Count(pic.redoHead), 3);
    EXPECT_EQ(Pixels(), snapshots[2]);
    EXPECT_STREQ(undoBtn->GetHint().c_str(), "Undo Spray");
    EXPECT_EQ(CheckUndoInvariants(undo->folder, {&pic}), "");
    // The tool was parked around the change and came back once.
    EXPECT_EQ(tool.deactivations, 1);
    EXPECT_EQ(tool.activations, 1);
    EXPECT_EQ(CurrentTool, &tool);
    EXPECT_EQ(ToolSuspendLevel, 0);
}

TEST_F(UndoFormTest, ShownFromTheDropDownMenuItStaysOpen)
{
    // The drop-down is a menu with no items: tracking it must not take the
    // popup away again.
    MakeSteps({"DelSel", "SprayIcon"});
    popup->OnPopup = [this](TObject*) { DummyPopupPopup(popup, undoBtn, redoBtn); };
    popup->SetPopupComponent(undoBtn);
    popup->Popup(100, 100);
    gui::PumpUntilIdle();
    ASSERT_NE(nullptr, UndoForm);
    EXPECT_TRUE(UndoForm->GetVisible());
    EXPECT_EQ(Rows(UndoForm).size(), 2u);
}

TEST_F(UndoFormTest, RedoPopupListsTheUndoneStepsNewestFirst)
{
    MakeSteps({"DelSel", "SprayIcon", "CloneIcon"});
    ASSERT_EQ(PerformUndoSteps(&pic, false, 3), 3);
    TUndoForm* form = Drop(redoBtn);
    ASSERT_NE(nullptr, form);
    EXPECT_TRUE(form->ListsRedo());
    EXPECT_EQ(Rows(form), (std::vector<std::string>{"Remove selection", "Spray", "Clone"}));
    ClickRow(form, 1);
    EXPECT_EQ(Count(pic.undoHead), 2);
    EXPECT_EQ(Count(pic.redoHead), 1);
    EXPECT_EQ(Pixels(), snapshots[2]);
    EXPECT_STREQ(redoBtn->GetHint().c_str(), "Redo Clone");
}

TEST_F(UndoFormTest, NothingToListOrNoButtonShowsNothing)
{
    EXPECT_EQ(nullptr, Drop(undoBtn));
    MakeSteps({"DelSel"});
    EXPECT_EQ(nullptr, Drop(redoBtn));   // the redo list is empty
    EXPECT_EQ(nullptr, Drop(main));      // not one of the two buttons
    CurrentPicture = nullptr;
    EXPECT_EQ(nullptr, Drop(undoBtn));
    EXPECT_EQ(gui::LiveTopLevelWindows(), windowsBefore);
}

// The texts are the history's (proven without windows); here: the pointer
// over a button sets them.
TEST_F(UndoFormTest, ButtonHintsNameTheNewestStep)
{
    auto hints = [this] {
        UndoBtnMouseMove(undoBtn);
        RedoBtnMouseMove(redoBtn);
        return std::string(undoBtn->GetHint().c_str()) + " / " + redoBtn->GetHint().c_str();
    };
    EXPECT_EQ(hints(), "Undo / Redo");
    MakeSteps({"DelSel", "CutWandIcon"});
    UDBuffer::Undo(&pic, true);
    EXPECT_EQ(hints(), "Undo Remove selection / Redo Magic wand");
}

TEST_F(UndoFormTest, EscapeAnotherWindowOrAToolClosesItWithoutUndoing)
{
    MakeSteps({"DelSel", "SprayIcon"});
    CountingTool other;
    const std::vector<std::function<void(TUndoForm*)>> closers = {
        [](TUndoForm* form) { gui::KeyDown(form->UndoList, VK_ESCAPE); },
        [this](TUndoForm*) { SetActiveWindow(main->GetHandle()); },
        [&other](TUndoForm*) { SelectTool(&other, false, -1); },  // last: it changes the tool
    };
    for (size_t i = 0; i < closers.size(); ++i) {
        EXPECT_EQ(tool.deactivations, 0) << i;  // nothing was undone before
        TUndoForm* form = Drop(undoBtn);
        ASSERT_NE(nullptr, form) << i;
        closers[i](form);
        gui::PumpUntilIdle();
        EXPECT_EQ(nullptr, UndoForm) << i;
        EXPECT_EQ(gui::LiveTopLevelWindows(), windowsBefore) << i;
        EXPECT_EQ(Count(pic.undoHead), 2) << i;
    }
    SetStartTool(&tool);
}

TEST_F(UndoFormTest, SelectionFollowsTheMouse)
{
    MakeSteps({"DelSel", "SprayIcon", "CloneIcon"});
    TUndoForm* form = Drop(undoBtn);
    ASSERT_NE(nullptr, form);
    RECT r = form->UndoList->ItemRect(1);
    gui::MouseMove(form->UndoList, r.left + 2, r.top + 1);
    EXPECT_EQ(form->UndoList->GetItemIndex(), 1);
    EXPECT_EQ(Count(pic.undoHead), 3);  // moving chooses nothing
}

TEST_F(UndoFormTest, OpensAtThePointerInsideTheWorkArea)
{
    std::vector<const char*> keys(12, "SprayIcon");
    MakeSteps(keys);
    RECT work = PrimaryWorkArea();
    POINT corner = {work.right - 1, work.bottom - 1};
    TUndoForm* form = ShowUndoPopup(false, undoBtn, corner);
    ASSERT_NE(nullptr, form);
    gui::PumpUntilIdle();
    int rowHeight = form->UndoList->GetItemHeight();
    EXPECT_EQ(form->GetHeight(), UndoPopupRows * rowHeight + 10);
    EXPECT_EQ(form->UndoList->GetHeight(), UndoPopupRows * rowHeight + 2);
    EXPECT_EQ(form->GetLeft() + form->GetWidth(), work.right);
    EXPECT_EQ(form->GetTop() + form->GetHeight(), work.bottom);
    // Rows the list shows in full: exactly the eight the height was made for.
    RECT client;
    GetClientRect(form->UndoList->GetHandle(), &client);
    EXPECT_EQ(client.bottom, UndoPopupRows * rowHeight);

    POINT inside = {work.left + 10, work.top + 20};
    form = ShowUndoPopup(false, undoBtn, inside);  // replaces the first
    gui::PumpUntilIdle();
    ASSERT_NE(nullptr, form);
    EXPECT_EQ(form->GetLeft(), inside.x);
    EXPECT_EQ(form->GetTop(), inside.y);
    EXPECT_EQ(gui::LiveTopLevelWindows(), windowsBefore + 1);
}

TEST_F(UndoFormTest, ARunningOperationOrAToolParkedElsewhereKeepsItsTool)
{
    MakeSteps({"DelSel", "SprayIcon", "CloneIcon"});
    ToolPhase = 1;
    ClickRow(Drop(undoBtn), 0);
    EXPECT_EQ(Count(pic.undoHead), 2);
    EXPECT_EQ(tool.deactivations, 0);
    EXPECT_EQ(tool.activations, 0);
    EXPECT_EQ(ToolSuspendLevel, 0);

    ToolPhase = PhaseIdle;
    SuspendTool();
    ClickRow(Drop(undoBtn), 0);
    EXPECT_EQ(Count(pic.undoHead), 1);
    // No resume that the other suspend did not ask for.
    EXPECT_EQ(CurrentTool, &IdleTool);
    EXPECT_EQ(ToolSuspendLevel, -1);
    EXPECT_EQ(tool.activations, 0);
    ResumeTool();
    EXPECT_EQ(CurrentTool, &tool);
}

TEST_F(UndoFormTest, MultiUndoStopsAtTheFirstFailure)
{
    MakeSteps({"DelSel", "SprayIcon", "CloneIcon", "TextIcon"});
    // Room for one redo step of one pixel: the second undo cannot keep its
    // redo step and must not be tried again for the third.
    undo->folder.allocBudget = 4;
    ClickRow(Drop(undoBtn), 2);
    EXPECT_EQ(nullptr, UndoForm);
    EXPECT_EQ(Count(pic.undoHead), 3);
    EXPECT_EQ(Count(pic.redoHead), 1);
    EXPECT_EQ(Pixels(), snapshots[3]);
    ASSERT_EQ(undo->messages.size(), 1u);
    EXPECT_EQ(undo->messages[0].text, "Not enough memory for this operation.");
    EXPECT_EQ(CurrentTool, &tool);
    EXPECT_EQ(ToolSuspendLevel, 0);
}

}  // namespace
