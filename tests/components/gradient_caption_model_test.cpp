// The gradient caption's geometry and colours without a window: bands,
// button sets and places, the system menu's states, the press tolerance.
#include <gtest/gtest.h>

#include <stdexcept>

#include "gradient_caption_model.h"

namespace {

TCapLayoutInput Form(TCapBorder border, unsigned icons, int width = 400)
{
    TCapLayoutInput in;
    in.Border = border;
    in.BorderIcons = icons;
    in.WindowWidth = width;
    in.WindowHeight = 300;
    return in;
}

}  // namespace

TEST(GradientBands, SixtyFourOverSixHundredFortyAreTenPixelsFromBeginToEnd)
{
    for (int i = 0; i < 64; ++i) {
        TCapSpan s = GradientBand(i, 64, 0, 640);
        EXPECT_EQ(i * 10, s.First);
        EXPECT_EQ(i * 10 + 10, s.Last);
    }
    EXPECT_EQ(0x800000u, GradientBandColor(0x800000, 0xFF0000, 0, 64));
    EXPECT_EQ(0xFF0000u, GradientBandColor(0x800000, 0xFF0000, 63, 64));
    // Each channel on its own: red falls while blue rises.
    EXPECT_EQ(0x80007Fu, GradientBandColor(0x0000FF, 0xFF0000, 1, 3));
}

TEST(GradientBands, OneColourFillsEverythingWithTheBeginColour)
{
    TCapSpan s = GradientBand(0, 1, 5, 305);
    EXPECT_EQ(5, s.First);
    EXPECT_EQ(305, s.Last);
    EXPECT_EQ(0x123456u, GradientBandColor(0x123456, 0xFFFFFF, 0, 1));
}

TEST(GradientBands, RoundedEdgesCoverTheCaptionWithoutGap)
{
    int next = 0;
    for (int i = 0; i < 64; ++i) {
        TCapSpan s = GradientBand(i, 64, 0, 650);
        EXPECT_EQ(next, s.First) << "band " << i;
        EXPECT_GE(s.Last - s.First, 10);
        next = s.Last;
    }
    EXPECT_EQ(650, next);
}

TEST(GradientBands, MulDivRoundsHalfAwayFromZeroAndRefusesZero)
{
    EXPECT_EQ(3, CapMulDiv(5, 1, 2));
    EXPECT_EQ(-3, CapMulDiv(-5, 1, 2));
    EXPECT_EQ(2, CapMulDiv(7, 1, 3));
    EXPECT_EQ(-1, CapMulDiv(1, 1, 0));
    EXPECT_EQ(2000000000, CapMulDiv(2000000000, 3, 3));  // no 32-bit overflow inside
}

TEST(GradientBands, BadBandArgumentsRaise)
{
    EXPECT_THROW(GradientBandColor(0, 0, 0, 0), std::invalid_argument);
    EXPECT_THROW(GradientBandColor(0, 0, 5, 5), std::invalid_argument);
    EXPECT_THROW(GradientBandColor(0, 0, -1, 5), std::invalid_argument);
}

TEST(CaptionLayout, SizeableFormHasFrameIconTextAndThreeButtons)
{
    TCapLayoutInput in = Form(cbSizeable, capSystemMenu | capMinimize | capMaximize);
    TCapLayout l = LayoutCaption(in);
    EXPECT_EQ(in.Metrics.FrameX, l.Caption.Left);
    EXPECT_EQ(in.Metrics.FrameY, l.Caption.Top);
    EXPECT_EQ(400 - in.Metrics.FrameX, l.Caption.Right);
    EXPECT_EQ(in.Metrics.CaptionHeight - 1, l.Caption.Height());
    EXPECT_EQ(in.Metrics.ButtonWidth, l.Icon.Width());
    const TCapButtonLayout& close = l.Buttons[cbkClose];
    const TCapButtonLayout& max = l.Buttons[cbkMaximize];
    const TCapButtonLayout& min = l.Buttons[cbkMinimize];
    EXPECT_TRUE(close.Visible && max.Visible && min.Visible);
    EXPECT_FALSE(l.Buttons[cbkHelp].Visible);
    EXPECT_EQ(l.Caption.Right, close.Rect.Right);
    EXPECT_EQ(in.Metrics.ButtonWidth - 2, close.Rect.Width());
    EXPECT_EQ(in.Metrics.ButtonHeight - 4, close.Rect.Height());
    EXPECT_EQ(close.Rect.Left - 2, max.Rect.Right);
    EXPECT_EQ(max.Rect.Left, min.Rect.Right);
    EXPECT_EQ(l.Icon.Right, l.Text.Left);
    EXPECT_EQ(min.Rect.Left, l.Text.Right);
    EXPECT_EQ(l.Caption.Top + 2, l.Text.Top);
    EXPECT_EQ(l.Caption.Bottom - 2, l.Text.Bottom);
}

TEST(CaptionLayout, DialogShowsCloseAndHelpOnly)
{
    TCapLayout l = LayoutCaption(Form(cbDialog, capSystemMenu | capMinimize | capMaximize));
    EXPECT_TRUE(l.Buttons[cbkClose].Visible);
    EXPECT_FALSE(l.Buttons[cbkMinimize].Visible);
    EXPECT_FALSE(l.Buttons[cbkMaximize].Visible);
    EXPECT_FALSE(l.Buttons[cbkHelp].Visible);
    EXPECT_EQ(0, l.Icon.Width());
    EXPECT_EQ(TCapMetrics().DlgFrameX, l.FrameX);

    l = LayoutCaption(Form(cbDialog, capSystemMenu | capHelp));
    EXPECT_TRUE(l.Buttons[cbkHelp].Visible);
    EXPECT_EQ(l.Buttons[cbkClose].Rect.Left - 2, l.Buttons[cbkHelp].Rect.Right);
}

TEST(CaptionLayout, MissingMaximiseShowsDisabled)
{
    TCapLayout l = LayoutCaption(Form(cbSizeable, capSystemMenu | capMinimize));
    EXPECT_TRUE(l.Buttons[cbkMinimize].Visible);
    EXPECT_TRUE(l.Buttons[cbkMinimize].Enabled);
    EXPECT_TRUE(l.Buttons[cbkMaximize].Visible);
    EXPECT_FALSE(l.Buttons[cbkMaximize].Enabled);
    // Help never shows on sizeable or single borders.
    l = LayoutCaption(Form(cbSingle, capSystemMenu | capHelp));
    EXPECT_FALSE(l.Buttons[cbkHelp].Visible);
    EXPECT_FALSE(l.Buttons[cbkMinimize].Visible);
}

TEST(CaptionLayout, ToolWindowHasOneCloseButtonTheCaptionsHeight)
{
    TCapLayoutInput in = Form(cbToolWindow, capSystemMenu | capMinimize | capMaximize);
    TCapLayout l = LayoutCaption(in);
    EXPECT_EQ(in.Metrics.SmCaptionHeight - 1, l.Caption.Height());
    EXPECT_TRUE(l.Buttons[cbkClose].Visible);
    EXPECT_FALSE(l.Buttons[cbkMinimize].Visible || l.Buttons[cbkMaximize].Visible || l.Buttons[cbkHelp].Visible);
    EXPECT_EQ(l.Caption.Height(), l.Buttons[cbkClose].Rect.Height());
    EXPECT_EQ(l.Caption.Top, l.Buttons[cbkClose].Rect.Top);
    EXPECT_EQ(l.Caption.Right, l.Buttons[cbkClose].Rect.Right);
}

TEST(CaptionLayout, NoSystemMenuNoCaptionOrNoBorderMeansNoButtons)
{
    TCapLayoutInput in = Form(cbSizeable, capMinimize | capMaximize);
    EXPECT_FALSE(LayoutCaption(in).Buttons[cbkClose].Visible);
    in = Form(cbSizeable, capSystemMenu | capMinimize);
    in.HadSystemMenu = false;
    TCapLayout l = LayoutCaption(in);
    EXPECT_FALSE(l.Buttons[cbkClose].Visible);
    EXPECT_EQ(0, l.Icon.Width());
    in = Form(cbNone, capSystemMenu);
    l = LayoutCaption(in);
    EXPECT_EQ(0, l.Caption.Height());
    EXPECT_EQ(0, l.FrameX);
    EXPECT_FALSE(l.Buttons[cbkClose].Visible);
}

TEST(CaptionLayout, MinimisedFormUsesTheDialogFrame)
{
    TCapLayoutInput in = Form(cbSizeable, capSystemMenu | capMinimize | capMaximize, 160);
    in.Minimized = true;
    in.Metrics.DlgFrameX = 3;
    in.Metrics.FrameX = 7;
    EXPECT_EQ(3, LayoutCaption(in).FrameX);
}

TEST(CaptionLayout, NarrowWindowGivesEmptyNotNegativeRectangles)
{
    TCapLayout l = LayoutCaption(Form(cbSizeable, capSystemMenu | capMinimize | capMaximize, 4));
    EXPECT_GE(l.Caption.Width(), 0);
    EXPECT_GE(l.Text.Width(), 0);
}

TEST(CaptionSystemMenu, ItemsFollowTheWindowState)
{
    TCapButtonLayout shownOn;
    shownOn.Visible = true;
    TCapButtonLayout disabled = shownOn;
    disabled.Enabled = false;
    TCapSysMenuState normal = SystemMenuState(false, false, shownOn, disabled);
    EXPECT_FALSE(normal.Restore);
    EXPECT_TRUE(normal.Move && normal.Size && normal.Minimize);
    EXPECT_FALSE(normal.Maximize);
    EXPECT_FALSE(normal.RestoreIsDefault);
    TCapSysMenuState minimized = SystemMenuState(true, false, shownOn, shownOn);
    EXPECT_TRUE(minimized.Restore && minimized.RestoreIsDefault);
    EXPECT_FALSE(minimized.Move || minimized.Size);
    TCapSysMenuState maximized = SystemMenuState(false, true, TCapButtonLayout(), shownOn);
    EXPECT_TRUE(maximized.Restore);
    EXPECT_FALSE(maximized.RestoreIsDefault || maximized.Minimize);
}

TEST(CaptionSystemMenu, PressToleranceIsTwoPixelsAndRightOfCloseOnly)
{
    TRect r{100, 10, 116, 24};
    EXPECT_TRUE(CapButtonHit(r, cbkMaximize, 100, 8));
    EXPECT_FALSE(CapButtonHit(r, cbkMaximize, 100, 7));
    EXPECT_TRUE(CapButtonHit(r, cbkMaximize, 115, 25));
    EXPECT_FALSE(CapButtonHit(r, cbkMaximize, 115, 26));
    EXPECT_FALSE(CapButtonHit(r, cbkMaximize, 116, 12));
    EXPECT_TRUE(CapButtonHit(r, cbkClose, 117, 12));
    EXPECT_FALSE(CapButtonHit(r, cbkClose, 118, 12));
    EXPECT_FALSE(CapButtonHit(r, cbkClose, 99, 12));
}
