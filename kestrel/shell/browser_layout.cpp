#include "browser_layout.h"

BrowserSize ThumbnailSize(int width, int height)
{
    if (width < 1 || height < 1) return BrowserSize{0, 0};
    long long w = width, h = height;
    BrowserSize s;
    if (120 * h <= 90 * w) {  // 120 / W is the smaller factor
        s.width = 120;
        s.height = int(h * 120 / w);
    } else {
        s.width = int(w * 90 / h);
        s.height = 90;
    }
    if (s.width < 1) s.width = 1;
    if (s.height < 1) s.height = 1;
    return s;
}

int CellLeft(int n) { return (n % BrowserColumns) * BrowserColumnPitch + 4; }
int CellTop(int n) { return (n / BrowserColumns) * BrowserRowPitch + 4; }
int CellCaptionTop(int n) { return (n / BrowserColumns) * BrowserRowPitch + 100; }

int PanelHeight(int entries) { return (entries + BrowserColumns - 1) / BrowserColumns * BrowserRowPitch; }

int ScrollBarMax(int panelHeight, int viewHeight)
{
    int rest = panelHeight - viewHeight;
    return rest > 0 ? rest / BrowserScrollStep : 0;
}

BrowserRange VisibleRange(int panelTop, int viewHeight)
{
    BrowserRange r;
    r.first = (-panelTop) / BrowserRowPitch * BrowserColumns;
    r.last = (viewHeight - panelTop - 9) / BrowserRowPitch * BrowserColumns + 3;
    return r;
}

bool IsDriveRoot(const std::string& folder)
{
    return (folder.size() == 3 && folder[1] == ':' && folder[2] == '\\') || folder == "\\" || folder == "/";
}

std::string LastFolderName(const std::string& folder)
{
    std::string f = folder;
    while (!f.empty() && (f.back() == '\\' || f.back() == '/')) f.pop_back();
    size_t cut = f.find_last_of("\\/:");
    return cut == std::string::npos ? f : f.substr(cut + 1);
}
