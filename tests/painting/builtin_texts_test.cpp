// The English texts built in for running without a language file: every
// tool's option bar gives the controls its tool reads by index, with limits
// that keep the tool's arithmetic sound, and every message key of the
// painting core reads as English.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "messages.h"
#include "optionbar.h"
#include "tool.h"
#include "userlevel.h"

namespace {

// Each tool's bar key and its value controls in index order, as the tools
// read them (B button, C check box, F decimal spin, I integer spin, L list).
struct BarShape {
    const char* key;
    const char* kinds;
};
const BarShape PaintingBars[] = {
    {"LINEBAR", "LIL"},     {"CURVEBAR", "LIL"},    {"CIRCLEBAR", "LI"},       {"ELLIPSEBAR", "LI"},
    {"SFILLBAR", "ICC"},    {"PFILLBAR", "ICCBL"},  {"SPRAYBAR", "BII"},       {"AIRBRUSHBAR", "BII"},
    {"CLONEBAR", "C"},      {"CHBAR", "I"},         {"CUTBAR", "BIIBB"},       {"WANDBAR", "I"},
    {"ROTATEBAR", "CFBB"},  {"STRETCHBAR", "IIFFCBB"},
};

class BuiltInBars : public ::testing::Test {
protected:
    P_icon tool;

    void SetUp() override
    {
        SetLanguageLookup(nullptr);  // no language file
        OptionBarView = OptionBarViewServices();
        Level = LevelNovice;
    }
    void TearDown() override { HideOptionBar(&tool, nullptr); }

    void Show(const char* key)
    {
        HideOptionBar(&tool, nullptr);
        tool.optionBarKey = key;
        ShowOptionBar(&tool);
    }
    const OptionItem& Item(int index)
    {
        static OptionItem none;
        const OptionControl* c = GetOptionControl(index);
        EXPECT_NE(nullptr, c) << tool.optionBarKey.c_str() << " index " << index;
        return c ? c->item : none;
    }
};

// The tokens an item of each kind takes after its code.
size_t TokensOf(const OptionItem& item)
{
    switch (item.kind) {
    case 'B': case 'P': case 'T': return 2;
    case 'C': case 'O': return 3;
    case 'F': return 6;
    case 'I': return 5;
    case 'L': return 3 + item.entries.size();
    default: return 0;
    }
}

TEST_F(BuiltInBars, EveryToolBarHasTheControlsItsToolReads)
{
    for (const BarShape& bar : PaintingBars) {
        SCOPED_TRACE(bar.key);
        const char* text = BuiltInText(bar.key);
        ASSERT_NE(*text, 0);
        Show(bar.key);
        ASSERT_EQ(OptionControlCount(), int(std::string(bar.kinds).size()));
        OptionBarDescription desc = ParseOptionBar(text);
        EXPECT_FALSE(desc.caption.IsEmpty());
        // Every comma is a token boundary: a comma inside a hint would shift
        // every later item.
        size_t tokens = 1;
        for (const OptionItem& item : desc.items) tokens += 1 + TokensOf(item);
        EXPECT_EQ(tokens, size_t(std::count(text, text + std::strlen(text), ',') + 1));
        for (int i = 0; i < OptionControlCount(); ++i) {
            const OptionItem& item = Item(i);
            EXPECT_EQ(item.kind, bar.kinds[i]) << "index " << i;
            EXPECT_EQ(item.level, 0) << "index " << i;
            EXPECT_TRUE(GetOptionControl(i)->visible);
            EXPECT_FALSE(item.hint.IsEmpty()) << "index " << i;
            if (item.kind == 'I' || item.kind == 'F') {
                EXPECT_LE(item.minimum, item.value) << "index " << i;
                EXPECT_LE(item.value, item.maximum) << "index " << i;
                EXPECT_EQ(GetOptionValue(i), item.value);
            }
            if (item.kind == 'L') {
                EXPECT_GE(item.entries.size(), 2u);
                EXPECT_EQ(GetOptionValue(i), 0);
            }
        }
    }
}

TEST_F(BuiltInBars, LineValuesNeverDivideByZero)
{
    // Counted dabs divide by value - 1 on lines and curves, by value on
    // circles and ellipses; three modes and four arrow sizes besides none.
    for (const char* key : {"LINEBAR", "CURVEBAR"}) {
        Show(key);
        EXPECT_EQ(Item(0).entries.size(), 3u) << key;
        EXPECT_GE(Item(1).minimum, 2) << key;
        EXPECT_EQ(Item(1).value, 2) << key;
        EXPECT_EQ(Item(2).entries.size(), 5u) << key;
    }
    for (const char* key : {"CIRCLEBAR", "ELLIPSEBAR"}) {
        Show(key);
        EXPECT_EQ(Item(0).entries.size(), 3u) << key;
        EXPECT_GE(Item(1).minimum, 1) << key;
        EXPECT_EQ(Item(1).value, 2) << key;
    }
}

TEST_F(BuiltInBars, SprayAndAirbrushStartAtTheSprayRadius)
{
    for (const char* key : {"SPRAYBAR", "AIRBRUSHBAR"}) {
        Show(key);
        EXPECT_GE(Item(1).minimum, 1) << key;  // the steps divide by the radius
        EXPECT_EQ(GetOptionValue(1), 20) << key;
        EXPECT_GE(Item(2).minimum, 1) << key;  // 2 I - 1 dabs a step
        EXPECT_EQ(GetOptionValue(2), 10) << key;
    }
    // The airbrush's blend weight trunc(I x 2.4 + 12) + 2 stays below 256.
    EXPECT_LT(int(Item(2).maximum * 2.4 + 12) + 2, 256);
}

TEST_F(BuiltInBars, TolerancesStayBelowTheFillMark)
{
    for (const char* key : {"SFILLBAR", "PFILLBAR", "CHBAR", "WANDBAR"}) {
        Show(key);
        EXPECT_EQ(Item(0).minimum, 0) << key;
        EXPECT_LT(Item(0).maximum, 1024) << key;  // a marked pixel counts 1024
        EXPECT_GE(Item(0).maximum, 765) << key;   // every colour reachable
    }
    EXPECT_EQ(GetOptionValue(0), 128);  // the wand's start
    Show("PFILLBAR");
    EXPECT_EQ(Item(4).entries.size(), 3u);  // picture, brush, clicked origin
}

TEST_F(BuiltInBars, SizesAnglesAndPercentages)
{
    Show("CUTBAR");
    EXPECT_EQ(GetOptionValue(1), 416);
    EXPECT_EQ(GetOptionValue(2), 312);
    EXPECT_GE(Item(1).minimum, 1);
    EXPECT_GE(Item(1).maximum, 16383);  // doubling stops at 8192 or more
    EXPECT_GE(Item(2).maximum, 16383);
    Show("ROTATEBAR");
    EXPECT_EQ(GetOptionValue(1), 0);
    EXPECT_GT(Item(1).decimals, 0);
    EXPECT_LE(Item(1).minimum, -180);
    EXPECT_GE(Item(1).maximum, 180);
    Show("STRETCHBAR");
    // Negative sizes and percentages mirror; a size of 0 is refused when
    // the picture is stretched.
    EXPECT_LE(Item(0).minimum, -16384);
    EXPECT_LE(Item(1).minimum, -16384);
    EXPECT_EQ(GetOptionValue(2), 100);
    EXPECT_EQ(GetOptionValue(3), 100);
    EXPECT_LT(Item(2).minimum, 0);
    EXPECT_LT(Item(3).minimum, 0);
    EXPECT_EQ(GetOptionValue(4), 1);  // keep proportions at start-up
}

TEST(BuiltInMessages, PaintingKeysReadAsEnglish)
{
    SetLanguageLookup(nullptr);
    const char* keys[] = {
        "Err", "Warn", "NoMem", "BrTooBig", "Changed", "Undo", "Redo", "DelSel", "AABtn", "IBBtn",
        "ContFhandIcon", "DotFhandIcon", "SingleFhandIcon", "CircBrushIcon", "RectBrushIcon", "ClrImageIcon",
        "ResizeBr", "SingleLineIcon", "ContLineIcon", "SingleCurveIcon", "ContCurveIcon", "BoxRectIcon",
        "BoxRectfIcon", "BoxSqrIcon", "BoxSqrfIcon", "CircleIcon", "CirclefIcon", "EllipseIcon", "EllipsefIcon",
        "SolidFillIcon", "PatFillIcon", "ShapefIcon", "PolygonfIcon", "SprayIcon", "ABrushIcon", "CloneIcon",
        "GetColIcon", "ChangeColIcon", "GridIcon", "CutRectIcon", "CutPredefRectIcon", "CutFhandIcon",
        "CutPolygonIcon", "CutWandIcon", "StretchBr", "StretchXBr", "StretchYBr", "BendLRBr", "BendUDBr",
        "ShearLRBr", "ShearUDBr", "TextIcon", "GetAllBr", "GetSelBr", "DoubleBr", "DoubleXBr", "DoubleYBr",
        "HalveBr", "HalveXBr", "HalveYBr", "MirLRBr", "MirTBBr", "Rot90Br", "Rot180Br", "OutlineBr", "ShadBr",
        "ResetBr", "Pen", "ResizeBrush", "ResizeBrush2", "ResizeSpray", "ResizeSpray2", "LnStr", "LnEnd",
        "SplnStr", "SplnEnd", "SplnCtr", "BoxStr", "Box2", "CircleIO", "Circle2", "EllipseIO", "Ellipse2",
        "FillIP", "FillPos", "FillPoly", "SprayIP", "AirBrushIP", "CloneIP", "GetColor", "ChangeColor",
        "GridSet", "CutBrush", "CutBrush2", "CutResize", "CutDraw", "CutPoly", "CutWand", "RotateBrush",
        "RotateBrush2", "StretchBrush", "StretchBrush2", "BendBrush", "BendBrush2", "ShearBrush", "ShearBrush2",
        "TextIP",
    };
    for (const char* key : keys) {
        AnsiString text = Translate(key);
        EXPECT_NE(*BuiltInText(key), 0) << key;
        // Texts fill hints, captions and status panels as they are.
        EXPECT_EQ(text.Pos("\n"), 0) << key;
    }
    // Keys that are English words already stay themselves.
    EXPECT_EQ(Translate("Rotate"), "Rotate");
    EXPECT_EQ(Translate("Untitled"), "Untitled");
}

TEST(BuiltInMessages, ALanguageFileTakesPrecedence)
{
    SetLanguageLookup(
        [](const AnsiString& key) { return key == "SPRAYBAR" ? AnsiString("Spr,I,R,1,9,3,h") : AnsiString(); });
    EXPECT_EQ(Translate("SPRAYBAR"), "Spr,I,R,1,9,3,h");
    EXPECT_EQ(Translate("NoMem"), "Not enough memory for this operation.");  // falls back
    SetLanguageLookup(nullptr);
}

}  // namespace
