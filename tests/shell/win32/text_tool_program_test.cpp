// The text tool in the started program: its hot key and dialog, text in a
// TrueType face from the system's fonts compared with the glyphs GDI draws
// for the same face, outline and shadow, undo, the next block's place, and
// the character set following the input language.
#include <cstring>
#include <set>
#include <utility>

#include "brushes_tools.h"
#include "colconv.h"
#include "mainwindow_fixture.h"
#include "text_tool.h"
#include "textform.h"
#include "undo_settings.h"

namespace {

const char Face[] = "DejaVu Sans";
const int Points = 16;
const unsigned long Red = 0xFF0000, Green = 0x00FF00, Grey = 0x808080;
using Mask = std::set<std::pair<int, int>>;

int ScreenPpi()
{
    HDC screen = GetDC(nullptr);
    int ppi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return ppi;
}

// GDI's own drawing of text in the face, without smoothing: the pixels it
// sets, with the extent box's top-left moved to `at`. Also the extents of
// the text and of "X", for the block's measures.
struct GdiText {
    Mask glyphs;
    SIZE extent{0, 0}, xExtent{0, 0};
};

GdiText DrawWithGdi(const char* text, POINT at)
{
    const int W = 256, H = 96, Margin = 16;
    GdiText out;
    HFONT font = CreateFontA(-MulDiv(Points, ScreenPpi(), 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                             NONANTIALIASED_QUALITY, 0, Face);
    HDC dc = CreateCompatibleDC(nullptr);
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
            if ((p[y * W + x] & 0xFFFFFF) != 0xFFFFFF) out.glyphs.insert({x - Margin + at.x, y - Margin + at.y});
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBmp);
    DeleteObject(bmp);
    DeleteObject(font);
    DeleteDC(dc);
    return out;
}

Mask Shifted(const Mask& m, int dx, int dy)
{
    Mask out;
    for (auto p : m) out.insert({p.first + dx, p.second + dy});
    return out;
}

Mask Without(const Mask& a, const Mask& b)
{
    Mask out;
    for (auto p : a)
        if (!b.count(p)) out.insert(p);
    return out;
}

class TextToolProgram : public MainWindow {
protected:
    TImageForm* f = nullptr;
    std::vector<unsigned long> before;

    void SetUp() override
    {
        TextSet = TextSettings();
        MainWindow::SetUp();
        ASSERT_TRUE(started);
        f = First();
        // The pointer away from the picture: a tool's outline under it is
        // drawn into the picture and would read as a change.
        gui::InputMouseMoveTo(1023, 767);
        SetForegroundWindow(f->GetHandle());
        SetFocus(f->GetHandle());
        gui::PumpUntilIdle();
        AntiAlias = false;
        InstBrush = true;
        SetSwatchColour(MainForm->DrawCol, Red);
        SetSwatchColour(MainForm->BackCol, Green);
        before = Pixels();
    }
    void TearDown() override
    {
        SelectTool(&PenBrushTools().penCont, true, -1);
        InstBrush = false;
        MainWindow::TearDown();
        TextSet = TextSettings();
    }
    std::vector<unsigned long> Pixels() const
    {
        const UDBuffer& p = f->Picture;
        std::vector<unsigned long> v;
        for (int y = p.top; y <= p.bottom; ++y)
            for (int x = p.left; x <= p.right; ++x) v.push_back(*p.At(x, y) & 0xFFFFFF);
        return v;
    }
    // The pixels of one colour that differ from the picture before.
    Mask Changed(unsigned long colour) const
    {
        Mask m;
        std::vector<unsigned long> now = Pixels();
        int w = f->Picture.Width();
        for (size_t i = 0; i < now.size(); ++i)
            if (now[i] != before[i] && (colour == ~0ul || now[i] == colour)) m.insert({int(i) % w, int(i) / w});
        return m;
    }
    // The hot key, pressed in the picture's window.
    void PressT()
    {
        SetForegroundWindow(f->GetHandle());
        SetFocus(f->GetHandle());
        gui::PumpUntilIdle();
        gui::InputKeyStroke('T', 0);
        gui::PumpUntilIdle();
    }
    // The tool through its hot key, the face and the text in the dialog.
    void Type(const char* text, int style)
    {
        if (CurrentTool != &TextTool()) PressT();
        ASSERT_EQ(CurrentTool, &TextTool());
        ASSERT_NE(TextForm, nullptr);
        int face = TextForm->FontType->GetItems()->IndexOf(Face);
        ASSERT_GE(face, 0) << "the test needs the " << Face << " face";
        TextForm->FontType->SetItemIndex(face);
        TextForm->FontSize->SetValue(Points);
        TextForm->TextXPos->SetValue(10);
        TextForm->TextYPos->SetValue(40);
        TextForm->ShDepth->SetValue(2);
        TextForm->ShColor->GetBrush()->SetColor(static_cast<TColor>(Colconv::BSwap(Grey) >> 8));
        TSpeedButton* buttons[] = {TextForm->OutlineBtn, TextForm->ShadowBtn};
        int bits[] = {TextOutline, TextShadow};
        for (int i = 0; i < 2; ++i) buttons[i]->SetDown(style & bits[i]);
        TextForm->TextBox->SetText(text);
        TextForm->FontChanged(TextForm->TextBox);
        gui::PumpUntilIdle();
    }
};

}  // namespace

TEST_F(TextToolProgram, TheDialogStaysOnTopAndComesBackAsItWasLeft)
{
    PressT();
    ASSERT_NE(TextForm, nullptr);
    EXPECT_GE(TextForm->FontType->GetItemIndex(), 0) << "a face is chosen where the usual one is missing";
    Type("Ab", 0);
    EXPECT_TRUE(TextForm->GetVisible());
    EXPECT_TRUE(GetWindowLongA(TextForm->GetHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(TextForm->TextBox->IsRich());
    EXPECT_FALSE(Changed(~0ul).empty()) << "the preview is in the picture";
    // Another tool hides the dialog and takes the preview; what was typed stays.
    SelectTool(&PenBrushTools().penCont, true, -1);
    EXPECT_FALSE(TextForm->GetVisible());
    EXPECT_TRUE(Changed(~0ul).empty());
    PressT();
    EXPECT_EQ(TextForm->TextBox->GetText(), "Ab");
    EXPECT_FALSE(Changed(~0ul).empty());
    TextForm->SetBounds(30, 300, TextForm->GetWidth(), TextForm->GetHeight());
    gui::KeyDown(TextForm, VK_ESCAPE);
    gui::PumpUntilIdle();
    EXPECT_FALSE(TextForm->GetVisible());
    EXPECT_TRUE(Changed(~0ul).empty()) << "closing takes the preview back";
    SelectTool(&PenBrushTools().penCont, true, -1);
    PressT();
    EXPECT_TRUE(TextForm->GetVisible());
    EXPECT_EQ(TextForm->GetLeft(), 30);
    EXPECT_EQ(TextForm->TextBox->GetText(), "Ab");
    EXPECT_EQ(TextForm->FontType->GetItems()->GetStrings(TextForm->FontType->GetItemIndex()), Face);
}

// Without smoothing the text is GDI's glyphs in the drawing colour; the
// shadow adds them moved by the depth, the outline their 3 x 3 spread in
// the background colour; undo takes the text back.
TEST_F(TextToolProgram, TextIsTheFacesGlyphsWithOutlineAndShadowAtTheirOffsets)
{
    struct Case {
        const char* name;
        int style;
    } cases[] = {{"plain", 0}, {"shadow", TextShadow}, {"outline", TextOutline}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Type("Ab", c.style);
        gui::Click(TextForm->OkBtn, 5, 5);
        gui::PumpUntilIdle();
        int o = (c.style & TextOutline) ? 1 : 0, s = (c.style & TextShadow) ? 1 : 0;
        GdiText gdi = DrawWithGdi("Ab", POINT{0, 0});
        int lineHeight = int(gdi.xExtent.cy + 2 * o + 1);
        int w = int(gdi.extent.cx + 2 * o + 2 * s + 0.5), h = 2 * s + 1 + lineHeight;
        int top = 40 - h / 2 + 1;
        Rect block = TextTool().Block();
        EXPECT_EQ(block.left, 10);
        EXPECT_EQ(block.top, top);
        EXPECT_EQ(block.right, 10 + w - 1);
        EXPECT_EQ(block.bottom, 40 + h - h / 2);
        Mask text = Shifted(gdi.glyphs, 10 + o, top + o);
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(Changed(Red), text);
        if (c.style == 0) {
            EXPECT_EQ(Changed(~0ul), text) << "nothing but the glyphs changes";
        }
        if (s) {
            EXPECT_EQ(Changed(Grey), Without(Shifted(text, 2, 2), text));
        }
        if (o) {
            Mask spread;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i) spread.merge(Shifted(text, i, j));
            EXPECT_EQ(Changed(Green), Without(spread, text));
        }
        EXPECT_EQ(TextForm->TextYPos->GetValue(), 40 + h);
        EXPECT_EQ(TextForm->TextBox->GetText(), "");
        ASSERT_TRUE(UDBuffer::Undo(&f->Picture, true));
        EXPECT_TRUE(Changed(~0ul).empty()) << "undo restores the picture";
    }
}

TEST_F(TextToolProgram, WithoutInstantBrushTheTextIsSelectedAndEmptyTextWritesNothing)
{
    InstBrush = false;
    Type("Ab", 0);
    gui::Click(TextForm->OkBtn, 5, 5);
    gui::PumpUntilIdle();
    Mask selected;
    const UDBuffer& p = f->Picture;
    for (int y = p.top; y <= p.bottom; ++y)
        for (int x = p.left; x <= p.right; ++x)
            if (*p.At(x, y) & 0x04000000) selected.insert({x, y});
    EXPECT_EQ(selected, Changed(~0ul));
    EXPECT_TRUE(p.HasSelection());

    long double y = TextForm->TextYPos->GetValue();
    std::vector<unsigned long> written = Pixels();
    Type("", 0);
    TextForm->TextYPos->SetValue(y);
    gui::Click(TextForm->OkBtn, 5, 5);
    gui::PumpUntilIdle();
    EXPECT_EQ(TextForm->TextYPos->GetValue(), y);
    EXPECT_EQ(Pixels(), written);
}

// With smoothing the font is built at twice the size and the block comes
// out the same size within a pixel.
TEST_F(TextToolProgram, SmoothTextUsesTheDoubledFontAndKeepsItsSize)
{
    Type("Ab", 0);
    Rect sharp = TextTool().Block();
    AntiAlias = true;
    TextForm->FontChanged(TextForm->FontSize);
    Rect smooth = TextTool().Block();
    EXPECT_EQ(SharedFont->GetSize(), 2 * Points);
    EXPECT_NEAR(smooth.right - smooth.left, sharp.right - sharp.left, 1);
    EXPECT_NEAR(smooth.bottom - smooth.top, sharp.bottom - sharp.top, 1);
    AntiAlias = false;
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
