#include "colourtools.h"

#include <cstdio>
#include <cstdlib>

#include "messages.h"
#include "optionbar.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "picture_document.h"
#include "pictureview.h"
#include "tool_host.h"
#include "toolbox_host.h"

static const unsigned RightButtonBit = 16;  // ssRight of the shift state
static const int StatusColourPanel = 2;
static const int ToleranceOption = 0;
static const unsigned long MarkBit = 0x02000000;

static bool PixelUnderPointer(unsigned long& pixel)
{
    UDBuffer* pic = CurrentPicture;
    int x = MousePoint.x, y = MousePoint.y;
    if (!pic || !pic->pixels || x < pic->left || x > pic->right || y < pic->top || y > pic->bottom) return false;
    pixel = *pic->At(x, y);
    return true;
}

static void ShowColourReadout()
{
    unsigned long p;
    if (!PixelUnderPointer(p)) return;
    char text[48];
    std::snprintf(text, sizeof text, "R:%lu G:%lu B:%lu", (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    SetImageStatusText(StatusColourPanel, text);
}

// ---- the pipette

P_get_col::P_get_col()
{
    flags = ToolOneShot;
    dropSelectionAtPress = 0;
    gridSnap = 0;
    clickSteps = 1;
    cursor = -37;
    helpContext = 3200;
    iconKey = "GetColIcon";
}

void P_get_col::Activate() { statusText = Translate("GetColor"); }

void P_get_col::DrawOutline() { ShowColourReadout(); }

void P_get_col::Click()
{
    unsigned long p;
    if (!PixelUnderPointer(p)) return;
    if (ToolBoxHost.pickColour) ToolBoxHost.pickColour((MouseShift & RightButtonBit) != 0, p & 0xFFFFFF);
}

// ---- the colour changer

P_ch_col::P_ch_col()
{
    undoAtPress = 1;
    gridSnap = 0;
    clickSteps = 1;
    cursor = -37;
    helpContext = 3300;
    optionBarKey = "CHBAR";
    iconKey = "ChangeColIcon";
}

void P_ch_col::Activate()
{
    statusText = Translate("ChangeColor");
    SetOptionValue(ToleranceOption, tolerance);
}

void P_ch_col::Deactivate(P_icon*) { tolerance = int(GetOptionValue(ToleranceOption)); }

void P_ch_col::DrawOutline() { ShowColourReadout(); }

void P_ch_col::Click()
{
    unsigned long seed;
    if (!PixelUnderPointer(seed)) {
        // Nothing changes: the press's step would undo nothing.
        if (CurrentPicture) UDBuffer::DropUndo(CurrentPicture);
        return;
    }
    unsigned long colour = (MouseShift & RightButtonBit) ? BackColour() : ForeColour();
    ResetDirtyRect();
    ChangeColour(seed, colour, int(GetOptionValue(ToleranceOption)));
    SetImageStatusText(StatusColourPanel, AnsiString());
    UDBuffer* pic = CurrentPicture;
    if (DirtyRectIsEmpty()) {
        UDBuffer::DropUndo(pic);
        return;
    }
    ++pic->modified;
    UDBuffer::ShrinkUndo(pic, DirtyRect.left, DirtyRect.top, DirtyRect.right, DirtyRect.bottom);
    RepaintPictureView(pic);
}

static int Distance(unsigned long a, unsigned long b)
{
    if ((a | b) & MarkBit) return 1024;
    int d = 0;
    for (int shift = 0; shift <= 16; shift += 8) d += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    return d;
}

void ChangeColour(unsigned long seed, unsigned long colour, int tolerance)
{
    SetVisibleClip();
    if (!WorkView.pixels) return;
    const Rect v = WorkView.GetRect();
    // Row by row: the view's rows are apart by the picture's stride.
    for (int y = v.top; y <= v.bottom; ++y)
        for (int x = v.left; x <= v.right; ++x) {
            unsigned long* p = WorkView.At(x, y);
            if (Distance(*p, seed) > tolerance) continue;
            *p = colour;
            ExtendDirtyRect(x, y, x, y);
        }
}
