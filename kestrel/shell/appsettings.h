// The program's settings (registry "Software\Corvane\KS\"), with the
// defaults a first start gets. TMainForm reads them once at start
// (LoadAppSettings) and writes them at shut-down (SaveAppSettings); the
// preferences dialog changes them.
#ifndef KESTREL_APPSETTINGS_H
#define KESTREL_APPSETTINGS_H

#include "ansistring.h"

struct TAppSettings {
    // Key "MainForm". Known is false on a first start: the registry had
    // no complete placement, and the main window takes its first-run one.
    bool PlacementKnown = false;
    int Left = 0;
    int Top = 0;
    bool Maximized = false;

    // Key "Preferences"; each field is the value of the same name.
    bool Clipping = false;
    bool OptimBrush = false;
    bool InstBrush = false;
    bool AntiAlias = false;
    bool FixRefresh = false;
    bool ResizeNeigh = true;
    bool AlwaysDock = true;
    bool FlatIcons = true;
    bool StartMax = false;
    int Palette = 8;  // palette bar cells, 8..256 in steps of 4
    bool BackupFiles = true;
    bool AutoLoadPalette = false;
    bool AutoReload = false;
    bool CacheThumbs = false;
    AnsiString Language;  // empty: the built-in texts
    int Level = 0;        // 0 novice, 1 expert
    int MRUFiles = 6;     // 0..16
    AnsiString UndoDir;   // computed when missing
    long long UndoMem = -1;   // kilobytes; -1 until computed
    long long UndoDisk = -1;  // kilobytes; -1 until computed
    bool UseKSC = true;
    bool UseAdobe = true;
    AnsiString AdobeLoc;  // with a trailing "\" once set
    bool ShowTOD = true;
    int TODIndex = 0;
    int DefFileExt = 0;  // index among all formats
};

extern TAppSettings AppSettings;

// The largest undo limit the preferences dialog can show (512 MB). The
// computed defaults stop there: a third of the physical memory is beyond a
// 32-bit process's address space (undo would never trim before running out
// of memory), and a third of a big disk overflows the registry's integer.
const long long MaxUndoKB = 512 * 1024;

long long DefaultUndoMemKB(unsigned long long physicalBytes);
// freeBytes < 0: the free space could not be read; the default is then 0.
long long DefaultUndoDiskKB(long long freeBytes);
// Whole megabytes followed by " MB", or Translate("N/A") when unknown.
AnsiString FreeSpaceText(long long freeBytes);

// A folder as the settings keep it: with a trailing "\" unless it already
// ends in "\" or "/"; empty stays empty.
AnsiString WithTrailingSeparator(const AnsiString& dir);

// Brings values read from a damaged or foreign registry into the ranges
// the program and the dialog handle.
void ClampAppSettings(TAppSettings& settings);

// Hands the settings the painting core consults (undo limits and folder,
// instant brush, user level) to it.
void ApplySettingsToCore(const TAppSettings& settings);

#endif
