#include "settings_registry.h"

#include "exceptions.h"
#include "registry.h"
#include "winapi.h"

const char* const SettingsBaseKey = "Software\\Corvane\\KS\\";

namespace {

// A value that is missing or of another type keeps the field as it is.
void Read(TRegistry& reg, const char* name, bool& field)
{
    try {
        field = reg.ReadBool(name);
    } catch (const ERegistryException&) {
    }
}

void Read(TRegistry& reg, const char* name, int& field)
{
    try {
        field = reg.ReadInteger(name);
    } catch (const ERegistryException&) {
    }
}

void Read(TRegistry& reg, const char* name, AnsiString& field)
{
    try {
        field = reg.ReadString(name);
    } catch (const ERegistryException&) {
    }
}

// Kilobytes; a missing or negative value (a wrapped figure of an older
// version) leaves the field to be computed.
void ReadKB(TRegistry& reg, const char* name, long long& field)
{
    int value = -1;
    Read(reg, name, value);
    if (value >= 0) field = value;
}

void ReadPlacement(TAppSettings& s, const AnsiString& baseKey)
{
    TRegistry reg;
    s.PlacementKnown = false;
    if (!reg.OpenKey(baseKey + "MainForm", true)) return;
    try {
        int left = reg.ReadInteger("Left"), top = reg.ReadInteger("Top");
        bool maximized = reg.ReadBool("Maximized");
        s.Left = left;
        s.Top = top;
        s.Maximized = maximized;
        s.PlacementKnown = true;
    } catch (const ERegistryException&) {
        // First start: the main window takes its first-run placement.
    }
}

void ReadPreferences(TAppSettings& s, TRegistry& reg)
{
    Read(reg, "Clipping", s.Clipping);
    Read(reg, "OptimBrush", s.OptimBrush);
    Read(reg, "InstBrush", s.InstBrush);
    Read(reg, "AntiAlias", s.AntiAlias);
    Read(reg, "FixRefresh", s.FixRefresh);
    Read(reg, "ResizeNeigh", s.ResizeNeigh);
    Read(reg, "AlwaysDock", s.AlwaysDock);
    Read(reg, "FlatIcons", s.FlatIcons);
    Read(reg, "StartMax", s.StartMax);
    Read(reg, "Palette", s.Palette);
    Read(reg, "BackupFiles", s.BackupFiles);
    Read(reg, "AutoLoadPalette", s.AutoLoadPalette);
    Read(reg, "AutoReload", s.AutoReload);
    Read(reg, "CacheThumbs", s.CacheThumbs);
    Read(reg, "Language", s.Language);
    Read(reg, "Level", s.Level);
    Read(reg, "MRUFiles", s.MRUFiles);
    bool haveDir = reg.ValueExists("UndoDir");
    Read(reg, "UndoDir", s.UndoDir);
    ReadKB(reg, "UndoMem", s.UndoMem);
    ReadKB(reg, "UndoDisk", s.UndoDisk);
    Read(reg, "UseKSC", s.UseKSC);
    Read(reg, "UseAdobe", s.UseAdobe);
    Read(reg, "AdobeLoc", s.AdobeLoc);
    Read(reg, "ShowTOD", s.ShowTOD);
    Read(reg, "TODIndex", s.TODIndex);
    Read(reg, "DefFileExt", s.DefFileExt);
    if (!haveDir) s.UndoDir = SystemTempPath();
}

void ComputeMissingUndoLimits(TAppSettings& s)
{
    if (s.UndoMem < 0) s.UndoMem = DefaultUndoMemKB(PhysicalMemoryBytes());
    if (s.UndoDisk < 0) s.UndoDisk = DefaultUndoDiskKB(FreeDiskBytes(s.UndoDir));
}

int RegistryKB(long long kb) { return kb < 0 ? 0 : kb > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(kb); }

void WritePreferences(const TAppSettings& s, TRegistry& reg)
{
    reg.WriteBool("Clipping", s.Clipping);
    reg.WriteBool("OptimBrush", s.OptimBrush);
    reg.WriteBool("InstBrush", s.InstBrush);
    reg.WriteBool("AntiAlias", s.AntiAlias);
    reg.WriteBool("FixRefresh", s.FixRefresh);
    reg.WriteBool("ResizeNeigh", s.ResizeNeigh);
    reg.WriteBool("AlwaysDock", s.AlwaysDock);
    reg.WriteBool("FlatIcons", s.FlatIcons);
    reg.WriteBool("StartMax", s.StartMax);
    reg.WriteInteger("Palette", s.Palette);
    reg.WriteBool("BackupFiles", s.BackupFiles);
    reg.WriteBool("AutoLoadPalette", s.AutoLoadPalette);
    reg.WriteBool("AutoReload", s.AutoReload);
    reg.WriteBool("CacheThumbs", s.CacheThumbs);
    reg.WriteInteger("Level", s.Level);
    reg.WriteInteger("MRUFiles", s.MRUFiles);
    reg.WriteString("UndoDir", s.UndoDir);
    reg.WriteInteger("UndoMem", RegistryKB(s.UndoMem));
    reg.WriteInteger("UndoDisk", RegistryKB(s.UndoDisk));
    reg.WriteBool("UseKSC", s.UseKSC);
    reg.WriteBool("UseAdobe", s.UseAdobe);
    reg.WriteString("AdobeLoc", s.AdobeLoc);
    reg.WriteBool("ShowTOD", s.ShowTOD);
    reg.WriteInteger("TODIndex", s.TODIndex);
    reg.WriteInteger("DefFileExt", s.DefFileExt);
}

}  // namespace

void LoadAppSettings(TAppSettings& s, const AnsiString& baseKey)
{
    ReadPlacement(s, baseKey);
    TRegistry reg;
    if (reg.OpenKey(baseKey + "Preferences", true))
        ReadPreferences(s, reg);
    else
        s.UndoDir = SystemTempPath();
    ComputeMissingUndoLimits(s);
    ClampAppSettings(s);
}

void SaveAppSettings(const TAppSettings& s, const AnsiString& baseKey)
{
    try {
        TRegistry reg;
        if (reg.OpenKey(baseKey + "MainForm", true)) {
            reg.WriteInteger("Left", s.Left);
            reg.WriteInteger("Top", s.Top);
            reg.WriteBool("Maximized", s.Maximized);
        }
    } catch (const Exception&) {
    }
    try {
        TRegistry reg;
        if (reg.OpenKey(baseKey + "Preferences", true)) WritePreferences(s, reg);
    } catch (const Exception&) {
    }
}

void SaveLanguageSetting(const TAppSettings& s, const AnsiString& baseKey)
{
    try {
        TRegistry reg;
        if (reg.OpenKey(baseKey + "Preferences", true)) reg.WriteString("Language", s.Language);
    } catch (const Exception&) {
    }
}

AnsiString SystemTempPath()
{
    char path[MAX_PATH + 1];
    DWORD length = GetTempPathA(sizeof path, path);
    if (length == 0 || length > MAX_PATH) return AnsiString();
    return AnsiString(path, static_cast<int>(length));
}

unsigned long long PhysicalMemoryBytes()
{
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
}

long long FreeDiskBytes(const AnsiString& dir)
{
    ULARGE_INTEGER available, total;
    if (dir.IsEmpty() || !GetDiskFreeSpaceExA(dir.c_str(), &available, &total, nullptr)) return -1;
    return available.QuadPart > 0x7FFFFFFFFFFFFFFFull ? 0x7FFFFFFFFFFFFFFFll : static_cast<long long>(available.QuadPart);
}
