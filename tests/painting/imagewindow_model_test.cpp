// The image window's logic that needs no window: the Shift axis lock, the
// shortcut codes and what a focused option-bar control keeps, and the
// picture's titles.
#include <gtest/gtest.h>

#include "axislock.h"
#include "imagekeys.h"
#include "imagetitle.h"
#include "messages.h"
#include "picture_document.h"

TEST(AxisLock, DecidesOnlyPastFourPixelsAndThenHoldsTheAxis)
{
    AxisLock lock;
    lock.Arm(TPoint{20, 20});
    TPoint p = lock.Apply(TPoint{23, 21}, true);
    EXPECT_EQ(AxisLock::Undecided, lock.Decided());
    EXPECT_EQ(23, p.x);
    EXPECT_EQ(21, p.y);
    p = lock.Apply(TPoint{25, 22}, true);
    EXPECT_EQ(AxisLock::Horizontal, lock.Decided());
    EXPECT_EQ(20, p.y);
    p = lock.Apply(TPoint{26, 90}, true);  // a decided lock does not turn
    EXPECT_EQ(26, p.x);
    EXPECT_EQ(20, p.y);
    lock.Arm(TPoint{0, 0});  // Shift repeats while held: the anchor stays
    EXPECT_EQ(20, lock.Anchor().x);
    p = lock.Apply(TPoint{26, 90}, false);  // without Shift: off
    EXPECT_EQ(90, p.y);
    EXPECT_FALSE(lock.Armed());
    EXPECT_EQ(AxisLock::Undecided, lock.Decided());
}

TEST(AxisLock, VerticalTiesAndUnarmedShift)
{
    AxisLock lock;
    EXPECT_EQ(40, lock.Apply(TPoint{40, 3}, true).x);  // Shift alone does not arm it
    lock.Arm(TPoint{10, 10});
    lock.Apply(TPoint{15, 15}, true);  // equal distances decide nothing
    EXPECT_EQ(AxisLock::Undecided, lock.Decided());
    TPoint p = lock.Apply(TPoint{12, 4}, true);
    EXPECT_EQ(AxisLock::Vertical, lock.Decided());
    EXPECT_EQ(10, p.x);
    EXPECT_EQ(4, p.y);
    lock.Disarm();
    EXPECT_EQ(12, lock.Apply(TPoint{12, 4}, true).x);
}

TEST(ImageKeys, CodesAndTheirShortcuts)
{
    EXPECT_EQ(289, HotKeyCode(33, true, false, false));
    EXPECT_EQ(600, HotKeyCode('X', false, true, false));
    EXPECT_EQ(834, HotKeyCode('B', true, true, false));
    EXPECT_EQ(1139, HotKeyCode(115, false, false, true));
    EXPECT_EQ(ImageKey::RedUp, ImageKeyFor(289));
    EXPECT_EQ(ImageKey::Cut, ImageKeyFor(600));
    EXPECT_EQ(ImageKey::BackgroundSelector, ImageKeyFor(834));
    EXPECT_EQ(ImageKey::CloseMainWindow, ImageKeyFor(1139));
    EXPECT_EQ(ImageKey::CutRectLarger, ImageKeyFor(546));  // Ctrl+Page Down
    EXPECT_EQ(ImageKey::Undo, ImageKeyFor(602));
    EXPECT_EQ(ImageKey::SwallowAlt, ImageKeyFor(1042));
    EXPECT_EQ(ImageKey::NextHotSpot, ImageKeyFor(101));
    EXPECT_EQ(ImageKey::None, ImageKeyFor(65));
    EXPECT_EQ(0, AltWindowIndex(KeyAlt + '1'));
    EXPECT_EQ(9, AltWindowIndex(KeyAlt + '0'));
    EXPECT_EQ(-1, AltWindowIndex('1'));
    EXPECT_EQ(-1, AltWindowIndex(KeyAlt + KeyShift + '1'));
}

TEST(ImageKeys, FocusedControlsKeepTheKeysTheyType)
{
    EXPECT_TRUE(KeyLeftToControl(8, TagNumber));    // Backspace
    EXPECT_TRUE(KeyLeftToControl(36, TagText));     // Home
    EXPECT_TRUE(KeyLeftToControl(107, TagNumber));  // keypad +
    EXPECT_TRUE(KeyLeftToControl(190, TagNumber));
    EXPECT_FALSE(KeyLeftToControl(107, TagUpDown));
    EXPECT_FALSE(KeyLeftToControl(38, TagNumber));  // Up is a shortcut for a number field
    EXPECT_TRUE(KeyLeftToControl(38, TagUpDown));
    EXPECT_TRUE(KeyLeftToControl('Z' + KeyCtrl, TagText));
    EXPECT_FALSE(KeyLeftToControl('Z' + KeyCtrl + KeyAlt, TagText));
    EXPECT_FALSE(KeyLeftToControl('Z', 0));
}

TEST(ImageTitle, UntitledNamedAndMinimised)
{
    UDBuffer pic;
    pic.untitledNumber = 7;
    AnsiString untitled = Translate("Untitled") + " 7";
    EXPECT_EQ(untitled, ImageTitle(pic));
    EXPECT_EQ(untitled, ImageCaption(pic, CaptionNameOnly, true));
    EXPECT_EQ(untitled + " [3] " + Translate("Changed"), CloseQuestionText(pic, 2));
    pic.fileName = "C:\\pics\\cat.png";
    EXPECT_EQ(AnsiString("C:\\pics\\cat.png"), ImageCaption(pic, CaptionAuto, false));
    EXPECT_EQ(AnsiString("cat.png"), ImageCaption(pic, CaptionAuto, true));
    EXPECT_EQ(AnsiString("cat.png"), ImageCaption(pic, CaptionNameOnly, false));
    EXPECT_EQ(AnsiString("C:\\pics\\cat.png"), ImageCaption(pic, CaptionFullPath, true));
}
