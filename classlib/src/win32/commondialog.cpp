// TCommonDialog: the modal run shared by the common dialogs.
#include "dialogs.h"

#include "application.h"

std::function<bool(TCommonDialog* Dialog)> TCommonDialog::ExecuteHook;

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

TCommonDialog::~TCommonDialog() {}

bool TCommonDialog::RunModal(const std::function<bool()>& run)
{
    if (!ExecuteHook) return run();
    DoShow();
    bool result = false;
    try {
        result = ExecuteHook(this);
    } catch (...) {
        DoClose();
        throw;
    }
    DoClose();
    return result;
}

HWND TCommonDialog::OwnerWindow() const
{
    HWND active = GetActiveWindow();
    if (active) return active;
    TCustomForm* main = Application ? Application->GetMainForm() : nullptr;
    return main && main->HandleAllocated() ? main->GetHandle() : nullptr;
}

void TCommonDialog::DialogCreated(HWND Dialog)
{
    handle_ = Dialog;
    DoShow();
}

void TCommonDialog::DialogDestroyed()
{
    if (!handle_) return;
    DoClose();
    handle_ = nullptr;
}

void TCommonDialog::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCommonDialog::DoClose()
{
    if (OnClose) OnClose(this);
}
