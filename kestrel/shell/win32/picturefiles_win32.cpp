// LoadPictureFile and SavePictureFile: the one way pictures come from files
// and go to them.
#include "picturefiles_win32.h"

#include <stdlib.h>
#include <cstring>

#include "appsettings.h"
#include "brushes_tools.h"
#include "brushstate.h"
#include "exceptions.h"
#include "filereplace.h"
#include "imageform.h"
#include "messages.h"
#include "mruflist.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "programpictures.h"
#include "screen.h"
#include "sysutils.h"
#include "toolmanager.h"

TMRUFileList* RecentFiles = nullptr;
AnsiString LastDirectory;
int OpenFilterIndex = -1;
UDBuffer BrushSavePicture;
OpenPreviewState OpenPreview;
PictureFileHooks PictureFileLinks;

namespace {
const unsigned long KeyBit = 0x01000000;
const int WarnYesNo = MsgIconWarning | MsgYesNo;

// The hourglass for as long as the object lives, whatever way it ends.
class BusyCursor {
public:
    BusyCursor()
    {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~BusyCursor()
    {
        if (Screen) Screen->SetCursor(crDefault);
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

void ClearPixels(Buffer& b)
{
    for (int y = b.top; y <= b.bottom; ++y) std::memset(b.At(b.left, y), 0, size_t(b.Width()) * 4);
}

void AddRecent(const AnsiString& name, int image)
{
    if (RecentFiles) RecentFiles->InsertItem(0, RecentFileEntry(name, image));
}

bool IsCurrent(const UDBuffer* pic) { return pic == CurrentPicture && CurrentImageForm; }

// ---- loading

int ReadPicture(UDBuffer* target, const AnsiString& name, int image, GFXtra32& extra, GFXFileDesc& desc)
{
    try {
        target->Free();
        extra = GFXtra32{0, 0, uint32_t(ForeColour()), uint32_t(target == &CurrentBrush ? KeyBit : BackColour())};
        if (AppSettings.AutoLoadPalette) {
            if (!target->palette) target->palette = static_cast<unsigned char*>(malloc(768));
            if (target->palette) std::memset(target->palette, 0, 768);
            desc.paletteData = target->palette;
        }
        AnsiString file = name.Trim();
        GFXFile::Load(*target, file, &extra, image, &desc);
        return LoadOk;
    } catch (EInvalidImage&) {
        return target->pixels ? LoadDamaged : LoadUnknown;
    } catch (EReadError&) {
        return LoadReadError;
    } catch (...) {
        return LoadOtherError;
    }
}

int LoadCode(UDBuffer* target, const AnsiString& name, int image, GFXtra32& extra)
{
    GFXFileDesc desc;
    std::memset(&desc, 0, sizeof desc);
    int code = ReadPicture(target, name, image, extra, desc);
    // Once the file was recognised, its header describes whatever pixels
    // came, damaged or not; saving them under an earlier picture's depth
    // would quietly rewrite the file as something else.
    if (desc.format) {
        target->saveParams = desc;
        target->imageNumber = image;
    }
    return code;
}

bool KeepDamaged() { return TranslatedMessageBox("ErrLoadImg", "Err", WarnYesNo) == 6; }  // IDYES

// The file's palette, as the palette bar takes it. Grey files spread the
// ramp over all their levels, so a 4-bit grey file shows 16 greys from
// black to white rather than 16 near-blacks.
void GivePalette(UDBuffer* pic)
{
    int bits = pic->saveParams.bits;
    if (!AppSettings.AutoLoadPalette || bits < 3 || bits > 8 || !PictureFileLinks.takePalette) return;
    int count = 1 << bits;
    unsigned char ramp[768];
    const unsigned char* pal = pic->palette;
    if (pic->saveParams.grey || !pal) {
        for (int i = 0; i < count; ++i) ramp[3 * i] = ramp[3 * i + 1] = ramp[3 * i + 2] = (unsigned char)(i * 255 / (count - 1));
        pal = ramp;
    }
    PictureFileLinks.takePalette(pal, count);
}

// Step 4 for the current picture: the window shows what was read.
void ShowInWindow(UDBuffer* pic, const GFXtra32& extra, bool quiet)
{
    TImageForm* f = CurrentImageForm;
    f->ShowBuf->SetBuffer(pic);
    SetVisibleClip();
    f->UpdateView();
    f->Show();
    if (PictureFileLinks.takeColours) PictureFileLinks.takeColours(extra.colour1 & 0xFFFFFF, extra.colour2 & 0xFFFFFF);
    if (!quiet) f->FitToPicture();
    GivePalette(pic);
}

// Step 4 for the brush; false when its stamp copy cannot be made.
bool TakeAsBrush(const GFXtra32& extra)
{
    CurrentBrush.ChColor(extra.colour2, KeyBit);
    BrushState.originX = extra.x;
    BrushState.originY = extra.y;
    if (!RebuildStampFromBrush()) return false;
    // A brush from a file has colours of its own, and paints them: without
    // this mark the paint mode would stay on a built-in brush's one colour.
    BrushState.pictureBrush = 1;
    SetPaintModeP();
    SelectTool(&PenBrushTools().penDisc, false, -1);
    return true;
}

// The picture was not kept.
void GiveUp(UDBuffer* target, bool quiet)
{
    if (target == &CurrentBrush) {
        UDBuffer::Undo(&CurrentBrush, false);
        return;
    }
    if (!IsCurrent(target)) {
        target->Free();
        target->Alloc(Pair<int>{Buffer::default_x, Buffer::default_y});
        ClearPixels(*target);
        return;
    }
    TImageForm* f = CurrentImageForm;
    if (ImageFormCount() > 1) {
        target->modified = 0;  // nothing to ask about
        f->Close();
        return;
    }
    target->Free();
    target->Alloc(Pair<int>{416, 312});
    ClearPixels(*target);
    target->fileName = "";
    target->noFile = 1;
    target->modified = 0;
    target->untitledNumber = NextUntitledNumber();
    f->Fresh = true;
    f->ShowBuf->SetBuffer(target);
    SetVisibleClip();
    if (!quiet) f->FitToPicture();
    f->UpdateCaption(0);
    f->Show();
}

// The brush reads its file anew: the preview's extra record was made for a
// picture, whose background colour would become the brush's transparent key.
bool PreviewHolds(const UDBuffer* target, const AnsiString& name, int image)
{
    return target != &OpenPreviewPicture && target != &CurrentBrush && OpenPreview.whole &&
           OpenPreviewPicture.pixels && OpenPreview.image == image &&
           FullPathName(name.Trim()).LowerCase() == OpenPreview.file.LowerCase();
}

// Steps 4 to 6 after a read that is kept; LoadBrushTooBig when the brush
// cannot be taken.
int Finish(UDBuffer* target, const AnsiString& name, int image, bool quiet, const GFXtra32& extra, int code)
{
    bool brush = target == &CurrentBrush;
    if (brush && !TakeAsBrush(extra)) {
        UDBuffer::Undo(&CurrentBrush, false);
        TranslatedMessageBox("BrTooBig", "Err", MsgIconWarning);
        return LoadBrushTooBig;
    }
    if (target == &OpenPreviewPicture) OpenPreview.extra = extra;
    target->fileName = FullPathName(name.Trim());
    if (IsCurrent(target)) {
        ShowInWindow(target, extra, quiet);
        CurrentImageForm->UpdateCaption(0);
    }
    if (!brush && !quiet) AddRecent(target->fileName, image);
    target->modified = 0;
    target->noFile = 0;
    if (!quiet) {
        UDBuffer::DropUndo(target);
        UDBuffer::DropRedo(target);
    }
    if (PictureFileLinks.toolWindowsOnTop) PictureFileLinks.toolWindowsOnTop();
    return code;
}

// The preview already read this file: its picture and its record are handed
// over, a damaged one only when the user wants it (asked once).
int TakePreview(UDBuffer* target, const AnsiString& name, int image, bool quiet)
{
    int code = OpenPreview.result;
    GFXtra32 extra = OpenPreview.extra;
    if (code != LoadOk && !quiet && !KeepDamaged()) {
        FreeOpenPreview();
        GiveUp(target, quiet);
        return code;
    }
    AdoptPreviewPicture(target);
    return Finish(target, name, image, quiet, extra, code);
}
}  // namespace

AnsiString FullPathName(const AnsiString& name)
{
    char full[MAX_PATH * 2];
    if (!_fullpath(full, name.c_str(), sizeof full)) return name;
    return full;
}

void FreeOpenPreview()
{
    // The next preview starts from nothing: none of this picture's record
    // may pass for the next file's.
    OpenPreviewPicture.Free();
    std::memset(&OpenPreviewPicture.saveParams, 0, sizeof OpenPreviewPicture.saveParams);
    free(OpenPreviewPicture.palette);
    OpenPreviewPicture.palette = nullptr;
    OpenPreviewPicture.fileName = "";
    OpenPreviewPicture.imageNumber = 0;
    OpenPreview = OpenPreviewState();
}

void AdoptPreviewPicture(UDBuffer* target)
{
    UDBuffer& p = OpenPreviewPicture;
    target->Free();
    *static_cast<Buffer*>(target) = static_cast<Buffer&>(p);  // moves the block
    p.Free();
    target->fileName = p.fileName;
    target->imageNumber = p.imageNumber;
    target->saveParams = p.saveParams;
    if (p.palette) {
        free(target->palette);
        target->palette = p.palette;
        p.palette = nullptr;
    }
    target->selMinX = p.selMinX;
    target->selMaxX = p.selMaxX;
    target->selMinY = p.selMinY;
    target->selMaxY = p.selMaxY;
    OpenPreview.whole = false;
}

int LoadPictureFile(UDBuffer* target, const AnsiString& name, int image, bool quiet)
{
    BusyCursor busy;
    if (!target) {
        if (!CreateImageWindow(1, 1, name)) return LoadOtherError;  // the user was told
        target = CurrentPicture;
    } else if (target == &CurrentBrush) {
        if (!UDBuffer::SaveUndo(&CurrentBrush, "", nullptr, -1, 0, 0, 0)) return LoadOtherError;
    }
    if (PreviewHolds(target, name, image)) return TakePreview(target, name, image, quiet);
    GFXtra32 extra = {0, 0, 0, 0};
    int code = LoadCode(target, name, image, extra);
    bool damaged = code == LoadDamaged || code == LoadReadError;
    // Quiet loads keep what was read, and it is finished like any other.
    if (code == LoadOk || (quiet && damaged && target->pixels))
        return Finish(target, name, image, quiet, extra, code);
    if (quiet) return code;
    bool keep = false;
    switch (code) {
    case LoadDamaged:
    case LoadReadError:
        keep = KeepDamaged();
        break;
    case LoadUnknown:
        TranslatedMessageBox("FormNotSup", "Err", MsgIconWarning);
        break;
    default:
        TranslatedMessageBox("ErrOpenImg", "Err", MsgIconWarning);
        break;
    }
    if (keep && target->pixels) return Finish(target, name, image, quiet, extra, code);
    GiveUp(target, quiet);
    return code;
}

// ---- saving

bool MakeBackup(const AnsiString& name)
{
    if (!AppSettings.BackupFiles || !FileExists(name)) return false;
    // A backup of that name already there keeps the oldest version.
    return RenameFile(name, BackupName(name));
}

namespace {
// Every pixel but the key becomes colour.
void PaintShape(Buffer& b, unsigned long colour)
{
    for (int y = b.top; y <= b.bottom; ++y) {
        unsigned long* p = b.At(b.left, y);
        for (int x = 0; x < b.Width(); ++x)
            if (p[x] != KeyBit) p[x] = colour;
    }
}

// The brush as plain pixels: in single-colour mode its shape in the drawing
// colour, as it paints; the key becomes the background colour.
void PrepareBrushSave(GFXtra32& extra)
{
    BrushSavePicture.Free();
    Buffer copy;
    copy.Alloc(Pair<int>{CurrentBrush.Width(), CurrentBrush.Height()});
    copy.Copy(CurrentBrush, Pair<int>{-CurrentBrush.left, -CurrentBrush.top}, 0xFFFFFFFF);
    static_cast<Buffer&>(BrushSavePicture) = copy;
    if (BrushState.paintMode == PaintModeC) PaintShape(BrushSavePicture, ForeColour());
    BrushSavePicture.ChColor(KeyBit, BackColour());
    extra.x = BrushState.originX;
    extra.y = BrushState.originY;
    extra.colour1 = uint32_t(ForeColour());
    extra.colour2 = uint32_t(BackColour());
}

void ClearMarks(Buffer& b)
{
    for (int y = b.top; y <= b.bottom; ++y) {
        unsigned long* p = b.At(b.left, y);
        for (int x = 0; x < b.Width(); ++x) p[x] &= 0xFCFFFFFF;
    }
}

// A save that did not replace the file gives the backup its name back.
void UndoBackup(const AnsiString& target, bool backedUp)
{
    if (backedUp) RenameFile(BackupName(target), target);
}

void SetImageStatus(const char* key)
{
    if (CurrentImageForm) CurrentImageForm->SetStatusText(3, Translate(key));
}

int SaveFailed(const char* key, int code)
{
    TranslatedMessageBox(key, "Err", MsgIconWarning);
    return code;
}
}  // namespace

int SavePictureFile(const AnsiString& name, UDBuffer* picture, GFXSaveParams* params)
{
    BusyCursor busy;
    GFXtra32 extra = {0, 0, uint32_t(ForeColour()), uint32_t(BackColour())};
    AnsiString target;
    bool backedUp = false;
    bool written = false;
    try {
        if (picture == &BrushSavePicture) PrepareBrushSave(extra);
        GFXSaveParams p;
        std::memset(&p, 0, sizeof p);
        if (params) p = *params;
        GFXFile* format = p.format;
        target = SaveTargetName(name.Trim(), format);
        p.format = format;
        // Before the backup: renaming would carry a read-only file aside
        // and let the save put a new one in its place.
        TReplacingFile::RefuseReadOnly(target);
        backedUp = MakeBackup(target);
        ClearMarks(*picture);
        // Pixmill writes beside the target and replaces it only when the
        // whole file was written.
        written = GFXFile::Save(*picture, target, &extra, &p);
    } catch (EInvalidImage&) {
        UndoBackup(target, backedUp);
        return SaveFailed("ErrSaveImgForm", SaveCannotHold);
    } catch (...) {
        UndoBackup(target, backedUp);
        return SaveFailed("ErrSaveImg", SaveWriteError);
    }
    if (!written) {
        UndoBackup(target, backedUp);
        SetImageStatus("OpCanceled");
        return SaveCancelled;
    }
    SetImageStatus("ImgSaved");
    if (picture != &BrushSavePicture) AddRecent(FullPathName(target), 0);
    picture->fileName = target;
    picture->modified = 0;
    picture->noFile = 0;
    return SaveOk;
}
