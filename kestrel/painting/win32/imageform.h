// TImageForm: the top-level window that shows and edits one picture. It
// owns the picture, shows it through a TBuffer inside a scroll box at the
// window's zoom, turns mouse events on the view into picture points for the
// tool framework, takes the painting shortcuts, and asks to save on close.
// At most MaxImageForms exist at a time.
#ifndef KESTREL_IMAGEFORM_H
#define KESTREL_IMAGEFORM_H

#include <vector>

#include "axislock.h"
#include "buttons.h"
#include "scroll_box_with_events.h"
#include "extctrls.h"
#include "gradient_caption.h"
#include "forms.h"
#include "status_bar_host.h"
#include "imagekeys.h"
#include "strip_progress.h"
#include "toolbar_button.h"
#include "dock.h"
#include "buffer_view.h"
#include "picture_document.h"

class TImageForm : public TForm {
public:
    explicit TImageForm(TComponent* AOwner);
    ~TImageForm() override;

    TDock* LeftDock;   // one row of bars
    TDock* RightDock;
    TPanel* ImagePanel;
    TEventScrollBox* MaxSize;
    TBuffer* ShowBuf;
    TFriendlyStatusBar* StatusBar;
    TSpeedButton* CancelProgressBtn;
    // Toggles in status panel 0, shown to expert users.
    TToolbarButton* AntiAliasBtn;
    TToolbarButton* InstBrushBtn;
    TStripProgress* ProgressBar;
    TGradientCaption* Cap;  // its colours say which window is current

    UDBuffer Picture;
    bool Fresh = false;  // the blank start-up picture: the next new window takes its place
    int Index = -1;      // in ImageForms
    int ZoomStep = 1;    // 1.. factors, 0..-4 the fractions 3/4 .. 1/4
    double Zoom = 1.0;

    // 0 auto (the name while minimised, else the path), 1 the name, 2 the path.
    void UpdateCaption(int mode);
    void FitToPicture();
    // Shows the picture at another step (EConvertError outside -4..32).
    void SetZoomStep(int step);
    // Sizes the view to the picture at the zoom, keeping the point under the
    // pointer (or the middle) where it was.
    void UpdateView();
    // The two toggles shown to experts, hidden for novices with the progress
    // bar moved into their room and panel 0 narrowed (Level); both ways.
    void ShowLevelControls();
    // The toggles' hints in the current language.
    void TranslateToggleHints();
    void SetStatusText(int panel, const AnsiString& text);
    AnsiString GetStatusText(int panel);
    void ScrollTo(int x, int y);

    // Handlers.
    void MaxSizeResize(TObject* Sender);
    void MaxSizeScroll(TObject* Sender);
    void ShowBufMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void StoreMouseCoords(TObject* Sender, TShiftState Shift, int X, int Y);
    void ShowBufMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ClearMouseCoords(TObject* Sender);
    void ClearMouseCoords2(TObject* Sender, TShiftState Shift, int X, int Y);
    void MaxSizeMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ShowBufPaint(TObject* Sender);
    void HotKeys(TObject* Sender, WORD& Key, TShiftState Shift);
    void FormKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormActivate(TObject* Sender);
    void AntiAliasBtnClick(TObject* Sender);
    void InstBrushBtnClick(TObject* Sender);
    void CancelProgressBtnClick(TObject* Sender);

    AxisLock& GetAxisLock() { return axisLock_; }

    // Arrangement among the other image windows (imagewindow_glue.cpp):
    // the windows glued to this one, by side as seen from here (0 top,
    // 1 right, 2 bottom, 3 left), rebuilt by GlueImageWindows.
    struct GlueNeighbour {
        int side;
        TImageForm* neighbour;
    };
    std::vector<GlueNeighbour> Links;
    void AddLink(int side, TImageForm* neighbour);
    void ClearLinks();
    // Takes every bar docked in another image window into the same side
    // here; mainBars: the main tool bar and palette bar too, when floating.
    void GatherDockedBars(bool mainBars);

protected:
    void WndProc(TMessage& Message) override;

private:
    bool ArrangeMessage(TMessage& Message);
    void HandOnBars(bool wasCurrent);
    void SnapMoving(RECT& r);
    void SizeWithNeighbours(int edge, RECT& r);
    void SystemCommand(unsigned command);
    void BuildComponents();
    void BuildStatusBar();
    void UndockBars();
    void SetPicturePoint(int x, int y, TShiftState shift, bool clamp);
    void HandleMove(int x, int y, TShiftState shift);
    void PressAt(int x, int y, TShiftState shift);
    bool RunKey(int code);
    bool SelectToolByKey(int code);
    void ScrollByKey(ImageKey key);
    void ToggleFitZoom();
    void ChangeZoomStep(int step);
    // Zoom and ZoomStep, and the main window's zoom control; no relayout.
    void StoreZoomStep(int step);
    void UndoByKey();

public:
    // Moves the pointer over a picture point, held inside the visible part.
    void PutPointerOn(int x, int y);

private:

    AxisLock axisLock_;
    int viewStep_ = 1;         // the step the view was last sized for
    bool fitZoomShown_ = false;  // Z switched to the fitting zoom
    int zoomBeforeFit_ = 1;
    bool placing_ = false;     // MaxSizeResize is moving the view
    bool expertLayout_ = true;  // the status bar is built with the toggles' room
};

const int MaxImageForms = 32;

// Creates a window with a cleared picture of that size and makes it
// current; the caller fills the pixels and shows it. Null when 32 windows
// exist or the picture cannot be allocated (the user was told "NoMem").
// EInvalidOperation for a size below 1 x 1.
TImageForm* CreateImageWindow(int width, int height, const AnsiString& name);

int ImageFormCount();
TImageForm* GetImageForm(int index);  // null outside the list
extern TImageForm* CurrentImageForm;

// Every image window's anti-alias toggle shows AntiAlias; every instant
// brush toggle shows flag.
void ApplyAntiAlias();
void ApplyInstantBrush(bool flag);

// Makes window `index` the current one (nothing when it already is).
void ActivateImageWindow(int index);

// Puts the image windows' part of the services that the tool framework,
// the picture document and the paint kit call (status panels, view cursors,
// repaints, zoom, the visible part, XOR lines, the pointer).
void InstallImageWindowServices();
TImageForm* FindImageForm(const UDBuffer* pic);

// Messages of the image windows go to the Application's message box while
// the painting units have no other route installed.
int ImageMessageBox(const AnsiString& text, const AnsiString& caption, unsigned flags);

// Sends TranslatedMessageBox to the Application's message box unless a
// route is set already. The start-up does it first thing, so that its own
// messages (a damaged language file) reach the user; the first image window
// does it for users of the painting units without the start-up.
void RouteMessagesToApplication();

#endif
