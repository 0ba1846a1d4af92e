#include "palette_commands.h"

#include <cstdio>
#include <string>

#include "dialogs.h"
#include "filereplace.h"
#include "mainform.h"
#include "messages.h"
#include "palette_file.h"
#include "palettebar.h"
#include "sysutils.h"
#include "toolmanager.h"

AnsiString PaletteDirectory;
AnsiString PaletteFileName;

namespace {

// More than any palette file of the bar's size holds: a file that is
// something else entirely is not read whole.
const long MaxPaletteFileBytes = 64 * 1024;

bool ReadText(const AnsiString& name, std::string& text)
{
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) return false;
    text.assign(MaxPaletteFileBytes, '\0');
    size_t n = std::fread(&text[0], 1, text.size(), f);
    text.resize(n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

AnsiString PaletteFilter() { return "Palette (*.pal)|*.pal|" + Translate("All") + " (*.*)|*.*"; }

template <class Dialog> bool ChoosePaletteFile(Dialog& dialog)
{
    SelectDefaultTool(false);
    ShowOutline();
    dialog.SetFilter(PaletteFilter());
    dialog.SetDefaultExt("pal");
    dialog.SetInitialDir(PaletteDirectory);
    dialog.SetFileName(PaletteFileName);
    if (!dialog.Execute()) return false;
    PaletteDirectory = ExtractFilePath(dialog.GetFileName());
    PaletteFileName = ExtractFileName(dialog.GetFileName());
    return true;
}

}  // namespace

bool SavePaletteFile(const AnsiString& name)
{
    std::vector<unsigned long> colours = PaletteBarCells.Colours();
    std::string text = FormatPaletteFile(colours);
    try {
        TReplacingFile file(name);
        file.Stream()->WriteBuffer(text.data(), int(text.size()));
        file.Commit();
    } catch (Exception&) {
        TranslatedMessageBox("ErrSavePal", "Err", MsgIconWarning);
        return false;
    }
    return true;
}

bool LoadPaletteFile(TBuffer* holder, const AnsiString& name)
{
    std::string text;
    PaletteFileText palette;
    if (!ReadText(name, text) || !ParsePaletteFile(text, MaxPaletteCells, palette)) {
        TranslatedMessageBox("ErrOpenPal", "Err", MsgIconWarning);
        return false;
    }
    BuildPalette(holder, palette.count, false);
    int cells = PaletteBarCells.Count();
    for (int i = 0; i < cells && i < int(palette.colours.size()); ++i) SetPaletteColor(holder, i, palette.colours[i]);
    return true;
}

void TMainForm::SavePaletteClick(TObject*)
{
    TSaveDialog dialog(this);
    dialog.SetName("SavePaletteDlg");
    dialog.SetOptions(dialog.GetOptions() | ofOverwritePrompt | ofPathMustExist);
    if (ChoosePaletteFile(dialog)) SavePaletteFile(dialog.GetFileName());
}

void TMainForm::LoadPaletteClick(TObject*)
{
    TOpenDialog dialog(this);
    dialog.SetName("OpenPaletteDlg");
    dialog.SetOptions(dialog.GetOptions() | ofFileMustExist | ofPathMustExist);
    if (ChoosePaletteFile(dialog)) LoadPaletteFile(PaletteHolder, dialog.GetFileName());
}
