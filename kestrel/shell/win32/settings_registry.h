// Reading and writing TAppSettings in the registry, and the system values
// the computed defaults come from.
#ifndef KESTREL_SETTINGS_REGISTRY_H
#define KESTREL_SETTINGS_REGISTRY_H

#include "appsettings.h"

// Below HKEY_CURRENT_USER; the keys "MainForm" and "Preferences" hang off it.
extern const char* const SettingsBaseKey;

// Every value of both keys. A missing value (or one of another type) keeps
// what settings holds; UndoDir, UndoMem and UndoDisk are computed only when
// missing. Never raises.
void LoadAppSettings(TAppSettings& settings, const AnsiString& baseKey = SettingsBaseKey);
// Every value but "Language", which is written when the user picks a
// language (SaveLanguageSetting), so that a crash afterwards keeps it.
// Errors are swallowed: they must not stop shut-down.
void SaveAppSettings(const TAppSettings& settings, const AnsiString& baseKey = SettingsBaseKey);
void SaveLanguageSetting(const TAppSettings& settings, const AnsiString& baseKey = SettingsBaseKey);

// The system's temporary folder (GetTempPath), with its trailing "\".
AnsiString SystemTempPath();
unsigned long long PhysicalMemoryBytes();
// Free bytes for the caller on the drive of dir; -1 when unknown.
long long FreeDiskBytes(const AnsiString& dir);

#endif
