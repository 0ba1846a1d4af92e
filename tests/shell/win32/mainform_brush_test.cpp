// The Brush menu in the started program: each item reaches its command,
// is one undo step of the brush named on the menu's Undo item, and undoes
// from the menu; the drop-shadow dialog applies on Enter and leaves the
// brush on Escape; the tool and hot-spot items, the full stop key and
// Convert to Image.
#include "../../gui/win32/timed_step.h"
#include "../../painting/brush_rows.h"
#include "bend_brush.h"
#include "cut_tools.h"
#include "selection_trace.h"
#include "undo_settings.h"
#include "brushes_tools.h"
#include "drop_shadow.h"
#include "dropshadow_form.h"
#include "mainwindow_fixture.h"
#include "messages.h"
#include "undo_entry.h"

namespace {

const Rows Known = {"ABCD", "E.GH"};

class BrushMenu : public MainWindow {
protected:
    TImageForm* f = nullptr;

    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        f = First();
    }
    void UseKnownBrush()
    {
        while (CurrentBrush.undoHead) UDBuffer::DropUndo(&CurrentBrush);
        UDBuffer::DropAllRedo(&CurrentBrush);
        DrawRows(CurrentBrush, Known);
        BrushState.pictureBrush = 1;
        BrushState.paintMode = PaintModeP;
        RecolorBrush(false);
    }
    static TMenuItem* Item(const char* name)
    {
        TMenuItem* item = dynamic_cast<TMenuItem*>(MainForm->FindComponent(name));
        EXPECT_NE(item, nullptr) << name;
        return item;
    }
    static void Choose(const char* name)
    {
        if (TMenuItem* item = Item(name)) item->Click();
        gui::PumpUntilIdle();
    }
    static std::string UndoCaption()
    {
        MainForm->Brush1Click(MainForm);
        return MainForm->UndoBrush1->GetCaption().c_str();
    }
};

TEST_F(BrushMenu, EachCommandIsOneStepNamedOnTheUndoItemAndUndoesFromTheMenu)
{
    struct Case {
        const char* item;
        const char* key;
        int width, height;
    };
    const Case cases[] = {
        {"Outline1", "OutlineBr", 6, 4},   {"Both1", "HalveBr", 2, 1},      {"Height1", "HalveYBr", 4, 1},
        {"Width2", "DoubleXBr", 8, 2},     {"Both2", "DoubleBr", 8, 4},     {"LefttoRight1", "MirLRBr", 4, 2},
        {"ToptoBottom1", "MirTBBr", 4, 2}, {"N90Degrees1", "Rot90Br", 2, 4}, {"N180Degrees1", "Rot180Br", 4, 2},
        {"GetAll1", "GetAllBr", f->Picture.Width(), f->Picture.Height()},
    };
    for (const Case& c : cases) {
        UseKnownBrush();
        EXPECT_EQ(UndoCaption(), Translate("Undo").c_str());
        EXPECT_FALSE(MainForm->UndoBrush1->GetEnabled());
        Choose(c.item);
        EXPECT_EQ(CurrentBrush.Width(), c.width) << c.item;
        EXPECT_EQ(CurrentBrush.Height(), c.height) << c.item;
        EXPECT_EQ(UndoCaption(), (Translate("Undo") + " " + Translate(c.key)).c_str());
        EXPECT_TRUE(MainForm->UndoBrush1->GetEnabled()) << c.item;
        Choose("UndoBrush1");
        EXPECT_EQ(ReadRows(CurrentBrush), Known) << c.item;
        EXPECT_EQ(CurrentBrush.undoHead, nullptr) << c.item;
        MainForm->Brush1Click(MainForm);
        EXPECT_EQ(std::string(MainForm->RedoBrush1->GetCaption().c_str()),
                  (Translate("Redo") + " " + Translate(c.key)).c_str());
        Choose("RedoBrush1");
        EXPECT_EQ(CurrentBrush.Width(), c.width) << c.item;
    }
    EXPECT_EQ(CurrentTool, &PenBrushTools().penDisc);  // Get All hands the brush to the dab pen
}

// An L of three selected pixels becomes a 2 x 2 brush whose fourth pixel
// is transparent; the picture keeps its pixels and its selection.
TEST_F(BrushMenu, GetSelectionTakesTheSelectedPixels)
{
    UDBuffer& pic = f->Picture;
    HideOutline();
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) *pic.At(x, y) = 0x101010UL * unsigned(1 + x + 4 * y);
    for (Pair<int> p : {Pair<int>{1, 1}, Pair<int>{1, 2}, Pair<int>{2, 2}}) *pic.At(p.x, p.y) |= SelectedBit;
    pic.selMinX = 1, pic.selMinY = 1, pic.selMaxX = 2, pic.selMaxY = 2;
    pic.TraceSelection();
    const std::vector<unsigned long> before(pic.pixels, pic.pixels + pic.Width() * pic.Height());
    const bool instant = InstBrush;
    P_icon* tool = CurrentTool;
    InstBrush = false;
    ApplyCutMode();
    ASSERT_TRUE(Item("GetSelection1")->GetEnabled());
    Choose("GetSelection1");
    ASSERT_EQ(CurrentBrush.Width(), 2);
    ASSERT_EQ(CurrentBrush.Height(), 2);
    EXPECT_EQ(*CurrentBrush.At(0, 0), *pic.At(1, 1) & 0xFFFFFF);
    EXPECT_EQ(*CurrentBrush.At(0, 1), *pic.At(1, 2) & 0xFFFFFF);
    EXPECT_EQ(*CurrentBrush.At(1, 1), *pic.At(2, 2) & 0xFFFFFF);
    EXPECT_EQ(*CurrentBrush.At(1, 0), KeyPixel);
    ASSERT_NE(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), "GetSelBr");
    HideOutline();
    EXPECT_EQ(before, std::vector<unsigned long>(pic.pixels, pic.pixels + pic.Width() * pic.Height()));
    EXPECT_TRUE(pic.HasSelection());
    EXPECT_EQ(CurrentTool, &PenBrushTools().penDisc);
    InstBrush = true;
    ApplyCutMode();
    EXPECT_FALSE(Item("GetSelection1")->GetEnabled());
    InstBrush = instant;
    ApplyCutMode();
    SelectTool(tool, true, -1);  // the dab pen's outline would be drawn into the next test's picture
}

TEST_F(BrushMenu, DropShadowDialogAppliesOnEnterAndLeavesTheBrushOnEscape)
{
    UseKnownBrush();
    gui::WhenOpen<TDropShForm>([](TDropShForm* d) {
        d->ShDepth->SetValue(5);
        d->ShDir->SetItemIndex(ShadowSouthWest);
        gui::KeyDown(d->ShDepth, VK_RETURN);
    });
    Choose("DropShadow1");
    EXPECT_EQ(CurrentBrush.Width(), 9);
    EXPECT_EQ(CurrentBrush.Height(), 7);
    EXPECT_EQ(*CurrentBrush.At(5, 0), RowColour('A'));  // the brush moved right by the depth
    ASSERT_NE(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), "ShadBr");

    UseKnownBrush();
    gui::WhenOpen<TDropShForm>([](TDropShForm* d) {
        EXPECT_EQ(d->ShDir->GetItemIndex(), ShadowEast);
        gui::KeyDown(d->ShDir, VK_ESCAPE);
    });
    Choose("DropShadow1");
    EXPECT_EQ(ReadRows(CurrentBrush), Known);
    EXPECT_EQ(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(gui::OpenForm<TDropShForm>(), nullptr);
}

TEST_F(BrushMenu, ToolHotSpotConvertAndResetReachTheirCommands)
{
    Choose("UpandDown1");
    EXPECT_EQ(CurrentTool, &BendBrushTools().bendUnD);
    SelectDefaultTool(true);
    Choose("RBCorner1");
    EXPECT_EQ(BrushState.hotSpot, HandleRightBottom);

    UseKnownBrush();
    BrushState.keyColour = 0x00123456;
    int windows = ImageFormCount();
    // The pointer away from the new picture: the tool's outline is drawn
    // into the picture under it.
    gui::InputMouseMoveTo(1023, 767);
    Choose("Conv2Image1");
    ASSERT_EQ(ImageFormCount(), windows + 1);
    HideOutline();
    UDBuffer& made = CurrentImageForm->Picture;
    ASSERT_EQ(made.Width(), 4);
    ASSERT_EQ(made.Height(), 2);
    EXPECT_EQ(*made.At(1, 1), 0x00123456u);
    EXPECT_EQ(*made.At(3, 1), RowColour('H'));
    EXPECT_EQ(made.modified, 1u);

    // The full stop in a picture window, and the undo model's reset.
    EXPECT_TRUE(bool(ResetBrushHook));
    SetForegroundWindow(CurrentImageForm->GetHandle());
    SetFocus(CurrentImageForm->GetHandle());
    gui::PumpUntilIdle();
    gui::InputKeyStroke(VK_OEM_PERIOD);
    EXPECT_EQ(CurrentBrush.Width(), 1);
    EXPECT_EQ(BrushState.paintMode, PaintModeC);
    ASSERT_NE(CurrentBrush.undoHead, nullptr);
    EXPECT_EQ(std::string(CurrentBrush.undoHead->key.c_str()), "ResetBr");
}

}  // namespace
