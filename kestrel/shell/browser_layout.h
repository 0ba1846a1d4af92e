// The browser's grid arithmetic: four columns of 140 x 120 pixel places,
// which places are visible for a scroll position, how far the bar goes,
// and how a picture fits a 120 x 90 thumbnail.
#ifndef KESTREL_BROWSER_LAYOUT_H
#define KESTREL_BROWSER_LAYOUT_H

#include <string>

enum : int {
    BrowserCells = 20,
    BrowserColumns = 4,
    BrowserColumnPitch = 140,
    BrowserRowPitch = 120,
    BrowserScrollStep = 4,  // panel pixels per scroll-bar unit
};

struct BrowserSize {
    int width, height;
};

struct BrowserRange {
    int first, last;
};

// The thumbnail of a picture: scaled by min(120 / W, 90 / H), each side
// truncated and at least 1. Worked in integers, so that a side meant to be
// exactly 120 or 90 never comes out one short.
BrowserSize ThumbnailSize(int width, int height);

// Top-left of the thumbnail place of entry n, and the top of its caption.
int CellLeft(int n);
int CellTop(int n);
int CellCaptionTop(int n);

int PanelHeight(int entries);
int ScrollBarMax(int panelHeight, int viewHeight);
// Entries whose rows the view shows with the panel scrolled to panelTop
// (0 or negative); last may pass the last entry.
BrowserRange VisibleRange(int panelTop, int viewHeight);

// "C:\" and the like: no parent entry there.
bool IsDriveRoot(const std::string& folder);
// The last name of a folder path, without separators.
std::string LastFolderName(const std::string& folder);

#endif
