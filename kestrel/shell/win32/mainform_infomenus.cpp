// The File and Image menus' items for new pictures, information, palette
// files and the desktop's pictures, put in their places once the menus
// exist.
#include "mainform.h"

void TMainForm::AddPictureMenuItems()
{
    New1 = NewItem(File1, "New1", "&New...", [this](TObject* s) { New1Click(s); });
    File1->Remove(New1);
    File1->Insert(0, New1);

    int at = File1->IndexOf(Acquire1) + 1;
    TMenuItem* items[] = {
        NewItem(File1, "", "-", nullptr),
        LoadPalette = NewItem(File1, "LoadPalette", "Load Pale&tte...", [this](TObject* s) { LoadPaletteClick(s); }),
        SavePalette = NewItem(File1, "SavePalette", "Save Pal&ette...", [this](TObject* s) { SavePaletteClick(s); }),
        Desktop1 = NewItem(File1, "Desktop1", "&Desktop", [this](TObject* s) { Desktop1Click(s); }),
    };
    for (TMenuItem* item : items) {
        File1->Remove(item);
        File1->Insert(at++, item);
    }
    TMenuItem* wallpaper = NewItem(Desktop1, "Wallpaper1", "&Wallpaper", nullptr);
    Import1 = NewItem(wallpaper, "Import1", "&Import", [this](TObject* s) { Import1Click(s); });
    NewItem(wallpaper, "Export1", "&Export", [this](TObject* s) { Export1Click(s); });
    TMenuItem* startup = NewItem(Desktop1, "Startup1", "&Start-up Screen", nullptr);
    Import2 = NewItem(startup, "Import2", "&Import", [this](TObject* s) { Import2Click(s); });
    NewItem(startup, "Export2", "&Export", [this](TObject* s) { Export2Click(s); });
    TMenuItem* waiting = NewItem(Desktop1, "Waiting1", "W&ait Screen", nullptr);
    Import3 = NewItem(waiting, "Import3", "&Import", [this](TObject* s) { Import3Click(s); });
    NewItem(waiting, "Export3", "&Export", [this](TObject* s) { Export3Click(s); });
    TMenuItem* shutdown = NewItem(Desktop1, "Shutdown1", "S&hut-down Screen", nullptr);
    Import4 = NewItem(shutdown, "Import4", "&Import", [this](TObject* s) { Import4Click(s); });
    NewItem(shutdown, "Export4", "&Export", [this](TObject* s) { Export4Click(s); });

    NewItem(Image1, "", "-", nullptr);
    Info1 = NewItem(Image1, "Info1", "&Information...", [this](TObject* s) { Info1Click(s); });
    SelectSource1->OnClick = [this](TObject* s) { SelectSource1Click(s); };
    Acquire1->OnClick = [this](TObject* s) { Acquire1Click(s); };
}
