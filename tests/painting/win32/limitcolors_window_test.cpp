// Colour limitation on the current picture: one "LimitCols" step that undoes
// it, the palette bar filled with the created colours; creating the palette
// only leaves the picture and its history alone.

#include "../../gui/win32/timed_step.h"
#include "appsettings.h"
#include "imageform_fixture.h"
#include "limitcolors.h"
#include "palettebar.h"
#include "undo_entry.h"
#include "../undo_fixture.h"

namespace {

class LimitColorsWindow : public ImageFormTest {
protected:
    std::vector<unsigned long> oldBar;
    int oldSetting = 0;

    void SetUp() override
    {
        ImageFormTest::SetUp();
        oldBar = PaletteBarCells.Colours();
        oldSetting = AppSettings.Palette;
    }
    void TearDown() override
    {
        PaletteBarCells.Build(int(oldBar.size()), oldBar);
        AppSettings.Palette = oldSetting;
        ImageFormTest::TearDown();
    }
};

TEST_F(LimitColorsWindow, OperationsOnThePictureAndTheBar)
{
    struct Case {
        int operation, limit, barCount;
        bool changes;
    } cases[] = {{PutToFastPalette, 16, 16, true}, {CreateFastPaletteOnly, 5, 8, false}, {PutToFastPalette, 40, 48, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "operation " << c.operation << " limit " << c.limit);
        TImageForm* f = NewShownWindow(50, 40);
        ASSERT_NE(nullptr, f);
        UDBuffer* pic = &f->Picture;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < 50; x++) *pic->At(x, y) = (unsigned long)(x * 5) << 16 | (unsigned long)(y * 6) << 8 | 77;
        const std::vector<unsigned long> before(pic->pixels, pic->pixels + 50 * 40);
        const unsigned long modified = pic->modified;
        LimitColorsSettings s;
        s.operation = c.operation;
        s.limit = c.limit;
        s.dither = false;
        ApplyLimitColors(s, nullptr);
        EXPECT_EQ(c.barCount, PaletteBarCells.Count());
        const std::vector<unsigned long> bar = PaletteBarCells.Colours();
        const std::vector<unsigned long> after(pic->pixels, pic->pixels + 50 * 40);
        if (!c.changes) {
            EXPECT_EQ(before, after);
            EXPECT_EQ(nullptr, pic->undoHead);
            EXPECT_EQ(modified, pic->modified);
        } else {
            for (unsigned long p : after)
                ASSERT_NE(bar.end(), std::find(bar.begin(), bar.end(), p & 0xFFFFFF)) << std::hex << p;
            ASSERT_NE(nullptr, pic->undoHead);
            EXPECT_STREQ("LimitCols", pic->undoHead->key.c_str());
            EXPECT_EQ(modified + 1, pic->modified);
            ASSERT_TRUE(UDBuffer::Undo(pic, false));
            EXPECT_EQ(before, std::vector<unsigned long>(pic->pixels, pic->pixels + 50 * 40));
        }
        delete f;
        gui::PumpUntilIdle();
    }
}

// Without room for the undo step the picture is not reduced.
TEST_F(LimitColorsWindow, RefusedUndoStepLeavesThePicture)
{
    TImageForm* f = NewShownWindow(30, 20);
    ASSERT_NE(nullptr, f);
    UDBuffer* pic = &f->Picture;
    for (int i = 0; i < 600; i++) pic->pixels[i] = 0x010203UL * unsigned(i % 80);
    const std::vector<unsigned long> before(pic->pixels, pic->pixels + 600);
    const unsigned long modified = pic->modified;
    {
        UndoTest undo;
        undo.folder.allocBudget = 0;
        LimitColorsSettings s;
        s.limit = 4;
        ApplyLimitColors(s, nullptr);
        EXPECT_EQ(1u, undo.messages.size());
    }
    EXPECT_EQ(before, std::vector<unsigned long>(pic->pixels, pic->pixels + 600));
    EXPECT_EQ(nullptr, pic->undoHead);
    EXPECT_EQ(modified, pic->modified);
    delete f;
    gui::PumpUntilIdle();
}

// What OK took is what the dialog shows at its next opening.
TEST_F(LimitColorsWindow, SettingsReturnAtTheNextOpening)
{
    TImageForm* f = NewShownWindow(20, 10);
    ASSERT_NE(nullptr, f);
    gui::WhenOpen<TLimitColorsForm>([](TLimitColorsForm* d) {
        d->ColorLimit->SetValue(40);
        d->DitherCB->SetChecked(false);
        d->SaveBgndCB->SetChecked(true);
        d->Operation->SetItemIndex(CreateFastPaletteOnly);
        d->SetModalResult(mrOk);
    });
    RunLimitColors(nullptr, nullptr);
    LimitColorsSettings seen;
    gui::WhenOpen<TLimitColorsForm>([&seen](TLimitColorsForm* d) {
        seen = d->Settings();
        d->SetModalResult(mrCancel);
    });
    RunLimitColors(nullptr, nullptr);
    EXPECT_EQ(40, seen.limit);
    EXPECT_FALSE(seen.dither);
    EXPECT_TRUE(seen.saveBackground);
    EXPECT_EQ(int(CreateFastPaletteOnly), seen.operation);
    delete f;
    gui::PumpUntilIdle();
}

}  // namespace
