// File > Desktop: each picture has an Import item, enabled only when its
// file can be read, and an Export item.
#include "desktop_images.h"

#include <cstdio>

#include "gfxfile.h"
#include "imageform.h"
#include "imagetitle.h"
#include "mainform.h"
#include "messages.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "registry.h"
#include "toolmanager.h"

namespace {

AnsiString WindowsFolder()
{
    char path[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? AnsiString(path) : AnsiString();
}

AnsiString RegistryText(HKEY root, const char* key, const char* value)
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(root);
    try {
        if (!reg.OpenKeyReadOnly(key) || !reg.ValueExists(value)) return "";
        return reg.ReadString(value);
    } catch (Exception&) {
        return "";
    }
}

bool Readable(const AnsiString& name)
{
    if (name.IsEmpty()) return false;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

class ParkedTool {
public:
    ParkedTool() { SuspendTool(); }
    ~ParkedTool() { ResumeTool(); }
    ParkedTool(const ParkedTool&) = delete;
    ParkedTool& operator=(const ParkedTool&) = delete;
};

// A copy of the current picture's pixels (the marks go when it is saved).
void CopyOfPicture(UDBuffer& copy)
{
    Buffer& pic = *CurrentPicture;
    copy.Alloc(Pair<int>{pic.Width(), pic.Height()});
    copy.Copy(pic, Pair<int>{-pic.left, -pic.top}, 0xFFFFFFFF);
}

// What a desktop file can hold: a BMP, never grey, in the given depth.
GFXSaveParams DesktopSaveParams(int bits)
{
    GFXSaveParams p = CurrentPicture->saveParams;
    AnsiString mask = "*.bmp";
    p.format = GFXFile::GetDefaultFormat(mask);
    p.grey = 0;
    p.bits = static_cast<int8_t>(bits);
    return p;
}

// Saves a picture made for the export, never the user's own: saving gives
// the saved picture the file's name and clears its changes.
bool ExportCopy(UDBuffer& copy, const AnsiString& name, int bits)
{
    if (name.IsEmpty()) {  // the system names no start-up folder
        TranslatedMessageBox("ErrSaveImg", "Err", MsgIconWarning);
        return false;
    }
    GFXSaveParams params = DesktopSaveParams(bits);
    return SavePictureFile(name, &copy, &params) == 0;
}

void ImportScreen(DesktopImage which)
{
    AnsiString name = DesktopImportFile(which);
    UDBuffer screen;
    int result = LoadPictureFile(&screen, name, 0, false);
    if ((result != 0 && result != 1) || !screen.pixels) return;
    TImageForm* f = CreateImageWindow(2 * screen.Width(), screen.Height(), name);
    if (!f) return;
    f->Picture.Scale(screen, Pair<int>{2 * screen.Width(), screen.Height()}, Pair<int>{0, 0}, 0xFFFFFFFF, 0);
    f->FitToPicture();
    f->UpdateCaption(CaptionAuto);
    f->Show();
}

void ExportScreen(DesktopImage which)
{
    if (!CurrentPicture || !CurrentPicture->pixels) return;
    UDBuffer screen;
    screen.Alloc(Pair<int>{ScreenFileWidth, ScreenFileHeight});
    screen.Scale(*CurrentPicture, Pair<int>{ScreenFileWidth, ScreenFileHeight}, Pair<int>{0, 0}, 0xFFFFFFFF, -1);
    ExportCopy(screen, DesktopExportFile(which), 8);
}

void ExportWallpaper()
{
    if (!CurrentPicture || !CurrentPicture->pixels) return;
    UDBuffer copy;
    CopyOfPicture(copy);
    int bits = CurrentPicture->saveParams.bits;
    AnsiString name = DesktopExportFile(DeskWallpaper);
    if (!ExportCopy(copy, name, bits == 1 || bits == 4 || bits == 8 ? bits : 24)) return;
    // Stored, not only shown: the next logon and Import read it back.
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(name.c_str()),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

template <class Work> void Guarded(Work work)
{
    ParkedTool parked;
    try {
        work();
    } catch (EOutOfMemory&) {
        TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
    }
}

}  // namespace

AnsiString DesktopImportFile(DesktopImage which)
{
    switch (which) {
    case DeskWallpaper: return RegistryText(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper");
    case DeskStartup: {
        // The value ends in a separator.
        AnsiString boot = RegistryText(HKEY_LOCAL_MACHINE, "Software\\MICROSOFT\\Windows\\CurrentVersion\\Setup", "BootDir");
        return boot.IsEmpty() ? boot : boot + "logo.sys";
    }
    default: return DesktopExportFile(which);
    }
}

AnsiString DesktopExportFile(DesktopImage which)
{
    switch (which) {
    case DeskWallpaper: return WindowsFolder() + "\\Kestrel.bmp";
    case DeskStartup: return DesktopImportFile(DeskStartup);
    case DeskWaiting: return WindowsFolder() + "\\logow.sys";
    default: return WindowsFolder() + "\\logos.sys";
    }
}

void TMainForm::Desktop1Click(TObject*)
{
    Import1->SetEnabled(Readable(DesktopImportFile(DeskWallpaper)));
    Import2->SetEnabled(Readable(DesktopImportFile(DeskStartup)));
    Import3->SetEnabled(Readable(DesktopImportFile(DeskWaiting)));
    Import4->SetEnabled(Readable(DesktopImportFile(DeskShutdown)));
}

void TMainForm::Import1Click(TObject*)
{
    Guarded([] { LoadPictureFile(nullptr, DesktopImportFile(DeskWallpaper), 0, false); });
}

void TMainForm::Import2Click(TObject*) { Guarded([] { ImportScreen(DeskStartup); }); }
void TMainForm::Import3Click(TObject*) { Guarded([] { ImportScreen(DeskWaiting); }); }
void TMainForm::Import4Click(TObject*) { Guarded([] { ImportScreen(DeskShutdown); }); }
void TMainForm::Export1Click(TObject*) { Guarded([] { ExportWallpaper(); }); }
void TMainForm::Export2Click(TObject*) { Guarded([] { ExportScreen(DeskStartup); }); }
void TMainForm::Export3Click(TObject*) { Guarded([] { ExportScreen(DeskWaiting); }); }
void TMainForm::Export4Click(TObject*) { Guarded([] { ExportScreen(DeskShutdown); }); }
