// The image window: its parts, zoom, view placement, caption and status.
// Mouse input is in imageform_mouse.cpp, keys in imageform_keys.cpp, and
// the list of windows with their creation, closing and activation in
// imagewindows.cpp.
#include "imageform.h"

#include <algorithm>

#include "brushstate.h"
#include "cut_tools.h"
#include "imagelayout.h"
#include "imagetitle.h"
#include "imagewindow_host.h"
#include "imagezoom.h"
#include "messages.h"
#include "paintkit.h"
#include "paintkit_host.h"
#include "tool_window.h"
#include "toolmanager.h"
#include "undo_settings.h"
#include "userlevel.h"

namespace {
const int PanelWidths[] = {44, 72, 110, 50};
const int ToggleSize = 14;
const int TogglesRoom = 2 * ToggleSize;
}  // namespace

TImageForm::TImageForm(TComponent* AOwner) : TForm(AOwner)
{
    SetKeyPreview(true);
    SetShowHint(true);
    SetBounds(0, 0, 320, 240);
    BuildComponents();
    OnActivate = [this](TObject* s) { FormActivate(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](TObject* s, TCloseAction& action) { FormClose(s, action); };
    OnDestroy = [this](TObject* s) { FormDestroy(s); };
    OnKeyDown = [this](TObject* s, WORD& key, TShiftState shift) { HotKeys(s, key, shift); };
    OnKeyUp = [this](TObject* s, WORD& key, TShiftState shift) { FormKeyUp(s, key, shift); };
    if (ImageWindowHost.registerDockForm) ImageWindowHost.registerDockForm(this, true);
}

TImageForm::~TImageForm()
{
    // OnDestroy needs the picture, which goes before the base class fires it.
    BeforeDestruction();
    ShowBuf->SetBuffer(nullptr);
}

void TImageForm::BuildComponents()
{
    Cap = new TGradientCaption(this);
    BuildStatusBar();
    LeftDock = new TDock(this);
    LeftDock->SetParent(this);
    LeftDock->SetPosition(dpLeft);
    LeftDock->SetLimitToOneRow(true);
    RightDock = new TDock(this);
    RightDock->SetParent(this);
    RightDock->SetPosition(dpRight);
    ImagePanel = new TPanel(this);
    ImagePanel->SetParent(this);
    ImagePanel->SetAlign(alClient);
    ImagePanel->SetBevelOuter(bvNone);

    MaxSize = new TEventScrollBox(this);
    MaxSize->SetParent(ImagePanel);
    MaxSize->SetAlign(alClient);
    MaxSize->SetAutoScroll(false);
    MaxSize->GetHorzScrollBar()->SetTracking(true);
    MaxSize->GetVertScrollBar()->SetTracking(true);
    MaxSize->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        MaxSizeMouseDown(s, b, sh, x, y);
    };
    MaxSize->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { ClearMouseCoords2(s, sh, x, y); };
    MaxSize->OnResize = [this](TObject* s) { MaxSizeResize(s); };
    MaxSize->OnScrollHorz = [this](TObject* s) { MaxSizeScroll(s); };
    MaxSize->OnScrollVert = [this](TObject* s) { MaxSizeScroll(s); };

    ShowBuf = new TBuffer(this);
    ShowBuf->SetParent(MaxSize);
    ShowBuf->GetCanvas()->GetPen()->SetColor(0x8F8F8F);
    ShowBuf->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ShowBufMouseDown(s, b, sh, x, y);
    };
    ShowBuf->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { StoreMouseCoords(s, sh, x, y); };
    ShowBuf->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
        ShowBufMouseUp(s, b, sh, x, y);
    };
    ShowBuf->OnMouseLeave = [this](TObject* s) { ClearMouseCoords(s); };
    ShowBuf->OnPaint = [this](TObject* s) { ShowBufPaint(s); };
}

void TImageForm::BuildStatusBar()
{
    StatusBar = new TFriendlyStatusBar(this);
    StatusBar->SetParent(this);
    for (int i = 0; i < 4; ++i) {
        TStatusPanel* panel = StatusBar->GetPanels()->Add();
        panel->SetWidth(PanelWidths[i]);
        if (i == 1 || i == 2) panel->SetAlignment(taCenter);
    }
    CancelProgressBtn = new TSpeedButton(this);
    CancelProgressBtn->SetParent(StatusBar);
    CancelProgressBtn->SetCaption("Cancel");
    CancelProgressBtn->SetBounds(PanelWidths[0] + 2, 2, 50, 16);
    CancelProgressBtn->SetVisible(false);
    CancelProgressBtn->OnClick = [this](TObject* s) { CancelProgressBtnClick(s); };

    AntiAliasBtn = new TToolbarButton(this);
    InstBrushBtn = new TToolbarButton(this);
    TToolbarButton* toggles[] = {AntiAliasBtn, InstBrushBtn};
    for (int i = 0; i < 2; ++i) {
        toggles[i]->SetParent(StatusBar);
        toggles[i]->SetBounds(14 + i * ToggleSize, 3, ToggleSize, ToggleSize);
        toggles[i]->SetGroupIndex(100 + i);  // each is a group of its own
        toggles[i]->SetAllowAllUp(true);
    }
    AntiAliasBtn->SetDown(AntiAlias);
    InstBrushBtn->SetDown(InstBrush);
    AntiAliasBtn->OnClick = [this](TObject* s) { AntiAliasBtnClick(s); };
    InstBrushBtn->OnClick = [this](TObject* s) { InstBrushBtnClick(s); };

    ProgressBar = new TStripProgress(this);
    ProgressBar->SetParent(StatusBar);
    ProgressBar->SetBounds(PanelWidths[0] + 2, 2, 150, 16);
    ProgressBar->SetVisible(false);
}

void TImageForm::SetStatusText(int panel, const AnsiString& text)
{
    StatusBar->GetPanels()->GetItems(panel)->SetText(text);
}

void TImageForm::ShowLevelControls()
{
    bool expert = Level == LevelExpert;
    AntiAliasBtn->SetVisible(expert);
    InstBrushBtn->SetVisible(expert);
    if (expert == expertLayout_) return;
    expertLayout_ = expert;
    int shift = expert ? TogglesRoom : -TogglesRoom;
    TStatusPanel* panel0 = StatusBar->GetPanels()->GetItems(0);
    panel0->SetWidth(panel0->GetWidth() + shift);
    ProgressBar->SetLeft(ProgressBar->GetLeft() + shift);
}

void TImageForm::TranslateToggleHints()
{
    AntiAliasBtn->SetHint(Translate("AABtn"));
    InstBrushBtn->SetHint(Translate("IBBtn"));
}

AnsiString TImageForm::GetStatusText(int panel) { return StatusBar->GetPanels()->GetItems(panel)->GetText(); }

void TImageForm::UpdateCaption(int mode)
{
    SetCaption(ImageCaption(Picture, mode, GetWindowState() == wsMinimized));
}

// ---- zoom and the view's place

void TImageForm::SetZoomStep(int step)
{
    StoreZoomStep(step);
    UpdateView();
}

void TImageForm::StoreZoomStep(int step)
{
    Zoom = ZoomStepFactor(step);
    ZoomStep = step;
    if (ImageWindowHost.showZoomStep) ImageWindowHost.showZoomStep(step);
}

void TImageForm::ChangeZoomStep(int step)
{
    SetZoomStep(step);
    if (Picture.HasSelection()) Picture.ScaleSelectionPath();
}

void TImageForm::UpdateView()
{
    int w = Picture.pixels ? Picture.Width() : 0, h = Picture.pixels ? Picture.Height() : 0;
    // The view's window cannot be wider than 32000 pixels, and tiny pictures
    // would vanish below 1:1.
    int longest = std::max(w, h);
    if (longest > 0 && double(longest) * Zoom > 32000)
        StoreZoomStep(ZoomStepForFactor(32000.0 / longest));
    else if ((w < 4 || h < 4) && ZoomStep < 1)
        StoreZoomStep(1);
    TControlScrollBar* hb = MaxSize->GetHorzScrollBar();
    TControlScrollBar* vb = MaxSize->GetVertScrollBar();
    int boxW = MaxSize->GetClientWidth(), boxH = MaxSize->GetClientHeight();
    bool pointerHere = CurrentImageForm == this && ViewMousePoint.x != -1;
    TPoint kept = pointerHere ? TPoint{ViewMousePoint.x, ViewMousePoint.y}
                                 : TPoint{boxW / 2 - ShowBuf->GetLeft(), boxH / 2 - ShowBuf->GetTop()};
    TPoint spot{kept.x + ShowBuf->GetLeft(), kept.y + ShowBuf->GetTop()};

    ShowBuf->SetZoom(ZoomStepCode(ZoomStep));
    hb->SetPosition(0);
    vb->SetPosition(0);
    ShowBuf->SetBounds(ShowBuf->GetLeft(), ShowBuf->GetTop(), ZoomedLength(w, ZoomStep), ZoomedLength(h, ZoomStep));
    MaxSizeResize(MaxSize);
    ScrollTo(ScrollToKeep(kept.x, spot.x, viewStep_, ZoomStep), ScrollToKeep(kept.y, spot.y, viewStep_, ZoomStep));
    viewStep_ = ZoomStep;
    if (CurrentImageForm == this) SetVisibleClip();
    ShowBuf->Invalidate();
}

void TImageForm::ScrollTo(int x, int y)
{
    MaxSize->GetHorzScrollBar()->SetPosition(x);
    MaxSize->GetVertScrollBar()->SetPosition(y);
    MaxSizeScroll(MaxSize);
}

void TImageForm::MaxSizeResize(TObject*)
{
    if (placing_) return;
    placing_ = true;
    try {
        TControlScrollBar* hb = MaxSize->GetHorzScrollBar();
        TControlScrollBar* vb = MaxSize->GetVertScrollBar();
        int x = hb->GetPosition(), y = vb->GetPosition();
        hb->SetPosition(0);
        vb->SetPosition(0);
        BoxClient bars{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
        BoxClient full{MaxSize->GetClientWidth() + (vb->IsScrollBarVisible() ? bars.width : 0),
                       MaxSize->GetClientHeight() + (hb->IsScrollBarVisible() ? bars.height : 0)};
        BoxClient box = ScrollBoxClient(full, ShowBuf->GetWidth(), ShowBuf->GetHeight(), bars);
        AxisPlacement px = PlaceViewOnAxis(box.width, ShowBuf->GetWidth());
        AxisPlacement py = PlaceViewOnAxis(box.height, ShowBuf->GetHeight());
        ShowBuf->SetBounds(px.viewOffset, py.viewOffset, ShowBuf->GetWidth(), ShowBuf->GetHeight());
        hb->SetRange(px.scrollRange);
        vb->SetRange(py.scrollRange);
        hb->SetPosition(x);
        vb->SetPosition(y);
    } catch (...) {
        placing_ = false;
        throw;
    }
    placing_ = false;
}

void TImageForm::MaxSizeScroll(TObject*)
{
    if (Clipping && CurrentImageForm == this) SetVisibleClip();
}

void TImageForm::FitToPicture()
{
    int w = Picture.pixels ? Picture.Width() : 1, h = Picture.pixels ? Picture.Height() : 1;
    bool maximised = GetWindowState() == wsMaximized;
    int frameW = GetWidth() - MaxSize->GetWidth(), frameH = GetHeight() - MaxSize->GetHeight();
    FitArea area{MaxSize->GetClientWidth(), MaxSize->GetClientHeight()};
    if (!maximised)
        area = FitAvailableArea(FitInput{w, h, Zoom, frameW, frameH, GetLeft(), GetTop(),
                                         GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    int step = ZoomStepForFactor(FitZoomFactor(area, w, h));
    StoreZoomStep(step);
    if (!maximised) {
        int emptyDocks = 0;
        if (AlwaysDock)
            for (TDock* dock : {LeftDock, RightDock}) emptyDocks += dock->GetToolbarCount() == 0;
        FitArea size =
            FitWindowSize(area, ZoomedLength(w, step), ZoomedLength(h, step), frameW, frameH, emptyDocks);
        SetBounds(GetLeft(), GetTop(), size.width, size.height);
    }
    if (CurrentImageForm == this) ViewMousePoint.x = -1;
    UpdateView();
}

// The bars docked here belong to the main window: they must not go down
// with this window. Floating, they go where they cover neither the main
// window's menu nor each other.
void TImageForm::UndockBars()
{
    bool undocked = false;
    for (TDock* dock : {LeftDock, RightDock})
        while (dock->GetToolbarCount() > 0) {
            dock->GetToolbars(dock->GetToolbarCount() - 1)->SetDockedTo(nullptr);
            undocked = true;
        }
    if (undocked && ImageWindowHost.floatMainBars) ImageWindowHost.floatMainBars();
}

// ---- painting

void TImageForm::ShowBufPaint(TObject*)
{
    if (ToolOverlayFlag && CurrentImageForm == this) CurrentTool->Paint();
    Picture.DrawMarchingAnts(false);
}

// ---- buttons

void ApplyAntiAlias()
{
    for (int i = 0; i < ImageFormCount(); ++i) GetImageForm(i)->AntiAliasBtn->SetDown(AntiAlias);
}

void ApplyInstantBrush(bool flag)
{
    for (int i = 0; i < ImageFormCount(); ++i) GetImageForm(i)->InstBrushBtn->SetDown(flag);
    // The cut tools follow the setting, not a value only being tried.
    ApplyCutMode();
}

void TImageForm::AntiAliasBtnClick(TObject*)
{
    AntiAlias = !AntiAlias;
    ApplyAntiAlias();
}

void TImageForm::InstBrushBtnClick(TObject*)
{
    InstBrush = !InstBrush;
    ApplyInstantBrush(InstBrush);
}

void TImageForm::CancelProgressBtnClick(TObject*)
{
    if (ImageWindowHost.cancelOperation) ImageWindowHost.cancelOperation();
}
