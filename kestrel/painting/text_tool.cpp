#include "text_tool.h"

#include <algorithm>

#include "drawtools_common.h"
#include "exceptions.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "programpictures.h"
#include "selection_trace.h"
#include "undo_settings.h"

TextSettings TextSet;
TextToolHostServices TextToolHost;

namespace {

Rect Intersect(Rect a, Rect b)
{
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmpty(Rect r) { return r.right < r.left || r.bottom < r.top; }

}  // namespace

P_text::P_text()
{
    flags = 0;
    undoAtPress = 0;
    dropSelectionAtPress = 0;
    helpContext = 3100;
    iconKey = "TextIcon";
}

P_text& TextTool()
{
    static P_text tool;
    return tool;
}

void P_text::Activate()
{
    statusText = Translate("TextIP");
    if (TextToolHost.showDialog) TextToolHost.showDialog();
    FreeSaved();
    quiet = 0;
    if (TextToolHost.fontChanged) TextToolHost.fontChanged();
}

void P_text::Deactivate(P_icon*)
{
    if (TextToolHost.hideDialog) TextToolHost.hideDialog();
    ErasePreview();
    FreeSaved();
}

void P_text::HidePreview()
{
    ErasePreview();
    FreeSaved();
}

// A click brings a closed dialog back, with the text at the point.
void P_text::Click()
{
    if (TextToolHost.showDialog) TextToolHost.showDialog();
    ErasePreview();
    quiet = 1;
    draft_.x = MousePoint.x;
    draft_.y = MousePoint.y;
    try {
        if (TextToolHost.placeText) TextToolHost.placeText(MousePoint.x, MousePoint.y);
    } catch (...) {
        quiet = 0;
        throw;
    }
    quiet = 0;
    DrawText(false);
}

void P_text::Changed(const TextDraft& draft, const TextFontSpec& font)
{
    ErasePreview();
    draft_ = draft;
    if (glyphs_) glyphs_->SetFont(font);
    DrawText(false);
}

int P_text::Write()
{
    ErasePreview();
    UDBuffer* pic = CurrentPicture;
    if (!pic || !pic->pixels) return 0;
    if (!pic->DropSelection(true)) return 0;
    if (!UDBuffer::SaveUndo(pic, iconKey, nullptr, pic->left, pic->top, pic->right, pic->bottom)) return 0;
    ResetDirtyRect();
    bool drawn = DrawText(true);
    CropUndoToDirtyRect();
    CountDirtyChange();
    FreeSaved();
    int moved = drawn ? block_.bottom - block_.top + 1 : 0;
    draft_.y += moved;
    draft_.text = AnsiString();
    return moved;
}

// The preview (final false) or the text for good. False when nothing was
// drawn: no text, no glyphs, or no room to keep the pixels below.
bool P_text::DrawText(bool final)
{
    block_ = Rect{0, 0, -1, -1};
    std::vector<AnsiString> lines = SplitTextLines(draft_.text);
    UDBuffer* pic = CurrentPicture;
    if (lines.empty() || !glyphs_ || !pic || !pic->pixels) return false;
    TextLook look = TextLookOf(draft_, AntiAlias);
    int w = MeasureTextWidth(lines, look, *glyphs_), h = MeasureTextHeight(lines, look, *glyphs_);
    Rect block = TextBlockRect(draft_.x, draft_.y, w, h);
    if (!SaveUnder(block)) return false;
    block_ = block;
    TextColours colours{ForeColour(), BackColour(), draft_.shadowColour};
    RenderText(WorkView, lines, block.left, block.top, look, *glyphs_, colours, AntiAlias);
    InvalidatePictureRect(block.left, block.top, block.right + 1, block.bottom + 1);
    if (!final) UpdateView();
    Rect touched = Intersect(block, pic->GetRect());
    if (!IsEmpty(touched)) ExtendDirtyRect(touched.left, touched.top, touched.right, touched.bottom);
    if (final && !InstBrush) SelectChangedPixels();
    return true;
}

// The pixels below the block, clipped to the picture; an empty copy when
// the block lies outside it.
bool P_text::SaveUnder(Rect r)
{
    UDBuffer* pic = CurrentPicture;
    Rect kept = Intersect(r, pic->GetRect());
    FreeSaved();
    if (IsEmpty(kept)) {
        savedFrom_ = pic;
        return true;
    }
    try {
        saved_.Alloc(Pair<int>{kept.right - kept.left + 1, kept.bottom - kept.top + 1});
    } catch (EOutOfMemory&) {
        return false;
    }
    saved_.Copy(*pic, Pair<int>{-kept.left, -kept.top}, 0xFFFFFFFF);
    savedAt_ = Pair<int>{kept.left, kept.top};
    savedFrom_ = pic;
    return true;
}

void P_text::ErasePreview()
{
    UDBuffer* pic = CurrentPicture;
    if (!savedFrom_ || savedFrom_ != pic) return;
    if (saved_.pixels) {
        pic->Copy(saved_, savedAt_, 0xFFFFFFFF);
        InvalidatePictureRect(savedAt_.x, savedAt_.y, savedAt_.x + saved_.Width(), savedAt_.y + saved_.Height());
    }
    savedFrom_ = nullptr;
}

void P_text::FreeSaved()
{
    saved_.Free();
    savedFrom_ = nullptr;
}

// Only pixels that really changed are selected, and the selection box is
// theirs: a text that changed nothing leaves no selection behind.
void P_text::SelectChangedPixels()
{
    UDBuffer* pic = CurrentPicture;
    if (!saved_.pixels) return;
    Rect box{saved_.right + 1, saved_.bottom + 1, -1, -1};
    for (int y = saved_.top; y <= saved_.bottom; ++y) {
        for (int x = saved_.left; x <= saved_.right; ++x) {
            unsigned long* p = pic->At(x + savedAt_.x, y + savedAt_.y);
            if (*p == *saved_.At(x, y)) continue;
            *p |= SelectedBit;
            box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    if (box.right < 0) return;
    pic->selMinX = box.left + savedAt_.x;
    pic->selMinY = box.top + savedAt_.y;
    pic->selMaxX = box.right + savedAt_.x;
    pic->selMaxY = box.bottom + savedAt_.y;
    pic->TraceSelection();
    pic->ScaleSelectionPath();
}
