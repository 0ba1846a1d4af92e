// TWindowHook: sees every message of a windowed control before and after
// the control does, without subclassing it in C++. All hooks on one control
// share one replacement window procedure; the control's own procedure is put
// back when the last hook goes, and taken over again when the control makes
// a new window (RecreateWnd).
//
// Handlers: BeforeMessage runs newest hook first until one sets Handled (the
// control then does not see the message, except WM_DESTROY, which always
// passes); AfterMessage runs for every hook after the control. WM_QUIT is
// never shown to BeforeMessage. Exceptions in handlers go to the
// application's handler and never leave the window procedure.
#ifndef KESTREL_WINHOOK_H
#define KESTREL_WINHOOK_H

#include "controls.h"

using THookMessageEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

class TWindowHook : public TComponent {
public:
    explicit TWindowHook(TComponent* AOwner);
    ~TWindowHook() override;

    bool GetActive() const { return active_; }
    void SetActive(bool Value);
    TWinControl* GetWinControl() const { return control_; }
    void SetWinControl(TWinControl* Value);
    // The hooked control is the form this hook belongs to.
    bool GetIsForm() const;

    void HookControl() { SetActive(true); }
    void UnhookControl() { SetActive(false); }

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void Attach();
    void Detach();

    TWinControl* control_ = nullptr;
    bool active_ = false;
};

// Hooks now the controls that got a window since their hook was activated
// (otherwise done from the message loop a moment later).
void RehookWaitingControls();

// Test aids: how many controls have a shared hook object, and whether
// Control's window procedure is the hooks' one now.
int WindowHookObjectCount();
bool IsWindowHooked(TWinControl* Control);

#endif
