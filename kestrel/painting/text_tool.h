// The text tool: multi-line text in a font of the system, written into the
// current picture with an optional outline (background colour) and drop
// shadow, stretched by two percentages and anti-aliased by supersampling.
// While the tool is current its dialog (the shell's text form) holds the
// settings and a preview is drawn into the picture, the pixels below kept
// aside; OK writes the text for good as one undo step.
//
// The glyphs come through TextGlyphs, so that the measures and the order of
// the drawing passes do not depend on how a font is rendered.
#ifndef KESTREL_TEXT_TOOL_H
#define KESTREL_TEXT_TOOL_H

#include <functional>
#include <vector>

#include "ansistring.h"
#include "buffer.h"
#include "tool.h"

// Style bits of the text settings.
enum : int { TextBold = 1, TextItalic = 2, TextUnderline = 4, TextOutline = 8, TextShadow = 16 };

// Kept between uses of the dialog for the run.
struct TextSettings {
    AnsiString text;
    int fontIndex = -1;  // in the dialog's font list; -1: none chosen yet
    int size = 16;
    int style = 0;
    unsigned long shadowColour = 0x808080;  // a system colour value
    int depth = 2;
    double sizeX = 100, sizeY = 100;  // percent
    int x = 0, y = 0;                 // y is the middle row of the text block
    int dialogLeft = -1, dialogTop = -1;  // -1: centred
};
extern TextSettings TextSet;

// What the dialog shows now: the text, where and how it is drawn.
struct TextDraft {
    AnsiString text;
    int style = 0;
    unsigned long shadowColour = 0x808080;  // a pixel value
    int depth = 2;
    double sizeX = 100, sizeY = 100;
    int x = 0, y = 0;
};

struct TextFontSpec {
    AnsiString name;  // at most 31 characters
    int size = 16;    // points, already doubled for anti-aliasing
    int style = 0;    // bold, italic and underline bits
    int charset = 0;
};

class TextGlyphs {
public:
    virtual ~TextGlyphs() = default;
    virtual void SetFont(const TextFontSpec& spec) = 0;
    // (0, 0) for an empty string.
    virtual Pair<int> Extent(AnsiString& s) = 0;
    // Only glyph pixels change, to exactly colour; pos is the extent box's
    // top-left.
    virtual void Draw(Buffer& dest, Pair<int> pos, AnsiString& s, unsigned long colour) = 0;
};

// The factors of the measures: f 2 with anti-aliasing (the font is built at
// twice the size), o 1 with an outline, s 1 with a shadow of depth d.
struct TextLook {
    double sizeX = 100, sizeY = 100;
    int f = 1, o = 0, s = 0, d = 0;
};
TextLook TextLookOf(const TextDraft& draft, bool antiAlias);

// Lines end at "\r\n"; an empty text has none.
std::vector<AnsiString> SplitTextLines(const AnsiString& text);
int MeasureTextWidth(std::vector<AnsiString>& lines, const TextLook& look, TextGlyphs& glyphs);
int MeasureLineHeight(const TextLook& look, TextGlyphs& glyphs);
int MeasureTextHeight(std::vector<AnsiString>& lines, const TextLook& look, TextGlyphs& glyphs);
// The block of w x h whose middle row is y: (x, y - h div 2 + 1) to
// (x + w - 1, y + h - h div 2).
Rect TextBlockRect(int x, int y, int w, int h);

struct TextColours {
    unsigned long fore, back, shadow;
};
// Draws the lines from `top` down into dest: shadow, outline, then the text.
void RenderText(Buffer& dest, std::vector<AnsiString>& lines, int x, int top, const TextLook& look,
                TextGlyphs& glyphs, const TextColours& colours, bool antiAlias);

// What the text tool asks of its dialog, which the shell builds.
struct TextToolHostServices {
    // Shows the dialog (made on first use), its controls restored.
    std::function<void()> showDialog;
    std::function<void()> hideDialog;
    // The dialog's change handler: reads every control and hands the
    // result to P_text::Changed.
    std::function<void()> fontChanged;
    // Writes a clicked point into the position controls.
    std::function<void(int x, int y)> placeText;
};
extern TextToolHostServices TextToolHost;

class P_text : public P_icon {
public:
    P_text();

    // While set, the dialog's change handler does nothing: the tool's own
    // writes into the controls draw no preview.
    unsigned char quiet = 0;

    void Click() override;
    void Activate() override;
    void Deactivate(P_icon* next) override;

    void SetGlyphs(TextGlyphs* glyphs) { glyphs_ = glyphs; }
    // The dialog changed: the preview goes, the font and the draft are
    // taken, and the preview is drawn again.
    void Changed(const TextDraft& draft, const TextFontSpec& font);
    // Writes the text for good, as the step "TextIcon" (after the dropped
    // selection's own step). Answers how far the next text goes down: the
    // text's height, 0 when nothing was written.
    int Write();
    // Takes the preview out of the picture (the dialog was closed).
    void HidePreview();
    const TextDraft& Draft() const { return draft_; }
    // The text block of the last drawing; empty when nothing was drawn.
    Rect Block() const { return block_; }

private:
    bool DrawText(bool final);
    void ErasePreview();
    void FreeSaved();
    bool SaveUnder(Rect r);
    void SelectChangedPixels();

    TextDraft draft_;
    TextGlyphs* glyphs_ = nullptr;
    Buffer saved_;          // the picture under the block, clipped to it
    Pair<int> savedAt_{0, 0};
    const void* savedFrom_ = nullptr;  // the picture the preview is in
    Rect block_{0, 0, -1, -1};
};

P_text& TextTool();

#endif
