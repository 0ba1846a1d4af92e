// Forms: top-level windows built in code. A form's constructor creates its
// controls (owner and parent: the form) with their sizes, captions and
// handlers; nothing is read from a stored description.
//
// Forms of the program are made with NewForm (or Application->CreateForm),
// which builds them as loading a stored form would: the form and every
// component it owns are loading while the constructor sets them up, then
// each hears Loaded once (owned ones first), then OnCreate fires.
//
// Life: a form is hidden until Show, ShowModal or SetVisible(true). OnCreate
// runs once after construction (NewForm and Application->CreateForm call
// AfterConstruction; a form made with plain new fires it before its window
// is first made).
// Close asks OnCloseQuery, then OnClose decides: hide (the default), free
// (deferred, as Release), minimise or nothing. Closing the main form ends the
// application. A form that frees itself from one of its own handlers calls
// Release: deletion waits until the handler has returned.
#ifndef CLASSLIB_FORMS_H
#define CLASSLIB_FORMS_H

#include <memory>
#include <type_traits>
#include <utility>

#include "controls.h"

typedef int TModalResult;
enum : int {
    mrNone = 0,
    mrOk = IDOK,
    mrCancel = IDCANCEL,
    mrAbort = IDABORT,
    mrRetry = IDRETRY,
    mrIgnore = IDIGNORE,
    mrYes = IDYES,
    mrNo = IDNO,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

typedef unsigned TBorderIcons;
enum : unsigned {
    biSystemMenu = 1,
    biMinimize = 2,
    biMaximize = 4,
    biHelp = 8,
};

enum TFormStyle { fsNormal, fsStayOnTop };
enum TPosition { poDesigned, poScreenCenter };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

class TMainMenu;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    // 320 x 240 at (0, 0), hidden, sizeable, clBtnFace.
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Ends the loading NewForm began (Loaded for each component), then fires
    // OnCreate once; later calls do nothing.
    void AfterConstruction();
    // The next form constructed begins loading (NewForm's first half;
    // forms are made on the GUI thread only); cleared by that form's
    // constructor.
    static void LoadNextForm(bool Value) { loadNext_ = Value; }
    void BeforeDestruction() override;

    TFormBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons GetBorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons Value);
    TFormStyle GetFormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle Value);
    TPosition GetPosition() const { return position_; }
    void SetPosition(TPosition Value) { position_ = Value; }
    TWindowState GetWindowState() const;
    void SetWindowState(TWindowState Value);
    bool GetKeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool Value) { keyPreview_ = Value; }

    TWinControl* GetActiveControl() const { return activeControl_; }
    // Raises EInvalidOperation when the form is shown and the control
    // cannot take the focus.
    void SetActiveControl(TWinControl* Value);
    bool GetActive() const { return active_; }

    TModalResult GetModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }
    bool IsModal() const { return modal_; }

    TCanvas* GetCanvas() const { return canvas_.get(); }

    // The menu bar; the form is told when the menu is freed. The client
    // area is what lies below the bar.
    TMainMenu* GetMenu() const { return menu_; }
    void SetMenu(TMainMenu* Value);
    // Offers a key-down (WM_KEYDOWN or WM_SYSKEYDOWN) to the menu's
    // short-cuts; true when an item took it.
    bool IsShortCut(const TMessage& KeyMessage);

    void SetVisible(bool Value) override;
    void Show();
    // Shows the form without taking the activation from the current window.
    void ShowNoActivate();
    // Runs until ModalResult is set or the form is closed, with the other
    // windows of the program disabled; answers ModalResult. Raises
    // EInvalidOperation for a form already shown.
    TModalResult ShowModal();
    void Close();
    bool CloseQuery();
    // Deletes the form once the current message has been handled.
    void Release();
    void SetFocus() override;
    bool CanFocus() const override;

    void WndProc(TMessage& Message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    bool HasMenuBar() const override { return menu_ != nullptr; }
    bool IsMenuShortCut(const TMessage& KeyMessage) override;
    void PaintWindow(HDC DC) override;
    bool PaintsItself() const override { return true; }
    virtual void Paint();
    void DoClose(TCloseAction& Action);
    void ControlRemoving(TControl* AControl) override;
    void FocusChanged(TWinControl* AControl) override;
    bool WantsKeyPreview() const override { return keyPreview_; }

private:
    void ShowWindowNow(bool activate);
    void PlaceOnScreen();
    void Activated(bool active);
    void DialogKey(TMessage& Message);
    bool FocusFirstControl();
    void CloseModal();
    void ShowHelp(TMessage& Message);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TFormStyle formStyle_ = fsNormal;
    TPosition position_ = poDesigned;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TMainMenu* menu_ = nullptr;  // the last one told OnEnter
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
    bool modal_ = false;
    bool created_ = false;
    bool destroyFired_ = false;
    bool releasing_ = false;
    bool showActivate_ = true;
    std::unique_ptr<TCanvas> canvas_;
    static bool loadNext_;
};

// A form of class T built loading; AfterConstruction ends the loading.
template <class T, class... Args>
T* ConstructLoadingForm(Args&&... args)
{
    static_assert(std::is_base_of<TCustomForm, T>::value, "a form class");
    TCustomForm::LoadNextForm(true);
    try {
        T* form = new T(std::forward<Args>(args)...);
        TCustomForm::LoadNextForm(false);
        return form;
    } catch (...) {
        TCustomForm::LoadNextForm(false);
        throw;
    }
}

// Makes a form as loading it from a stored description would (see above).
// A form whose loading fails is freed and the exception passed on.
template <class T, class... Args>
T* NewForm(Args&&... args)
{
    std::unique_ptr<T> form(ConstructLoadingForm<T>(std::forward<Args>(args)...));
    form->AfterConstruction();
    return form.release();
}

class TForm : public TCustomForm {
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The form a control stands on (its topmost parent when that is a form),
// or nullptr.
TCustomForm* GetParentForm(TControl* Control);

#endif
