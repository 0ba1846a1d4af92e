// The main window's own messages: maximised size, snapping, the input
// language, minimising, and the private messages of start-up, the browser
// and the filter components.
#include "mainform.h"

#include "appsettings.h"
#include "application.h"
#include "browseform.h"
#include "geometry_winapi.h"
#include "mainmessages.h"
#include "imageform.h"
#include "main_window_snap.h"
#include "optionbar.h"
#include "saved_positions.h"
#include "toolmanager.h"

void TMainForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(Message);
        return;
    case WM_INPUTLANGCHANGE:
        if (SharedFont) SharedFont->SetCharset(static_cast<int>(Message.WParam));
        break;
    case WM_MOVING:
        WMMoving(Message);
        break;
    case WM_SIZE:
        if (Message.WParam == SIZE_MINIMIZED) ApplicationMinimized(true);
        else if (!hiddenOnMinimize_.empty()) ApplicationMinimized(false);
        break;
    case UM_BROWSERREFRESH:
        if (Message.WParam == 100) RefreshBrowser();
        Message.Result = 0;
        return;
    case UM_SHOWTIP:
    case UM_STARTED:
    case UM_NEWIMAGE:
        StartMessage(Message);
        return;
    default:
        if (Message.Msg >= UM_COMPPREVIEW && Message.Msg <= UM_COMPNOTIFYOFF) {
            ComponentMessage(Message);
            return;
        }
    }
    TForm::WndProc(Message);
}

void TMainForm::WMGetMinMaxInfo(TMessage& Message)
{
    TForm::WndProc(Message);
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    MaximisedPlace place = MaximisedMainWindow(ToTRect(WorkArea));
    info->ptMaxPosition.x = place.left;
    info->ptMaxPosition.y = place.top;
    info->ptMaxSize.x = place.width;
    info->ptMaxSize.y = GetHeight();
    Message.Result = 0;
}

void TMainForm::WMMoving(TMessage& Message)
{
    RECT* proposed = reinterpret_cast<RECT*>(Message.LParam);
    std::vector<int> imageTops;
    for (int i = 0; i < ImageFormCount(); ++i) imageTops.push_back(GetImageForm(i)->GetTop());
    TRect r = ToTRect(*proposed);
    SnapToWorkArea(r, ToTRect(WorkArea), MainWindowSnap, imageTops);
    *proposed = ToRECT(r);
}

// Minimising the program hides the image windows (they are top-level windows
// of their own); restoring shows again exactly those it hid.
void TMainForm::ApplicationMinimized(bool minimized)
{
    if (minimized) {
        hiddenOnMinimize_.clear();
        for (int i = 0; i < ImageFormCount(); ++i) {
            HWND h = GetImageForm(i)->GetHandle();
            if (IsWindowVisible(h)) {
                ShowWindow(h, SW_HIDE);
                hiddenOnMinimize_.push_back(h);
            }
        }
        return;
    }
    std::vector<HWND> hidden;
    hidden.swap(hiddenOnMinimize_);
    for (HWND h : hidden)
        if (IsWindow(h)) ShowWindow(h, SW_SHOWNOACTIVATE);
}

void TMainForm::StartMessage(TMessage& Message)
{
    Message.Result = 0;
    if (Message.Msg == UM_SHOWTIP) {
        Show();
        Tod1Click(nullptr);
    } else if (Message.Msg == UM_STARTED) {
        RestoreToolbarPositions();
    } else if (!Closing) {
        if (OpenBlankPicture()) ResumeTool();
    }
}
