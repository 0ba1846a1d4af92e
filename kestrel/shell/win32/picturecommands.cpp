// The File menu's picture commands: Open, Open Brush, Save, Save As, Save
// Brush, a recent file, Close, Close All and Exit.
#include "application.h"
#include "appsettings.h"
#include "imageform.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "open_dialog_preview.h"
#include "picturefiles_win32.h"
#include "pictureview.h"
#include "programpictures.h"
#include "save_dialog_options.h"
#include "screen.h"
#include "sysutils.h"
#include "toolmanager.h"

namespace {
// Made once, so that their windows exist before a dialog hosts them: below
// the screen, shown and hidden.
template <class T>
T* CreateCompanion(TForm* mainForm)
{
    T* form = NewForm<T>(mainForm ? static_cast<TComponent*>(mainForm) : Application);
    form->SetLeft(0);
    form->SetTop(Screen ? Screen->GetHeight() + 10 : 2000);
    form->Show();
    form->Hide();
    return form;
}

// Resumes the tool however the command ends.
class ToolPause {
public:
    ToolPause() { SuspendTool(); }
    ~ToolPause() { ResumeTool(); }
    ToolPause(const ToolPause&) = delete;
    ToolPause& operator=(const ToolPause&) = delete;
};

void SetDialogOwner(TCustomDialog* host, TForm* owner) { host->OwnerControl = owner; }
}  // namespace

void CreatePictureFileForms(TForm* mainForm)
{
    if (!OpenPlus) OpenPlus = CreateCompanion<TOpenPlus>(mainForm);
    if (!SavePlus) SavePlus = CreateCompanion<TSavePlus>(mainForm);
}

void InstallPictureFileLinks(TForm* mainForm)
{
    ImageWindowHost.saveCurrentPicture = [mainForm]() {
        SavePicture(mainForm);
        return CurrentPicture && CurrentPicture->modified == 0 ? SaveOk : SaveCancelled;
    };
}

void OpenImageClick(TForm* owner, bool brush)
{
    CreatePictureFileForms(owner);
    SelectDefaultTool(false);
    HideOutline();
    TCustomOpenDialog* dialog = OpenPlus->CustomOpenDialog1;
    SetDialogOwner(dialog->GetHost(), owner);
    dialog->SetDefaultExt(DefaultExtension(GFXFile::Formats()));
    dialog->SetHelpContext(1120);
    dialog->SetTitle(Translate(brush ? "Open Brush" : "Open Image"));
    int count = BuildFileFilter(false);
    dialog->SetFilter(FileFilter);
    dialog->SetFilterIndex(OpenFilterIndex < 0 ? count : OpenFilterIndex);
    dialog->SetFileName("");
    dialog->SetInitialDir(LastDirectory);
    FreeOpenPreview();
    OpenPlus->Reset();
    if (dialog->Execute()) {
        AnsiString name = dialog->GetFileName();
        LastDirectory = ExtractFilePath(name);
        OpenFilterIndex = dialog->GetFilterIndex();
        LoadPictureFile(brush ? &CurrentBrush : nullptr, name, OpenPlus->ChosenImage, false);
    }
    FreeOpenPreview();
    OpenPlus->Reset();
    ShowOutline();
}

void SavePicture(TForm* owner)
{
    UDBuffer* pic = CurrentPicture;
    if (!pic) return;
    if (!pic->noFile) {
        int result;
        {
            ToolPause pause;
            result = SavePictureFile(pic->fileName, pic, &pic->saveParams);
        }
        if (result != SaveCannotHold) return;
    }
    SavePictureAs(owner, false);
}

namespace {
// Shows the save dialog until the typed name agrees with the type; false
// when cancelled.
bool RunSaveDialog()
{
    TSaveDialogEx* dialog = SavePlus->SavePicDlg;
    SavePlus->SavePicDlgTypeChange(dialog);
    for (;;) {
        SavePlus->ShowAgain = false;
        if (!dialog->Execute()) return false;
        if (!SavePlus->ShowAgain) return true;
        if (SavePlus->FoundIndex) dialog->SetFilterIndex(SavePlus->FoundIndex);
        dialog->SetFileName(dialog->GetFileName());
        SavePlus->SavePicDlgTypeChange(dialog);
    }
}

// The type the dialog starts with, and its extension as the default.
void ChooseStartType(TSaveDialogEx* dialog, const AnsiString& name)
{
    int index = 0;
    if (name.IsEmpty() || !FindSaveFormat(name, index)) index = DefaultSaveIndex(AppSettings.DefFileExt);
    dialog->SetFilterIndex(index);
    dialog->SetDefaultExt(DefaultExtension(WritableFormat(index)));
}

bool NeedsReload(const GFXSaveParams& p, const AnsiString& name)
{
    int index = 0;
    GFXFile* format = FindSaveFormat(name, index);
    return AppSettings.AutoReload && (p.bits < 24 || (format && format->quality > 0));
}
}  // namespace

int SavePictureAs(TForm* owner, bool brush)
{
    UDBuffer* pic = brush ? &CurrentBrush : CurrentPicture;
    if (!pic || !pic->pixels) return SaveCancelled;
    CreatePictureFileForms(owner);
    ToolPause pause;
    TSaveDialogEx* dialog = SavePlus->SavePicDlg;
    SetDialogOwner(dialog->GetHost(), owner);
    BuildFileFilter(true);
    dialog->SetFilter(FileFilter);
    dialog->SetTitle(Translate(brush ? "Save Brush" : "Save Image"));
    dialog->SetFileName(pic->fileName);
    dialog->SetInitialDir(LastDirectory);
    dialog->SetHelpContext(1140);
    SavePlus->Picture = pic;
    ChooseStartType(dialog, pic->fileName);
    if (!RunSaveDialog()) {
        ClosingCancelled = true;
        return SaveCancelled;
    }
    AnsiString name = dialog->GetFileName();
    LastDirectory = ExtractFilePath(name);
    GFXSaveParams params = SavePlus->ReadParams(pic->saveParams);
    // The chosen type writes a name typed without an extension.
    GFXSaveParams withType = params;
    withType.format = WritableFormat(dialog->GetFilterIndex());
    if (CurrentImageForm) CurrentImageForm->ShowBuf->Invalidate();
    if (brush) {
        BrushSavePicture.Free();
        int result = SavePictureFile(name, &BrushSavePicture, &withType);
        CurrentBrush.saveParams = params;
        return result;
    }
    bool reload = NeedsReload(params, name);
    if (reload && !UDBuffer::SaveUndo(pic, "AutoReload", nullptr, -1, 0, 0, 0)) reload = false;
    pic->noFile = 1;
    int result = SavePictureFile(name, pic, &withType);
    pic->saveParams = params;
    // Only a file that was really written may replace the pixels: reading
    // a missing or old file would leave the picture empty or stale.
    if (reload && result == SaveOk) {
        pic->DropSelection(true);
        LoadPictureFile(pic, pic->fileName, 0, true);
    }
    if (CurrentImageForm && &CurrentImageForm->Picture == pic) CurrentImageForm->UpdateCaption(0);
    return result;
}

void MRUFileList1MRUItemClick(TObject*, const AnsiString& entry)
{
    AnsiString name;
    int image = 0;
    SplitRecentFileEntry(entry, name, image);
    ToolPause pause;
    LoadPictureFile(nullptr, name, image, false);
}

void Close1Click(TObject*)
{
    if (CurrentImageForm) CurrentImageForm->Close();
}

bool CloseAllImageWindows()
{
    ClosingCancelled = false;
    for (int i = ImageFormCount() - 1; i >= 0 && !ClosingCancelled; --i) {
        TImageForm* f = GetImageForm(i);
        if (f) f->Close();  // a refusal sets ClosingCancelled
    }
    return !ClosingCancelled;
}

void CloseAll1Click(TObject*) { CloseAllImageWindows(); }

void Exit1Click(TForm* mainForm)
{
    if (mainForm) mainForm->Close();
}
