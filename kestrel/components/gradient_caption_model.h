// The gradient caption's geometry and colours, without Windows: the frame
// and caption sizes for a border style, which caption buttons show, where
// they stand, the bands of the gradient and the system menu's item states.
// All rectangles are in window coordinates (0,0 = the window's top left).
#ifndef KESTREL_GRADIENT_CAPTION_MODEL_H
#define KESTREL_GRADIENT_CAPTION_MODEL_H

#include "geometry.h"

// Same order as the class library's TFormBorderStyle.
enum TCapBorder { cbNone, cbSingle, cbSizeable, cbDialog, cbToolWindow, cbSizeToolWin };

// Same bits as the class library's TBorderIcons.
enum : unsigned { capSystemMenu = 1, capMinimize = 2, capMaximize = 4, capHelp = 8 };

// Caption button kinds, in the order the component keeps them.
enum TCapButtonKind { cbkClose = 0, cbkMinimize = 1, cbkMaximize = 2, cbkHelp = 3 };

// System metrics the layout needs (GetSystemMetrics values).
struct TCapMetrics {
    int DlgFrameX = 3;
    int DlgFrameY = 3;
    int FrameX = 4;
    int FrameY = 4;
    int CaptionHeight = 19;   // SM_CYCAPTION
    int SmCaptionHeight = 16; // SM_CYSMCAPTION
    int ButtonWidth = 18;     // SM_CXSIZE
    int ButtonHeight = 18;    // SM_CYSIZE
};

struct TCapLayoutInput {
    TCapBorder Border = cbSizeable;
    unsigned BorderIcons = capSystemMenu | capMinimize | capMaximize;
    // The style the form had before the component took WS_SYSMENU away.
    bool HadSystemMenu = true;
    bool HasCaption = true;
    bool Minimized = false;
    int WindowWidth = 0;
    int WindowHeight = 0;
    TCapMetrics Metrics;
};

struct TCapButtonLayout {
    bool Visible = false;
    bool Enabled = true;
    TRect Rect;
};

struct TCapLayout {
    int FrameX = 0;
    int FrameY = 0;
    int CaptionHeight = 0;
    TRect Caption;
    TRect Icon;  // empty when the form shows no icon
    TRect Text;
    TCapButtonLayout Buttons[4];  // by TCapButtonKind
};

TCapLayout LayoutCaption(const TCapLayoutInput& In);

// Windows' MulDiv: a * b / c rounded half away from zero, -1 when c is 0.
int CapMulDiv(int a, int b, int c);

// Band i of n across [left, right): [First, Last).
struct TCapSpan {
    int First;
    int Last;
};
TCapSpan GradientBand(int i, int n, int left, int right);

// Colour of band i of n from begin to end (0x00BBGGRR, each channel
// separately); n = 1 gives begin. Raises std::invalid_argument for n < 1 or
// i outside 0..n-1.
unsigned GradientBandColor(unsigned beginRGB, unsigned endRGB, int i, int n);

// Which items of the system menu are enabled, and which is the default.
struct TCapSysMenuState {
    bool Restore = false;
    bool Move = true;
    bool Size = true;
    bool Minimize = true;
    bool Maximize = true;
    bool Close = true;
    bool RestoreIsDefault = false;  // else Close
};
TCapSysMenuState SystemMenuState(bool minimized, bool maximized, const TCapButtonLayout& minButton,
                                 const TCapButtonLayout& maxButton);

// A pointer at (x, y) still counts as over a pressed button: 2 pixels of
// slack above and below, and to the right for the close button.
bool CapButtonHit(const TRect& r, TCapButtonKind kind, int x, int y);

#endif
