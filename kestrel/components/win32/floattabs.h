// Unit floattabs: a page control whose sheets can be torn off into small
// floating forms and come back when those are closed.
//
// - TCustomFloatTabControl wraps the system tab control (SysTabControl32)
//   with owner-drawn tabs (selected tab in Color and Font, the others in
//   TabInactiveColor and TabInactiveFont), top/bottom and vertical tabs, hot
//   tracking, tab shifting by drag and an image list. Its tab items are kept
//   by the object and mirrored into the window, so a style change that
//   re-creates the window loses nothing.
// - TFloatPageControl shows one TFloatTabSheet at a time; a sheet's tab
//   index is its position among the sheets with TabVisible. Both keep
//   their page list through the class library's page-control templates.
// - TFloatingForm: the tool window a Dragable sheet is torn into by dragging
//   its grip; closing it puts the sheet back at its StaticPageIndex.
//
// Keys: Ctrl+Tab / Ctrl+Shift+Tab reach the control as CM_DIALOGKEY from
// its form. A sheet's accelerator ("&Undo", Alt+U) is taken by DialogChar,
// which the form's CM_DIALOGCHAR broadcast reaches.
#ifndef KESTREL_FLOATTABS_H
#define KESTREL_FLOATTABS_H

#include <memory>
#include <vector>

#include "comctrls.h"
#include "forms.h"
#include "imagelist.h"

enum TTabPosition { tpTopLeft, tpBottomRight };
enum TTextRotation { trNone, trRotated };
enum TGripAlign { gaLeft, gaRight, gaTop, gaBottom };

class TCustomFloatTabControl;
class TFloatPageControl;
class TFloatingForm;

using TFloatTabChangingEvent = TTabChangingEvent;
using TDrawTabEvent = std::function<void(TCustomFloatTabControl* Control, int TabIndex, const RECT& Rect, bool Active)>;
using TTabTrackEvent = std::function<void(TObject* Sender, int TabIndex)>;
// FloatState: 0 a sheet was torn off, 1 a sheet came back.
using TFloatChangeEvent = std::function<void(TObject* Sender, int FloatState)>;

// Private messages posted to the tab control's own window.
enum : UINT {
    FTM_SHEETRETURNED = WM_USER + 2,  // 1026
    FTM_SHEETFLOATED = WM_USER + 3,   // 1027
    FTM_RESTOREIMAGES = WM_USER + 4,  // 1028: after the window was re-created
};

class TCustomFloatTabControl : public TCustomTabControl {
public:
    // 289 x 193, a tab stop, owner-drawn tabs.
    explicit TCustomFloatTabControl(TComponent* AOwner);
    ~TCustomFloatTabControl() override;

    TTabPosition GetTabPosition() const { return tabPosition_; }
    // Raises EInvalidOperation "Buttons are only supported when aligned
    // along the top" while ButtonStyle is on (also for VerticalTabs).
    void SetTabPosition(TTabPosition Value);
    bool GetVerticalTabs() const { return verticalTabs_; }
    void SetVerticalTabs(bool Value);
    bool GetButtonStyle() const { return buttonStyle_; }
    // On resets VerticalTabs and TabPosition.
    void SetButtonStyle(bool Value);
    bool GetFlatButtons() const { return flatButtons_; }
    void SetFlatButtons(bool Value);
    bool GetFlatSeperators() const { return flatSeperators_; }
    void SetFlatSeperators(bool Value);
    bool GetFocusButtons() const { return focusButtons_; }
    void SetFocusButtons(bool Value);
    bool GetMultiLine() const { return multiLine_; }
    // Off also switches ScrollOpposite off.
    void SetMultiLine(bool Value);
    bool GetScrollOpposite() const { return scrollOpposite_; }
    // On also switches MultiLine on.
    void SetScrollOpposite(bool Value);
    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool GetHotTrack() const { return hotTrack_; }
    void SetHotTrack(bool Value) { hotTrack_ = Value; }
    bool GetUseMSDrawing() const { return useMSDrawing_; }
    void SetUseMSDrawing(bool Value);
    int GetTabHeight() const { return tabHeight_; }
    // 0..32767, else EPropertyError.
    void SetTabHeight(int Value);
    int GetTabWidth() const { return tabWidth_; }
    void SetTabWidth(int Value);
    TColor GetTabInactiveColor() const { return tabInactiveColor_; }
    void SetTabInactiveColor(TColor Value);
    TFont* GetTabInactiveFont() const { return tabInactiveFont_.get(); }
    void SetTabInactiveFont(const TFont* Value);
    TTextRotation GetTextRotation() const { return textRotation_; }
    void SetTextRotation(TTextRotation Value);
    // Not owned; the caller keeps it alive while it is set.
    TImageList* GetImages() const { return images_; }
    void SetImages(TImageList* Value);
    bool GetAllowTabShifting() const { return allowTabShifting_; }
    void SetAllowTabShifting(bool Value) { allowTabShifting_ = Value; }
    bool GetRemoveLastTab() const { return removeLastTab_; }
    void SetRemoveLastTab(bool Value) { removeLastTab_ = Value; }

    // The tab strip.
    int GetTabCount() const { return static_cast<int>(tabs_.size()); }
    AnsiString GetTabText(int Index) const;
    // -1 when no tab is selected.
    int GetTabIndex();
    // The tab under a client point, or -1.
    int IndexOfTabAt(int X, int Y);
    // Raises EListError for a bad index.
    RECT GetTabRect(int Index);
    // The system's display rectangle, its top 2 pixels lower.
    RECT GetDisplayRect() override;
    int GetHotTab() const { return hotTab_; }
    // An accelerator character (Alt+key); true when a tab took it. The form
    // may forward its dialog characters here.
    virtual bool DialogChar(char Key);

    void WndProc(TMessage& Message) override;

    TDrawTabEvent OnDrawTab;
    TTabTrackEvent OnTabTrack;
    TNotifyEvent OnTabShift;
    TFloatChangeEvent OnFloatChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

    // Owner drawing of one tab (unless UseMSDrawing); OnDrawTab replaces it.
    virtual void DrawTab(HDC DC, int TabIndex, const RECT& Rect, bool Active);
    // The hint of a tab, for hot tracking.
    virtual AnsiString TabHint(int TabIndex);
    // Tab shifting: the tab From was dropped on tab To.
    virtual void ShiftTab(int From, int To);
    // Items are mirrored into the window; raise EListError when it refuses.
    void InsertTabItem(int Index, const AnsiString& Text, int ImageIndex, void* Data);
    void DeleteTabItem(int Index);
    void SetTabItemText(int Index, const AnsiString& Text);
    void SetTabItemImage(int Index, int ImageIndex);
    void* GetTabData(int Index) const;
    void ClearTabItems();
    void SelectTab(int Index);
    // Style bits changed: re-create the window (items come back, images
    // through FTM_RESTOREIMAGES).
    void StyleChanged();
    void ApplyItemSize();

private:
    struct TTabItem {
        AnsiString Text;
        int ImageIndex;
        void* Data;
    };
    void CheckTabIndex(int Index) const;
    void CheckButtonStyle();
    void RestoreImages();
    void MouseMoveTabs(int X, int Y);
    void EndShift(int X, int Y);
    void DrawItem(DRAWITEMSTRUCT* Item);

    std::vector<TTabItem> tabs_;
    TTabPosition tabPosition_ = tpTopLeft;
    bool verticalTabs_ = false;
    bool buttonStyle_ = false;
    bool flatButtons_ = false;
    bool flatSeperators_ = true;
    bool focusButtons_ = false;
    bool multiLine_ = false;
    bool scrollOpposite_ = false;
    bool multiSelect_ = false;
    bool hotTrack_ = false;
    bool useMSDrawing_ = false;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    TColor tabInactiveColor_ = 0xA4A0A0;
    std::unique_ptr<TFont> tabInactiveFont_;
    TTextRotation textRotation_ = trNone;
    TImageList* images_ = nullptr;
    bool allowTabShifting_ = false;
    bool removeLastTab_ = false;
    int hotTab_ = -1;
    int shiftFrom_ = -1;
};

class TFloatTabSheet : public TCustomTabSheet<TFloatTabSheet, TFloatPageControl> {
public:
    // Hidden until active; button face.
    explicit TFloatTabSheet(TComponent* AOwner) : TCustomTabSheet(AOwner) {}
    ~TFloatTabSheet() override;

    // PageIndex is -1 while floating or alone; setting it outside
    // 0..count-1 raises EListError "%d is an invalid PageIndex value.
    // PageIndex must be between 0 and %d".
    void SetPageIndex(int Value);
    // Position of its tab, -1 without one.
    int GetTabIndex() const;
    bool GetTabVisible() const { return tabVisible_; }
    void SetTabVisible(bool Value);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int Value);
    int GetStaticPageIndex() const { return staticPageIndex_; }
    void SetStaticPageIndex(int Value) { staticPageIndex_ = Value; }
    AnsiString GetTabHint() const { return tabHint_; }
    void SetTabHint(const AnsiString& Value) { tabHint_ = Value; }
    bool GetDragable() const { return dragable_; }
    // The grip strip (7 pixels on the GripAlign side) is not client area.
    void SetDragable(bool Value);
    TGripAlign GetGripAlign() const { return gripAlign_; }
    void SetGripAlign(TGripAlign Value);
    bool GetFloatOnTop() const { return floatOnTop_; }
    void SetFloatOnTop(bool Value) { floatOnTop_ = Value; }
    void SetText(const AnsiString& Value) override;

    // The form it floats in, or nullptr.
    TFloatingForm* GetFloatingForm() const { return floatingForm_; }
    bool IsFloating() const { return floatingForm_ != nullptr; }
    // Tears the sheet off into a floating form whose client area starts at
    // the screen point (as a drop of the grip does). Refused (false) for the
    // last sheet unless RemoveLastTab.
    bool TearOff(POINT ScreenTopLeft);
    // The grip's press area in window coordinates of the sheet (7 x 20).
    RECT GetGripPressRect();

    void WndProc(TMessage& Message) override;

    TFloatChangeEvent OnFloatChange;

private:
    friend class TFloatPageControl;
    friend class TFloatingForm;
    void ComeBack();
    void FloatFormGone();
    void NcCalcSize(TMessage& Message);
    void PaintGrip();
    RECT GripRect();
    void DragMove(POINT Screen);
    void DragEnd(POINT Screen);
    void DrawDragFrame();

    TFloatPageControl* homeControl_ = nullptr;  // while floating
    TFloatingForm* floatingForm_ = nullptr;
    bool tabVisible_ = true;
    int imageIndex_ = -1;
    int staticPageIndex_ = -1;
    AnsiString tabHint_;
    bool dragable_ = false;
    TGripAlign gripAlign_ = gaLeft;
    bool floatOnTop_ = false;
    // Grip drag: armed at the press, dragging once moved more than 3 pixels.
    bool armed_ = false;
    bool dragging_ = false;
    POINT pressAt_ = {0, 0};
    RECT dragFrame_ = {0, 0, 0, 0};
    HDC desktopDC_ = nullptr;
};

// Its pages are the sheets docked in it (floating ones are not counted).
class TFloatPageControl : public TCustomPageControl<TCustomFloatTabControl, TFloatTabSheet> {
public:
    explicit TFloatPageControl(TComponent* AOwner) : TCustomPageControl(AOwner) {}
    ~TFloatPageControl() override;

    int GetFloatingCount() const { return static_cast<int>(floating_.size()); }
    // A sheet of another control is ignored; nullptr selects no tab.
    void SetActivePage(TFloatTabSheet* Page);
    // The next (or previous) sheet after CurPage, wrapping round; with
    // CheckTabVisible only sheets with a tab. nullptr when none.
    TFloatTabSheet* FindNextPage(TFloatTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    // Asks OnChanging, then activates the next sheet with a tab and fires
    // OnChange.
    void SelectNextPage(bool GoForward);

    void WndProc(TMessage& Message) override;

protected:
    void CreateWnd() override;
    void Change() override;
    AnsiString TabHint(int TabIndex) override;
    void ShiftTab(int From, int To) override;
    void PagesChanged(int Removed, int Inserted) override;
    void SelectActiveTab() override;
    int PageAfterRemoval(int Index) const override;
    void HidePage(TFloatTabSheet* Page) override;

public:
    bool DialogChar(char Key) override;

private:
    friend class TFloatTabSheet;
    std::vector<bool> TabsVisible(bool CheckTabVisible) const;
    void RebuildTabs();
    TFloatTabSheet* PageOfTab(int TabIndex) const;
    void SheetFloated(TFloatTabSheet* Page);
    void SheetReturned(TFloatTabSheet* Page);

    std::vector<TFloatTabSheet*> floating_;  // torn off, in the order they left
};

// The tool window a torn-off sheet lives in. Closing it (caFree) gives the
// sheet back to its control before the form goes.
class TFloatingForm : public TForm {
public:
    TFloatingForm(TComponent* AOwner, TFloatTabSheet* Sheet);
    ~TFloatingForm() override;

    TFloatTabSheet* GetSheet() const { return sheet_; }

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    friend class TFloatTabSheet;
    // Shows Images[Index] as the form's icon (the form owns the copy).
    void SetSheetIcon(TImageList* Images, int Index);

    TFloatTabSheet* sheet_;
    HICON icon_ = nullptr;
};

#endif
