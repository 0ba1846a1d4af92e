// Loading and saving pictures, and the File menu's picture commands.
//
// LoadPictureFile reads into a new image window (target null), into the
// brush (&CurrentBrush) or into any other picture; quiet means no messages,
// no window fitting, no recent-file entry and undo lists kept.
// SavePictureFile goes through Pixmill, which writes beside the file first
// and replaces it only when the whole file was written, so a failed or
// cancelled save never costs the user the file that was there; a read-only
// file is refused before its backup is made.
#ifndef KESTREL_PICTUREFILES_WIN32_H
#define KESTREL_PICTUREFILES_WIN32_H

#include "forms.h"
#include "gfxfile.h"
#include "picturefiles.h"
#include "picture_document.h"

class TMRUFileList;

// Where opened and saved names are listed; null = nowhere.
extern TMRUFileList* RecentFiles;
// The folder the last open or save dialog ended in (one for both).
extern AnsiString LastDirectory;
// The open dialog's filter index; -1 until chosen (the "All" entry).
extern int OpenFilterIndex;
// Picture the brush is copied into to be saved.
extern UDBuffer BrushSavePicture;

// The open dialog's preview: whether OpenPreviewPicture holds the whole of
// PreviewFile's image PreviewImage, the load result that made it, and the
// extra record that came with it.
struct OpenPreviewState {
    bool whole = false;
    int result = 0;
    AnsiString file;
    int image = 0;
    GFXtra32 extra = {0, 0, 0, 0};
};
extern OpenPreviewState OpenPreview;
// Frees the preview pictures (the dialog was cancelled).
void FreeOpenPreview();

// The full path of a name (the name itself when it has none).
AnsiString FullPathName(const AnsiString& name);

int LoadPictureFile(UDBuffer* target, const AnsiString& name, int image, bool quiet);
int SavePictureFile(const AnsiString& name, UDBuffer* picture, GFXSaveParams* params);
// Moves the preview's picture and what came with it into target.
void AdoptPreviewPicture(UDBuffer* target);
// Renames an existing file to its backup name when backups are on; true
// when it did.
bool MakeBackup(const AnsiString& name);

// What the main window lets these routines reach: the colour swatches and
// the palette bar. Unset hooks are skipped.
struct PictureFileHooks {
    std::function<void(unsigned long colour1, unsigned long colour2)> takeColours;
    // The file's palette: count entries of R, G, B.
    std::function<void(const unsigned char* palette, int count)> takePalette;
    // After a picture was read: the tool windows float above all forms again.
    std::function<void()> toolWindowsOnTop;
};
extern PictureFileHooks PictureFileLinks;

// ---- commands (the main window wires its menu items to these)
void OpenImageClick(TForm* owner, bool brush);
void SavePicture(TForm* owner);
// Answers the save result (SaveCancelled when the dialog was cancelled).
int SavePictureAs(TForm* owner, bool brush);
void MRUFileList1MRUItemClick(TObject* Sender, const AnsiString& entry);
void Close1Click(TObject* Sender);
void CloseAll1Click(TObject* Sender);
void Exit1Click(TForm* mainForm);
// Closes every image window, newest first; stops when one refuses.
bool CloseAllImageWindows();

// Creates the open and save companion forms (main window's start-up) and
// installs the image windows' save command.
void CreatePictureFileForms(TForm* mainForm);
void InstallPictureFileLinks(TForm* mainForm);

#endif
