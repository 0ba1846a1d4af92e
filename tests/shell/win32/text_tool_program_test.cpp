// The text tool in the started program: its hot key and dialog, text in a
// TrueType face of the system compared with GDI's own drawing of the same
// face, outline and shadow, undo, and the character set following the
// input language.
#include <cstring>

#include "brushes_tools.h"
#include "colconv.h"
#include "mainwindow_fixture.h"
#include "pixel_mask.h"
#include "text_tool.h"
#include "textform.h"
#include "undo_settings.h"

namespace {

const char Face[] = "DejaVu Sans";
const int Points = 16;
const unsigned long Red = 0xFF0000, Green = 0x00FF00, Grey = 0x808080;

// GDI's drawing of text in the face without smoothing: the pixels it sets,
// the extent box's top-left at (0, 0); and the extents of text and "X".
struct GdiText {
    PixelMask glyphs;
    SIZE extent{0, 0}, xExtent{0, 0};
};

GdiText DrawWithGdi(const char* text)
{
    const int W = 256, H = 96, Margin = 16;
    GdiText out;
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(Points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0,
                             ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, Face);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), W, -H, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBmp = SelectObject(dc, bmp), oldFont = SelectObject(dc, font);
    std::memset(bits, 0xFF, W * H * 4);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    ABC abc;
    int overhang = GetCharABCWidthsA(dc, UINT(text[0]), UINT(text[0]), &abc) && abc.abcA < 0 ? -abc.abcA : 0;
    TextOutA(dc, Margin + overhang, Margin, text, int(std::strlen(text)));
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &out.extent);
    GetTextExtentPoint32A(dc, "X", 1, &out.xExtent);
    GdiFlush();
    const unsigned* p = static_cast<const unsigned*>(bits);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if ((p[y * W + x] & 0xFFFFFF) != 0xFFFFFF) out.glyphs.insert({x - Margin, y - Margin});
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteObject(font);
    DeleteDC(dc);
    return out;
}

class TextToolProgram : public MainWindow {
protected:
    TImageForm* f = nullptr;
    Buffer before;

    void SetUp() override
    {
        TextSet = TextSettings();
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        f = First();
        // The pointer away from the picture: a tool's outline under it is
        // drawn into the picture and would read as a change.
        gui::InputMouseMoveTo(1023, 767);
        gui::PumpUntilIdle();
        HideOutline();
        AntiAlias = false;
        InstBrush = true;
        SetSwatchColour(MainForm->DrawCol, Red);
        SetSwatchColour(MainForm->BackCol, Green);
        before.Alloc(Pair<int>{f->Picture.Width(), f->Picture.Height()});
        before.Copy(f->Picture, Pair<int>{0, 0}, 0xFFFFFFFF);
    }
    void TearDown() override
    {
        SelectTool(&PenBrushTools().penCont, true, -1);
        InstBrush = false;
        MainWindow::TearDown();
        TextSet = TextSettings();
    }
    // The pixels of a colour (any, for ~0) that differ from before.
    PixelMask Changed(unsigned long colour) const
    {
        PixelMask m;
        for (int y = before.top; y <= before.bottom; ++y)
            for (int x = before.left; x <= before.right; ++x) {
                unsigned long now = *f->Picture.At(x, y) & 0xFFFFFF;
                if (now != (*before.At(x, y) & 0xFFFFFF) && (colour == ~0ul || now == colour)) m.insert({x, y});
            }
        return m;
    }
    // The hot key, pressed in the picture's window.
    void PressT()
    {
        FocusWindow(f);
        gui::InputKeyStroke('T', 0);
        gui::PumpUntilIdle();
    }
    void Type(const char* text, int style)
    {
        if (CurrentTool != &TextTool()) PressT();
        ASSERT_EQ(CurrentTool, &TextTool());
        int face = TextForm->FontType->GetItems()->IndexOf(Face);
        ASSERT_GE(face, 0) << "the test needs the " << Face << " face";
        TextForm->FontType->SetItemIndex(face);
        TextForm->FontSize->SetValue(Points);
        TextForm->TextXPos->SetValue(10);
        TextForm->TextYPos->SetValue(40);
        TextForm->ShDepth->SetValue(2);
        TextForm->ShColor->GetBrush()->SetColor(static_cast<TColor>(Colconv::BSwap(Grey) >> 8));
        TextForm->OutlineBtn->SetDown(style & TextOutline);
        TextForm->ShadowBtn->SetDown(style & TextShadow);
        TextForm->TextBox->SetText(text);
        TextForm->FontChanged(TextForm->TextBox);
        gui::PumpUntilIdle();
    }
};

}  // namespace

// Mended: the usual face is missing here, another is chosen; another tool
// hiding the dialog keeps what was typed; closing takes the preview back.
TEST_F(TextToolProgram, TheDialogStaysOnTopAndComesBackAsItWasLeft)
{
    PressT();
    ASSERT_NE(TextForm, nullptr);
    EXPECT_GE(TextForm->FontType->GetItemIndex(), 0);
    Type("Ab", 0);
    EXPECT_TRUE(GetWindowLongA(TextForm->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(TextForm->TextBox->IsRich());
    EXPECT_FALSE(Changed(~0ul).empty()) << "the preview is in the picture";
    SelectTool(&PenBrushTools().penCont, true, -1);
    EXPECT_FALSE(TextForm->GetVisible());
    EXPECT_TRUE(Changed(~0ul).empty());
    PressT();
    EXPECT_EQ(TextForm->TextBox->GetText(), "Ab");
    TextForm->SetBounds(30, 300, TextForm->GetWidth(), TextForm->GetHeight());
    gui::KeyDown(TextForm, VK_ESCAPE);
    gui::PumpUntilIdle();
    EXPECT_FALSE(TextForm->GetVisible());
    EXPECT_TRUE(Changed(~0ul).empty());
    SelectTool(&PenBrushTools().penCont, true, -1);
    PressT();
    EXPECT_EQ(TextForm->GetLeft(), 30);
    EXPECT_EQ(TextForm->FontType->GetItems()->GetStrings(TextForm->FontType->GetItemIndex()), Face);
}

// Without smoothing the text is GDI's glyphs in the drawing colour; the
// shadow adds them moved by the depth, the outline their 3 x 3 spread in
// the background colour; the next text goes one text height lower; undo
// takes the text back.
TEST_F(TextToolProgram, TextIsTheFacesGlyphsWithOutlineAndShadowAtTheirOffsets)
{
    GdiText gdi = DrawWithGdi("Ab");
    for (int style : {0, int(TextShadow), int(TextOutline)}) {
        SCOPED_TRACE(style);
        Type("Ab", style);
        gui::Click(TextForm->OkBtn, 5, 5);
        gui::PumpUntilIdle();
        int o = (style & TextOutline) ? 1 : 0, s = (style & TextShadow) ? 1 : 0;
        int w = int(gdi.extent.cx + 2 * o + 2 * s), h = 2 * s + 1 + int(gdi.xExtent.cy + 2 * o + 1);
        int top = 40 - h / 2 + 1;
        Rect block = TextTool().Block();
        EXPECT_TRUE(block.left == 10 && block.top == top && block.right == 10 + w - 1 && block.bottom == 40 + h - h / 2);
        PixelMask text = ShiftedMask(gdi.glyphs, 10 + o, top + o);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(Changed(Red), text);
        EXPECT_EQ(Changed(Grey), s ? MaskWithout(ShiftedMask(text, 2, 2), text) : PixelMask());
        EXPECT_EQ(Changed(Green), o ? MaskWithout(SpreadMask(text), text) : PixelMask());
        if (style == 0) {
            EXPECT_EQ(Changed(~0ul), text) << "nothing but the glyphs changes";
        }
        EXPECT_EQ(TextForm->TextYPos->GetValue(), 40 + h);
        EXPECT_EQ(TextForm->TextBox->GetText(), "");
        ASSERT_TRUE(UDBuffer::Undo(&f->Picture, true));
        EXPECT_TRUE(Changed(~0ul).empty()) << "undo restores the picture";
    }
}

TEST_F(TextToolProgram, AnInputLanguageChangeSetsTheTextFontsCharacterSet)
{
    Type("Ab", 0);
    struct Case {
        HWND window;
        int charset;
    } cases[] = {{TextForm->GetHandle(), 204}, {f->GetHandle(), 161}, {TextForm->GetHandle(), 0}};
    for (const Case& c : cases) {
        PostMessageA(c.window, WM_INPUTLANGCHANGE, WPARAM(c.charset), 0);
        gui::PumpUntilIdle();
        EXPECT_EQ(SharedFont->GetCharset(), c.charset);
    }
}
