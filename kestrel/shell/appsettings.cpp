#include "appsettings.h"

#include <algorithm>
#include "imagewindow_host.h"
#include "messages.h"
#include "sysutils.h"
#include "undo_settings.h"
#include "userlevel.h"

TAppSettings AppSettings;

long long DefaultUndoMemKB(unsigned long long physicalBytes)
{
    return static_cast<long long>(std::min<unsigned long long>(physicalBytes / 1024 / 3, MaxUndoKB));
}

long long DefaultUndoDiskKB(long long freeBytes)
{
    if (freeBytes < 0) return 0;
    return std::min(freeBytes / 1024 / 3, MaxUndoKB);
}

AnsiString FreeSpaceText(long long freeBytes)
{
    if (freeBytes < 0) return Translate("N/A");
    return IntToStr(freeBytes / (1024 * 1024)) + " MB";
}

AnsiString WithTrailingSeparator(const AnsiString& dir)
{
    if (dir.IsEmpty()) return dir;
    char last = dir[dir.Length()];
    return last == '\\' || last == '/' ? dir : dir + "\\";
}

void ClampAppSettings(TAppSettings& s)
{
    s.Palette = std::max(8, std::min(256, s.Palette));
    s.Palette -= s.Palette % 4;
    s.MRUFiles = std::max(0, std::min(16, s.MRUFiles));
    s.Level = std::max(0, std::min(1, s.Level));
    s.TODIndex = std::max(0, s.TODIndex);
    s.DefFileExt = std::max(0, s.DefFileExt);
}

void ApplySettingsToCore(const TAppSettings& s)
{
    UndoSettings.memKB = std::max(0LL, s.UndoMem);
    UndoSettings.diskKB = std::max(0LL, s.UndoDisk);
    UndoSettings.dir = s.UndoDir;
    InstBrush = s.InstBrush;
    Level = s.Level;
    AlwaysDock = s.AlwaysDock;
    ResizeNeigh = s.ResizeNeigh;
}
