// The Window menu, the activity timer, the bars (visibility, the floating
// tool windows' snapping, the grid bar) and the small handlers that
// forward to the image windows.
#include "mainform.h"

#include <algorithm>

#include "application.h"
#include "filledshapes.h"
#include "geometry_winapi.h"
#include "imageform.h"
#include "imagewindow_glue.h"
#include "imagetitle.h"
#include "main_window_snap.h"
#include "optionbar.h"
#include "pictureview.h"
#include "spray.h"
#include "toolmanager.h"
#include "userlevel.h"

void TMainForm::WindowMenuClick(TObject*)
{
    while (Window1->GetCount() > WindowMenuFixed) {
        TMenuItem* item = Window1->GetItem(Window1->GetCount() - 1);
        Window1->Delete(Window1->GetCount() - 1);
        delete item;
    }
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        AnsiString caption = AnsiString("[") + (i < 9 ? " " : "") + AnsiString(i + 1) + "] " + ImageTitle(f->Picture);
        TMenuItem* item = new TMenuItem(this);
        item->SetCaption(caption);
        item->SetTag(i);
        item->SetChecked(f == CurrentImageForm);
        item->OnClick = [this](TObject* s) { ActivateImageMenuItem(s); };
        Window1->Add(item);
    }
}

void TMainForm::ActivateImageMenuItem(TObject* Sender)
{
    ActivateImageWindow(static_cast<TMenuItem*>(Sender)->GetTag());
}

void TMainForm::PrevImage1Click(TObject*)
{
    int n = ImageFormCount();
    if (n == 0 || !CurrentImageForm) return;
    ActivateImageWindow((CurrentImageForm->Index + n - 1) % n);
}

void TMainForm::NextImage1Click(TObject*)
{
    int n = ImageFormCount();
    if (n == 0 || !CurrentImageForm) return;
    ActivateImageWindow((CurrentImageForm->Index + 1) % n);
}

void TMainForm::Cascade1Click(TObject*)
{
    int x = GetLeft(), y = GetTop() + GetHeight() - 1;
    auto place = [&](TImageForm* f) {
        f->SetBounds(x, y, f->GetWidth(), f->GetHeight());
        x += CaptionHeight;
        y += CaptionHeight;
        if (x > WorkArea.right - 96 || y > WorkArea.bottom - CaptionHeight) {
            x = GetLeft();
            y = GetTop() + GetHeight() - 1;
        }
    };
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        if (f != CurrentImageForm && f->GetWindowState() != wsMinimized) place(f);
    }
    if (CurrentImageForm) {
        place(CurrentImageForm);
        SetForegroundWindow(CurrentImageForm->GetHandle());
    }
}

void TMainForm::FitToImage1Click(TObject*)
{
    if (CurrentImageForm) CurrentImageForm->FitToPicture();
}

void TMainForm::ToolbarVisibClick(TObject*)
{
    Toolbar->SetVisible(!Toolbar->GetVisible());
    ToolbarVisib->SetChecked(Toolbar->GetVisible());
}

void TMainForm::PaletteVisibClick(TObject*)
{
    Palettebar->SetVisible(!Palettebar->GetVisible());
    PaletteVisib->SetChecked(Palettebar->GetVisible());
}

void TMainForm::Contents1Click(TObject*) { Application->HelpCommand(HELP_FINDER, 0); }

// Called after every tool switch: the client area is exactly the bottom
// dock's rows, and nothing is moved when nothing changed. The width only
// grows, to the widest docked bar: a maximised window spans the screen.
void TMainForm::FitMainWindowToDock()
{
    if (fitting_) return;
    fitting_ = true;
    int widest = 0;
    for (int i = 0; i < Dock->GetToolbarCount(); ++i) widest = std::max(widest, Dock->GetToolbars(i)->GetWidth());
    if (widest > GetClientWidth() && GetWindowState() != wsMaximized) SetClientWidth(widest);
    int height = Dock->GetHeight();
    int delta = height - GetClientHeight();
    if (delta != 0) {
        SetClientHeight(height);
        for (int i = 0; i < ImageFormCount(); ++i) {
            TImageForm* f = GetImageForm(i);
            if (f->GetTop() == GetTop() + GetHeight() - delta) f->SetTop(f->GetTop() + delta);
        }
    }
    fitting_ = false;
}

void TMainForm::SetToolbarsFloatingMode(bool onTopOfMainForm)
{
    TToolWindowFloatingMode mode = onTopOfMainForm ? fmOnTopOfParentForm : fmOnTopOfAllForms;
    Toolbar->SetFloatingMode(mode);
    Palettebar->SetFloatingMode(mode);
}

namespace {

TRect ScreenRectOf(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return ToTRect(r);
}

}  // namespace

void TMainForm::ToolPanelMove(TObject* Sender)
{
    TCustomToolWindow* bar = dynamic_cast<TCustomToolWindow*>(Sender);
    if (snappingTool_ || !bar || !bar->IsFloating()) return;
    POINT at = bar->GetFloatingPosition();
    TRect r = {at.x, at.y, at.x + bar->GetWidth(), at.y + bar->GetHeight()};
    std::vector<TRect> images;
    for (int i = 0; i < ImageFormCount(); ++i) {
        TImageForm* f = GetImageForm(i);
        if (f->HandleAllocated() && IsWindowVisible(f->GetHandle())) images.push_back(ScreenRectOf(f->GetHandle()));
    }
    SnapToolWindow(r, ToTRect(WorkArea),
                   ScreenRectOf(GetHandle()), images);
    if (r.Left == at.x && r.Top == at.y) return;
    // The snapped place moves the window again, which must not snap anew.
    struct Guard {
        bool& flag;
        explicit Guard(bool& f) : flag(f) { flag = true; }
        ~Guard() { flag = false; }
    } guard(snappingTool_);
    bar->SetFloatingPosition(POINT{r.Left, r.Top});
}

void TMainForm::ShowGridBar(bool shown)
{
    Dock->BeginUpdate();
    if (shown) GridBar->SetDockRow(1);
    GridBar->SetEnabled(shown);
    for (int i = 0; i < GridBar->GetControlCount(); ++i) {
        TControl* c = GridBar->GetControl(i);
        bool reached = Level >= (c->GetTag() >> 12);
        if (shown) c->SetVisible(reached);
        c->SetEnabled(shown && reached);
    }
    GridBar->SetVisible(shown);
    Dock->EndUpdate();
    FitMainWindowToDock();
}

void TMainForm::ActivateIconFunc(TObject*)
{
    TImageForm* f = CurrentImageForm;
    bool idle = f && ToolPhase == PhaseIdle;
    UndoBtn->SetEnabled(idle && f->Picture.undoHead);
    RedoBtn->SetEnabled(idle && f->Picture.redoHead);
    GlueImageWindowsWhenMarked();
    if (!f || CurrentPicture != &f->Picture) return;
    StepSprayTool();
    ShowPolygonCloseCursor();
    if (++ActivityTicks >= 3) {
        ActivityTicks = 0;
        if (f->Picture.HasSelection()) f->Picture.DrawMarchingAnts(true);
    }
}
