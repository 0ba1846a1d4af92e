// Turning and stretching the picture in the started program: the Image
// menu's items select the tools, the bars' Preview and OK buttons and the
// percentage spin reach them, and leaving the tool gives every byte back.
#include "buttons.h"
#include "mainwindow_fixture.h"
#include "optionbar.h"
#include "optionbar_view.h"
#include "rotate_tools.h"
#include "spinedit.h"
#include "stretch_tools.h"
#include "undo_entry.h"

namespace {

class PictureTransforms : public MainWindow {
protected:
    void SetUp() override
    {
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        // The pointer away from the picture: a tool's outline is drawn into it.
        gui::InputMouseMoveTo(1023, 767);
        gui::PumpUntilIdle();
        HideOutline();
        UDBuffer& pic = First()->Picture;
        for (int y = 0; y < pic.Height(); ++y)
            for (int x = 0; x < pic.Width(); ++x)
                *pic.At(x, y) = (unsigned(x * 0x010203 + y * 0x030100) & 0xFFFFFF) | (x % 7 == 3 ? 0x01000000u : 0u) |
                                (y % 5 == 1 ? 0x02000000u : 0u);
    }
    std::vector<unsigned long> Pixels() const
    {
        const UDBuffer& pic = First()->Picture;
        std::vector<unsigned long> all;
        for (int y = 0; y < pic.Height(); ++y) all.insert(all.end(), pic.At(0, y), pic.At(0, y) + pic.Width());
        return all;
    }
    void Press(const char* caption)
    {
        TSpeedButton* b = gui::FindButton(MainForm->OptionToolbar, caption);
        ASSERT_NE(b, nullptr) << caption;
        gui::Click(b, 3, 3);
        gui::PumpUntilIdle();
    }
};

TEST_F(PictureTransforms, RotateAndStretchFromTheImageMenu)
{
    UDBuffer& pic = First()->Picture;
    const std::vector<unsigned long> before = Pixels();

    MainForm->Rotate1->Click();
    gui::PumpUntilIdle();
    ASSERT_EQ(CurrentTool, &RotateTools().picture);
    SetOptionValue(1, 30);
    Press("Preview");
    EXPECT_EQ(pic.Width(), 516);  // trunc(416 cos 30 + 312 sin 30)
    EXPECT_EQ(pic.Height(), 478);
    SelectDefaultTool(true);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(Pixels(), before);

    MainForm->Rotate1->Click();
    gui::PumpUntilIdle();
    SetOptionValue(1, 90);
    Press("OK");
    EXPECT_NE(CurrentTool, &RotateTools().picture);
    EXPECT_EQ(pic.Width(), 312);
    ASSERT_TRUE(UDBuffer::Undo(&pic, false));

    MainForm->StretchMirror1->Click();
    gui::PumpUntilIdle();
    ASSERT_EQ(CurrentTool, &StretchTools().picture);
    auto* percent = dynamic_cast<TSpinEdit*>(MainForm->OptionView->GetValueControl(2));
    ASSERT_NE(percent, nullptr);
    percent->SetValue(50);
    if (percent->OnChange) percent->OnChange(percent);
    EXPECT_EQ(GetOptionValue(0), 208);
    EXPECT_EQ(GetOptionValue(1), 156);  // proportions kept
    Press("Preview");
    EXPECT_EQ(pic.Width(), 208);
    EXPECT_EQ(pic.Height(), 156);
    // A negative percentage can be typed, and mirrors.
    const std::vector<unsigned long> halved = Pixels();
    percent->SetValue(-50);
    if (percent->OnChange) percent->OnChange(percent);
    EXPECT_EQ(GetOptionValue(0), -208);
    EXPECT_EQ(GetOptionValue(1), -156);
    Press("Preview");
    ASSERT_EQ(pic.Width(), 208);
    ASSERT_EQ(pic.Height(), 156);
    for (int y = 0; y < 156; y += 5)
        for (int x = 0; x < 208; x += 3)
            ASSERT_EQ(*pic.At(x, y), halved[size_t((155 - y) * 208 + 207 - x)]) << x << "," << y;
    SelectDefaultTool(true);
    gui::PumpUntilIdle();
    HideOutline();
    EXPECT_EQ(Pixels(), before);
}

}  // namespace
