// The program's image windows: creating one, the list of at most 32, the
// current one, closing and destruction, and what the tool framework and the
// picture document reach through them.
#include <algorithm>
#include <cstring>
#include <vector>

#include "application.h"
#include "brushstate.h"
#include "dragtimer.h"
#include "exceptions.h"
#include "imageform.h"
#include "imagetitle.h"
#include "imagewindow_glue.h"
#include "imagewindow_host.h"
#include "messages.h"
#include "paintkit.h"
#include "pictureview.h"
#include "sysutils.h"
#include "toolmanager.h"
#include "userlevel.h"

TImageForm* CurrentImageForm = nullptr;

namespace {
std::vector<TImageForm*>& Forms()
{
    static std::vector<TImageForm*> forms;
    return forms;
}

AnsiString PaintModeLetter()
{
    static const char* letters[] = {"P", "C", "R"};
    return BrushState.paintMode < 3 ? letters[BrushState.paintMode] : "";
}

// Where a new window goes: under the main window when there is no window
// or the current one is a fresh, untouched start-up picture; else one step
// down and right of the current one.
POINT NewWindowPlace()
{
    TImageForm* cur = CurrentImageForm;
    if (Forms().empty() || !cur || (cur->Fresh && cur->Picture.modified == 0)) {
        int left = 0, top = 0, height = 0;
        if (ImageWindowHost.mainWindowBounds && ImageWindowHost.mainWindowBounds(left, top, height))
            return POINT{std::max(left, 0), top + height - 1};
        return POINT{0, 0};
    }
    int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) + 4;
    return POINT{cur->GetLeft() + step, cur->GetTop() + step};
}

void ClearPicture(UDBuffer& pic)
{
    for (int y = pic.top; y <= pic.bottom; ++y)
        std::memset(pic.At(pic.left, y), 0, size_t(pic.Width()) * sizeof(unsigned long));
}

}  // namespace

int ImageFormCount() { return int(Forms().size()); }

TImageForm* GetImageForm(int index)
{
    return index >= 0 && index < ImageFormCount() ? Forms()[size_t(index)] : nullptr;
}

int ImageMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags)
{
    if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
    if (Application) return Application->MessageBox(text, caption, flags);
    return IDCANCEL;  // nobody to ask: nothing is given up
}

void RouteMessagesToApplication()
{
    if (MessageBoxHook || !Application) return;
    MessageBoxHook = [](const AnsiString& text, const AnsiString& caption, unsigned flags) {
        return Application ? Application->MessageBox(text, caption, flags) : IDOK;
    };
}

namespace {
// A cleared picture that has no file yet. False when it cannot be had.
bool MakeBlankPicture(UDBuffer& pic, int width, int height, const AnsiString& name)
{
    try {
        pic.Alloc(Pair<int>{width, height});
    } catch (EOutOfMemory&) {
        return false;
    }
    ClearPicture(pic);
    pic.modified = 0;
    pic.noFile = 1;
    pic.fileName = name;
    if (name.IsEmpty()) pic.untitledNumber = UntitledCounter++;
    return true;
}

// The new window joins the list as the current one.
void Enlist(TImageForm* f)
{
    Forms().push_back(f);
    AddImagePicture(&f->Picture);
    f->Index = ImageFormCount() - 1;
    CurrentImageForm = f;
    CurrentPicture = &f->Picture;
}
}  // namespace

TImageForm* CreateImageWindow(int width, int height, const AnsiString& name)
{
    if (width < 1 || height < 1)
        throw EInvalidOperation("Picture size must be at least 1 x 1 (" + IntToStr(width) + " x " +
                                IntToStr(height) + ")");
    RouteMessagesToApplication();
    if (ImageFormCount() >= MaxImageForms) {
        TranslatedMessageBox("NoMem", "Err", MB_ICONEXCLAMATION);
        return nullptr;
    }
    InstallImageWindowServices();
    POINT place = NewWindowPlace();
    TImageForm* f = NewForm<TImageForm>(Application);
    f->SetBounds(place.x, place.y, f->GetWidth(), f->GetHeight());
    if (!MakeBlankPicture(f->Picture, width, height, name)) {
        delete f;  // nothing else has changed
        TranslatedMessageBox("NoMem", "Err", MB_ICONEXCLAMATION);
        return nullptr;
    }
    f->ShowBuf->SetBuffer(&f->Picture);
    TImageForm* previous = CurrentImageForm;
    if (previous) previous->SetStatusText(0, "");
    if (previous && previous->GetWindowState() == wsMaximized) f->SetWindowState(wsMaximized);
    Enlist(f);
    f->FitToPicture();
    f->ShowBuf->SetCursor(CurrentTool->cursor);
    f->SetStatusText(0, PaintModeLetter());
    SetVisibleClip();
    f->ShowLevelControls();
    f->TranslateToggleHints();
    if (ImageWindowHost.addWindowMenuItem) ImageWindowHost.addWindowMenuItem(f->Index, ImageTitle(f->Picture));
    f->UpdateCaption(CaptionAuto);
    UpdateImageCaptions();
    return f;
}

void ActivateImageWindow(int index)
{
    TImageForm* f = GetImageForm(index);
    if (!f || f == CurrentImageForm) return;
    GetDragTimer().Stop();
    SuspendTool();
    TImageForm* old = CurrentImageForm;
    bool wasMaximised = old && old->GetWindowState() == wsMaximized;
    if (old) old->SetStatusText(0, "");
    CurrentImageForm = f;
    f->SetStatusText(0, PaintModeLetter());
    if (ImageWindowHost.showZoomStep) ImageWindowHost.showZoomStep(f->ZoomStep);
    CurrentPicture = &f->Picture;
    SetVisibleClip();
    f->UpdateView();
    if (wasMaximised)
        f->SetWindowState(wsMaximized);
    else if (f->GetWindowState() == wsMinimized)
        f->SetWindowState(wsNormal);
    if (f->GetVisible()) SetForegroundWindow(f->GetHandle());
    ResumeTool();
    RepaintPictureView(&f->Picture);
    UpdateImageCaptions();
}

// ---- the window's own part of activation and closing

void TImageForm::FormActivate(TObject*)
{
    ActivateImageWindow(Index);
    if (AlwaysDock && GetWindowState() != wsMinimized) GatherDockedBars(true);
    if (ImageWindowHost.clearActiveControl) ImageWindowHost.clearActiveControl();
}

// A modified picture is saved or given up only as the user says; a save
// that fails or is cancelled keeps the window (and stops a shut-down).
void TImageForm::FormCloseQuery(TObject*, bool& CanClose)
{
    if (ImageWindowHost.operationRunning && ImageWindowHost.operationRunning()) {
        CanClose = false;
        return;
    }
    if (Picture.modified == 0) return;
    int answer = ImageMessageBox(CloseQuestionText(Picture, Index), Translate("Warn"),
                                 MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDNO) {
        Picture.modified = 0;
        return;
    }
    if (answer == IDYES && ImageWindowHost.saveCurrentPicture) {
        TImageForm* form = CurrentImageForm;
        UDBuffer* pic = CurrentPicture;
        CurrentImageForm = this;
        CurrentPicture = &Picture;
        try {
            ImageWindowHost.saveCurrentPicture();
        } catch (...) {
            CurrentImageForm = form;
            CurrentPicture = pic;
            throw;
        }
        CurrentImageForm = form;
        CurrentPicture = pic;
    }
    CanClose = Picture.modified == 0;
    if (!CanClose) ClosingCancelled = true;
}

void TImageForm::FormClose(TObject*, TCloseAction& Action) { Action = caFree; }

void TImageForm::FormDestroy(TObject*)
{
    auto& forms = Forms();
    auto it = std::find(forms.begin(), forms.end(), this);
    if (it == forms.end()) return;  // never listed (its picture could not be made)
    bool wasCurrent = CurrentImageForm == this;
    if (wasCurrent) SuspendTool();
    if (ImageWindowHost.registerDockForm) ImageWindowHost.registerDockForm(this, false);
    if (ImageWindowHost.removeWindowMenuItem) ImageWindowHost.removeWindowMenuItem(Index);
    forms.erase(it);
    for (int i = Index; i < ImageFormCount(); ++i) forms[size_t(i)]->Index = i;
    RemoveImagePicture(&Picture);
    GlueImageWindows();  // no link may point here any more
    HandOnBars(wasCurrent);
    if (!wasCurrent) return;
    // Nothing may reach the freed picture through these meanwhile.
    CurrentImageForm = nullptr;
    CurrentPicture = nullptr;
    if (!forms.empty())
        ActivateImageWindow(std::min(Index, ImageFormCount() - 1));
    else if (ImageWindowHost.postNewImage)
        ImageWindowHost.postNewImage();
}
