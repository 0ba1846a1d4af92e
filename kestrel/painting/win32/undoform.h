// The undo list popup, and the main window's handlers of the undo and redo
// buttons that feed it.
//
// The popup lists the steps of the current picture's undo (or redo) list,
// newest first. Choosing a row undoes (redoes) that step and every newer
// one at once. It opens at the pointer from the buttons' drop-down and
// closes on a choice, on Escape, when it loses the activation and when a
// tool is selected.
#ifndef KESTREL_UNDOFORM_H
#define KESTREL_UNDOFORM_H

#include "forms.h"
#include "menus.h"
#include "stdctrls.h"

class TUndoForm : public TForm {
public:
    // Button: the undo or redo button the popup drops from; its hint is
    // refreshed after a choice. May be null.
    TUndoForm(TComponent* AOwner, bool Redo, TControl* Button);
    ~TUndoForm() override;
    TUndoForm(const TUndoForm&) = delete;
    TUndoForm& operator=(const TUndoForm&) = delete;

    bool ListsRedo() const { return redo_; }
    // Performs (ItemIndex + 1) undos, keeping redo steps, or redos, and
    // closes the popup.
    void UndoListClick(TObject* Sender);

    TListBox* UndoList;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void FillList();
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void FormDeactivate(TObject* Sender);
    void UndoListMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

    bool redo_;
    TControl* button_;
    bool closing_ = false;
};

// The popup while it is shown, else null.
extern TUndoForm* UndoForm;
void CloseUndoForm();

// Shows the popup for the current picture's undo (redo) list with its top
// left corner at the screen point (moved to stay inside the work area).
// Nothing when the list is empty; answers the popup or null.
TUndoForm* ShowUndoPopup(bool Redo, TControl* Button, POINT At);

// Handlers of the main window's undo and redo buttons: the hint names the
// newest step; the drop-down (a menu with no items) shows the popup for the
// button it was shown for, at the pointer.
void UndoBtnMouseMove(TControl* UndoBtn);
void RedoBtnMouseMove(TControl* RedoBtn);
void DummyPopupPopup(TPopupMenu* DummyPopup, TControl* UndoBtn, TControl* RedoBtn);

#endif
