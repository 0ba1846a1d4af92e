// Library start: when a process loads Pixmill, the formats are registered
// and the configuration is read: WIN.INI section QDX, key "config" names a
// configuration file that may set the default picture size and the font
// directory.
//
// The system's font smoothing is deliberately left alone: text that must be
// drawn in one colour asks for non-antialiased fonts instead of changing a
// setting that belongs to the user.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "buffer.h"
#include "formats.h"
#include "library_start.h"
#include "rfont.h"

static void AppendBackslash(char* path, size_t size)
{
    size_t n = strlen(path);
    if (n && path[n - 1] != '\\' && n + 1 < size) {
        path[n] = '\\';
        path[n + 1] = 0;
    }
}

static void ReadConfiguration()
{
    GetProfileStringA("QDX", "config", "", Buffer::config_file, sizeof Buffer::config_file);
    const char* file = Buffer::config_file;
    if (!*file) return;
    char setup[128];
    GetPrivateProfileStringA("config", "setup", "", setup, sizeof setup, file);
    if (*setup) {
        char section[140];
        snprintf(section, sizeof section, "%s.setup", setup);
        Buffer::default_x = int(GetPrivateProfileIntA(section, "width", Buffer::default_x, file));
        Buffer::default_y = int(GetPrivateProfileIntA(section, "height", Buffer::default_y, file));
    }
    GetPrivateProfileStringA("dirs", "fonts", "", RFont::path, sizeof RFont::path, file);
    AppendBackslash(RFont::path, sizeof RFont::path);
}

// Without a configured directory the fonts sit beside the library, or in a
// FONTS folder beside its BIN folder.
void DefaultFontPath(const char* libraryFile, char* out, size_t size)
{
    out[0] = 0;
    const char* slash = strrchr(libraryFile, '\\');
    if (!slash) return;
    size_t dir = size_t(slash - libraryFile);  // length before the last "\"
    if (dir > 4 && _strnicmp(slash - 4, "\\BIN", 4) == 0) {
        snprintf(out, size, "%.*sFONTS\\", int(dir - 3), libraryFile);
    } else {
        snprintf(out, size, "%.*s", int(dir + 1), libraryFile);
    }
}

void LibraryStart(HMODULE module)
{
    RegisterFormats();
    ReadConfiguration();
    if (!RFont::path[0]) {
        char file[MAX_PATH];
        DWORD n = GetModuleFileNameA(module, file, sizeof file);
        if (n > 0 && n < sizeof file) DefaultFontPath(file, RFont::path, sizeof RFont::path);
    }
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(module);
        LibraryStart(module);
    }
    return TRUE;
}
