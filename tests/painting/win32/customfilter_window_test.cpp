// The custom filter in a real image window: OK leaves the convolved picture
// with one undo step that takes it back, Cancel and Escape restore it bit
// for bit, and with a selection only the selected pixels change.

#include <random>

#include "convolve.h"
#include "customfilter.h"
#include "imageform_fixture.h"
#include "undo_entry.h"

namespace {

const ConvolveKernel Sharpen = {{0, 0, 0, 0, 0, 0, 0, -1, 0, 0, 0, -1, 5, -1, 0, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0}, 1, 0};

class CustomFilterWindow : public ImageFormTest {
protected:
    TImageForm* f = nullptr;
    UDBuffer* pic = nullptr;

    void SetUp() override
    {
        ImageFormTest::SetUp();
        f = NewShownWindow(37, 23);
        ASSERT_NE(nullptr, f);
        pic = &f->Picture;
        std::mt19937 rng(33);
        for (int i = 0; i < 37 * 23; i++) pic->pixels[i] = rng() & 0xFFFFFF;
    }

    std::vector<unsigned long> Pixels() const { return std::vector<unsigned long>(pic->pixels, pic->pixels + 37 * 23); }

    // The grid as the dialog shows it after the user typed it in.
    TCFilterForm* OpenWith(const ConvolveKernel& k)
    {
        SelectTool(&CustomFilterTool, true, -1);
        TCFilterForm* form = CustomFilterTool.Form();
        if (form) form->ShowKernel(k);
        return form;
    }
};

TEST_F(CustomFilterWindow, OkCancelAndEscape)
{
    enum Ending { Ok, Cancel, Escape };
    struct Case {
        const char* name;
        Ending ending;
        bool selection;
    } cases[] = {{"ok", Ok, false}, {"ok on a selection", Ok, true}, {"cancel", Cancel, false}, {"escape", Escape, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.selection) {
            for (int y = 5; y <= 12; y++)
                for (int x = 10; x <= 20; x++) *pic->At(x, y) |= 0x04000000;
            pic->selMinX = 10, pic->selMaxX = 20, pic->selMinY = 5, pic->selMaxY = 12;
            pic->TraceSelection();
        }
        const std::vector<unsigned long> before = Pixels();
        Buffer expected;
        expected.Alloc({37, 23});
        expected.Copy(*pic, {0, 0}, 0xFFFFFFFF);
        Convolver(*pic, Sharpen).Run(expected, Rect{10, 5, 20, 12}, c.selection);
        if (!c.selection) Convolver(*pic, Sharpen).Run(expected, pic->GetRect(), false);
        const unsigned long modified = pic->modified;
        UndoEntry* oldUndo = pic->undoHead;

        TCFilterForm* form = OpenWith(Sharpen);
        ASSERT_NE(nullptr, form);
        form->PreviewBtnClick(form);
        EXPECT_EQ(*expected.At(15, 8), *pic->At(15, 8)) << "preview works on the picture";
        if (c.ending == Ok) form->OkBtnClick(form);
        if (c.ending == Cancel) form->CancelBtnClick(form);
        if (c.ending == Escape) SendMessageA(form->Weights[7]->GetHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
        gui::PumpUntilIdle();
        EXPECT_EQ(nullptr, CustomFilterTool.Form());
        EXPECT_EQ(&tool, CurrentTool);

        if (c.ending != Ok) {
            EXPECT_EQ(before, Pixels());
            EXPECT_EQ(oldUndo, pic->undoHead);
            EXPECT_EQ(modified, pic->modified);
            continue;
        }
        for (int y = 0; y < 23; y++)
            for (int x = 0; x < 37; x++) ASSERT_EQ(*expected.At(x, y), *pic->At(x, y)) << x << "," << y;
        ASSERT_NE(oldUndo, pic->undoHead);
        EXPECT_STREQ("CustFilt", pic->undoHead->key.c_str());
        EXPECT_EQ(modified + 1, pic->modified);
        if (c.selection) {
            const Pair<int> size = UDBuffer::NewestUndoSize(pic);
            EXPECT_EQ(11, size.x);
            EXPECT_EQ(8, size.y);
        }
        ASSERT_TRUE(UDBuffer::Undo(pic, false));
        EXPECT_EQ(before, Pixels());
    }
}

}  // namespace

namespace {

TEST_F(CustomFilterWindow, EditsStripTypingAndMoveByRows)
{
    TCFilterForm* form = OpenWith(DefaultConvolveKernel());
    ASSERT_NE(nullptr, form);
    TEdit* e = form->Weights[7];
    e->SetText("1a2");
    EXPECT_STREQ("12", e->GetText().c_str());
    e->SetText("5-");
    EXPECT_STREQ("5", e->GetText().c_str());
    e->SetFocus();
    SendMessageA(e->GetHandle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(form->Weights[12]->GetHandle(), GetFocus());
    SendMessageA(form->Weights[12]->GetHandle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(form->Weights[7]->GetHandle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(form->Weights[2]->GetHandle(), WM_KEYDOWN, VK_UP, 0);  // top row: stays
    EXPECT_EQ(form->Weights[2]->GetHandle(), GetFocus());
    SendMessageA(form->Weights[2]->GetHandle(), WM_KEYDOWN, VK_RETURN, 0);  // OK
    gui::PumpUntilIdle();
    EXPECT_EQ(nullptr, CustomFilterTool.Form());
    ASSERT_NE(nullptr, pic->undoHead);
    EXPECT_STREQ("CustFilt", pic->undoHead->key.c_str());
}

}  // namespace
