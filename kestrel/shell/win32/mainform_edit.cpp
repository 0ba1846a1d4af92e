// The Edit menu: undo and redo, the selection commands and the clipboard.
// Pictures go out as a 32-bit CF_DIB whose fourth byte keeps the flag byte,
// and come in through the picture decoder straight from the clipboard's
// block, after the block was measured.
#include "mainform.h"

#include <new>

#include "clipboard.h"
#include "clipboard_dib.h"
#include "clipboard_pixels.h"
#include "customfilter.h"
#include "edit_commands.h"
#include "ffactform.h"
#include "fixed_memory_stream.h"
#include "bmpfile.h"
#include "gfxfile.h"
#include "imageform.h"
#include "imagekeys.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "toolbuttons.h"
#include "toolmanager.h"
#include "undo_entry.h"
#include "undo_settings.h"

namespace {

// Runs a command on the current picture with the tool parked around it.
template <class Work> void OnCurrentPicture(Work work)
{
    if (!CurrentPicture || !CurrentImageForm) return;
    SuspendTool();
    try {
        work(CurrentPicture);
    } catch (...) {
        ResumeTool();
        throw;
    }
    ResumeTool();
    CurrentImageForm->UpdateView();
}

AnsiString StepCaption(const char* menuKey, UndoEntry* step)
{
    if (!step) return Translate(menuKey);
    return Translate(menuKey) + " " + Translate(step->key);
}

// False when the block did not reach the clipboard; the user was told.
bool PutDibOnClipboard(const std::vector<unsigned char>& dib)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, dib.size());
    void* at = block ? GlobalLock(block) : nullptr;
    if (!at) {
        if (block) GlobalFree(block);
        TranslatedMessageBox("NoMem", "Err", MB_ICONWARNING);
        return false;
    }
    memcpy(at, dib.data(), dib.size());
    GlobalUnlock(block);
    // Another program may keep the clipboard open.
    try {
        Clipboard()->Open();
    } catch (EClipboardException&) {
        GlobalFree(block);
        TranslatedMessageBox("ErrClp", "Err", MB_ICONWARNING);
        return false;
    }
    bool put = true;
    try {
        Clipboard()->Clear();
        // Frees the block when it cannot be put.
        Clipboard()->SetAsHandle(CF_DIB, block);
    } catch (EClipboardException&) {
        put = false;
    }
    Clipboard()->Close();
    if (!put) TranslatedMessageBox("ErrClp", "Err", MB_ICONWARNING);
    return put;
}

// The area Copy takes to the clipboard. False when nothing went there
// (no selection, or the user was told why), so that Cut takes nothing away.
bool CopyArea(UDBuffer* pic)
{
    if (!InstBrush && !pic->HasSelection()) return false;
    Rect area = InstBrush ? pic->GetRect() : pic->SelectionRect();
    std::vector<unsigned char> dib;
    try {
        dib = ClipboardDibFromPicture(*pic, area, InstBrush);
    } catch (std::bad_alloc&) {
        TranslatedMessageBox("NoMem", "Err", MB_ICONWARNING);
        return false;
    }
    return !dib.empty() && PutDibOnClipboard(dib);
}

// The decoder reports nothing while reading the clipboard: its progress
// would flash over a paste that takes no time.
struct QuietDecoder {
    QuietDecoder() { GFXFile::SetProgFunc(nullptr, nullptr, nullptr); }
    ~QuietDecoder() { InstallProgressHooks(); }
};

// The picture on the clipboard, or false when there is none or it cannot
// be read. The block is read where it lies, only as far as it reaches.
bool DecodeClipboardBlock(HGLOBAL block, Buffer& pasted)
{
    SIZE_T size = GlobalSize(block);
    const unsigned char* data = static_cast<const unsigned char*>(GlobalLock(block));
    if (!data) return false;
    bool ok = false;
    try {
        ClipboardDibLayout layout;
        int usable = size > 0x7FFFFFFF ? 0x7FFFFFFF : int(size);
        if (MeasureClipboardDib(data, usable, layout)) {
            TFixedMemoryStream bits(data + layout.infoBytes, layout.bitsBytes);
            BITMAPINFO* info = reinterpret_cast<BITMAPINFO*>(const_cast<unsigned char*>(data));
            QuietDecoder quiet;
            ok = BitmapFromStream(pasted, info, &bits, nullptr);
            const BITMAPINFOHEADER& h = info->bmiHeader;
            if (ok && h.biBitCount == 32 && h.biCompression == BI_RGB)
                RestoreClipboardKeys(pasted, data + layout.infoBytes, layout.bitsBytes, h.biHeight > 0);
        }
    } catch (Exception&) {
        ok = false;
    }
    GlobalUnlock(block);
    return ok;
}

bool ReadClipboardPicture(Buffer& pasted)
{
    try {
        Clipboard()->Open();
    } catch (EClipboardException&) {
        return false;
    }
    bool ok = false;
    try {
        HANDLE block = Clipboard()->GetAsHandle(CF_DIB);
        ok = block && DecodeClipboardBlock(static_cast<HGLOBAL>(block), pasted);
    } catch (...) {
        Clipboard()->Close();
        throw;
    }
    Clipboard()->Close();
    return ok;
}

}  // namespace

void TMainForm::BuildEditMenu()
{
    Undo1 = NewItem(Edit1, "Undo1", "&Undo", [this](TObject* s) { Undo1Click(s); });
    Redo1 = NewItem(Edit1, "Redo1", "&Redo", [this](TObject* s) { Redo1Click(s); });
    NewItem(Edit1, "", "-", nullptr);
    NewItem(Edit1, "Cut1", "Cu&t", [this](TObject* s) { Cut1Click(s); });
    NewItem(Edit1, "Copy1", "&Copy", [this](TObject* s) { Copy1Click(s); });
    Paste1 = NewItem(Edit1, "Paste1", "&Paste", [this](TObject* s) { Paste1Click(s); });
    NewItem(Edit1, "Delete1", "&Delete", [this](TObject* s) { Delete1Click(s); });
    NewItem(Edit1, "", "-", nullptr);
    NewItem(Edit1, "ClearSel1", "C&lear Selection", [this](TObject* s) { ClearSel1Click(s); });
    NewItem(Edit1, "InvertSel1", "&Invert Selection", [this](TObject* s) { InvertSel1Click(s); });
    Edit1->OnClick = [this](TObject* s) { Edit1Click(s); };
}

// The tool bar's step buttons and the image windows' clipboard keys.
void TMainForm::LinkEditCommands()
{
    UndoBtn->OnClick = [this](TObject* s) { Undo1Click(s); };
    RedoBtn->OnClick = [this](TObject* s) { Redo1Click(s); };
    ImageWindowHost.command = [this](ImageKey key) { EditKey(key); };
}

// The clipboard keys belong to a filter's own preview while one is current,
// and to a main-window control (a spin edit, say) that has the focus.
bool TMainForm::EditKeysTaken()
{
    if (CurrentTool == &FF_filter || CurrentTool == &CustomFilterTool) return true;
    HWND focus = GetFocus();
    return focus && focus != GetHandle() && IsChild(GetHandle(), focus);
}

void TMainForm::EditKey(ImageKey key)
{
    if (EditKeysTaken()) return;
    switch (key) {
    case ImageKey::Paste: Paste1Click(this); break;
    case ImageKey::Cut: Cut1Click(this); break;
    case ImageKey::Copy: Copy1Click(this); break;
    case ImageKey::DeleteSelected: Delete1Click(this); break;
    default: break;
    }
}

void TMainForm::Edit1Click(TObject*)
{
    Paste1->SetEnabled(IsClipboardFormatAvailable(CF_BITMAP) != 0);
    UndoEntry* undo = CurrentPicture ? CurrentPicture->undoHead : nullptr;
    UndoEntry* redo = CurrentPicture ? CurrentPicture->redoHead : nullptr;
    Undo1->SetCaption(StepCaption("UndoMenu", undo));
    Undo1->SetEnabled(undo && ToolPhase == PhaseIdle);
    Redo1->SetCaption(StepCaption("RedoMenu", redo));
    Redo1->SetEnabled(redo && ToolPhase == PhaseIdle);
}

void TMainForm::Undo1Click(TObject*)
{
    if (ToolPhase != PhaseIdle) return;
    CloseIconPanel();
    OnCurrentPicture([](UDBuffer* pic) { UDBuffer::Undo(pic, true); });
    UpdateImageCaption();
}

void TMainForm::Redo1Click(TObject*)
{
    if (ToolPhase != PhaseIdle) return;
    CloseIconPanel();
    OnCurrentPicture([](UDBuffer* pic) { UDBuffer::Redo(pic); });
    UpdateImageCaption();
}

void TMainForm::ClearSel1Click(TObject*)
{
    OnCurrentPicture([](UDBuffer* pic) { ClearSelection(pic); });
}

void TMainForm::InvertSel1Click(TObject*)
{
    OnCurrentPicture([](UDBuffer* pic) { InvertSelection(pic); });
}

void TMainForm::Copy1Click(TObject*)
{
    OnCurrentPicture([](UDBuffer* pic) { CopyArea(pic); });
}

void TMainForm::Delete1Click(TObject*) { DeleteSelection("DeleteImg"); }

// What did not reach the clipboard stays in the picture.
void TMainForm::Cut1Click(TObject*)
{
    bool copied = false;
    OnCurrentPicture([&copied](UDBuffer* pic) { copied = CopyArea(pic); });
    if (copied) DeleteSelection("CutImg");
}

void TMainForm::DeleteSelection(const char* stepName)
{
    OnCurrentPicture([stepName](UDBuffer* pic) { DeleteSelected(pic, stepName, BackColour()); });
}

void TMainForm::Paste1Click(TObject*)
{
    OnCurrentPicture([](UDBuffer* pic) {
        if (!UDBuffer::SaveUndo(pic, "PasteImg", nullptr, -1, 0, 0, 0)) return;
        Buffer pasted;
        if (!ReadClipboardPicture(pasted)) {
            TranslatedMessageBox("ErrClp", "Err", MB_ICONWARNING);
            return;
        }
        PasteIntoPicture(pic, pasted, InstBrush);
    });
}
