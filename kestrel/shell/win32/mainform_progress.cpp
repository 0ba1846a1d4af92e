// Progress of long operations in the current image window's status bar.
// The hooks are re-entered through message processing while an operation
// runs; the main window and its two tool windows are disabled meanwhile so
// that no second command starts.
#include "mainform.h"

#include "application.h"
#include "gfxfile.h"
#include "imageform.h"
#include "messages.h"

unsigned char ProgressCancelFlag = 1;

namespace {

DWORD startTick = 0, lastStepTick = 0, lastRepaintTick = 0;

void EnableMainWindows(bool enable)
{
    if (!MainForm) return;
    EnableWindow(MainForm->GetHandle(), enable);
    MainForm->Toolbar->SetEnabled(enable);
    MainForm->Palettebar->SetEnabled(enable);
}

void PixmillBegin() { BeginProgress(100); }

bool PixmillStep(int pos)
{
    StepProgress(pos);
    TImageForm* f = CurrentImageForm;
    if (f && f->CancelProgressBtn->GetVisible()) Application->ProcessMessages();
    return !ProgressCancelFlag;
}

void PixmillEnd() { EndProgress(); }

}  // namespace

void BeginProgress(int max)
{
    startTick = lastRepaintTick = lastStepTick = GetTickCount();
    if (TImageForm* f = CurrentImageForm) {
        TStripProgress* bar = f->ProgressBar;
        bar->SetMax(max);
        bar->SetPosition(0);
        int left = f->CancelProgressBtn->GetVisible()
                       ? f->CancelProgressBtn->GetLeft() + f->CancelProgressBtn->GetWidth()
                       : 0;
        bar->SetBounds(left, bar->GetTop(), f->StatusBar->GetClientWidth() - left, bar->GetHeight());
        bar->SetVisible(true);
    }
    ProgressCancelFlag = 0;
    EnableMainWindows(false);
}

void StepProgress(int pos)
{
    DWORD now = GetTickCount();
    TImageForm* f = CurrentImageForm;
    if (!f) return;
    if (now - lastStepTick > 100) {
        lastStepTick = now;
        f->ProgressBar->SetPosition(pos);
    }
    if (now - lastRepaintTick > 2000) {
        lastRepaintTick = now;
        f->ShowBuf->Repaint();
    }
}

void EndProgress()
{
    double seconds = (GetTickCount() - startTick) * 0.001;
    if (TImageForm* f = CurrentImageForm) {
        f->ProgressBar->SetVisible(false);
        AnsiString text;
        text.sprintf("%s %6.2f %s", Translate("ProcIn").c_str(), seconds, Translate("Sec").c_str());
        f->SetStatusText(3, text);
        f->StatusBar->Repaint();
    }
    ProgressCancelFlag = 1;
    EnableMainWindows(true);
}

void InstallProgressHooks() { GFXFile::SetProgFunc(PixmillBegin, PixmillStep, PixmillEnd); }
