#include "undoform.h"

#include <algorithm>
#include <vector>

#include "application.h"
#include "paintkit_host.h"
#include "pictureview.h"
#include "screen.h"
#include "tool_host.h"
#include "toolmanager.h"
#include "undo_history.h"
#include "workarea.h"

TUndoForm* UndoForm = nullptr;

namespace {
const int Margin = 4;       // between the popup's edge and the list
const int MinWidth = 80;
const int MaxWidth = 400;
const int TextPadding = 8;  // the list's own space beside an item's text

// A flat one-pixel frame: the rows then fill exactly the height the popup
// gives the list (rows x item height + 2).
class TUndoList : public TListBox {
public:
    explicit TUndoList(TComponent* AOwner) : TListBox(AOwner) {}

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TListBox::CreateParams(Params);
        Params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
        Params.Style |= WS_BORDER;
    }
};

int WidestText(TControl* control, const std::vector<AnsiString>& texts)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, control->GetFont()->GetHandle());
    int widest = 0;
    for (const AnsiString& text : texts) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), text.Length(), &size);
        widest = std::max(widest, int(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return widest;
}
}  // namespace

TUndoForm::TUndoForm(TComponent* AOwner, bool Redo, TControl* Button)
    : TForm(AOwner), UndoList(new TUndoList(this)), redo_(Redo), button_(Button)
{
    SetBorderStyle(bsNone);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    UndoList->SetParent(this);
    UndoList->OnClick = [this](TObject* Sender) { UndoListClick(Sender); };
    UndoList->OnMouseMove = [this](TObject* Sender, TShiftState Shift, int X, int Y) {
        UndoListMouseMove(Sender, Shift, X, Y);
    };
    OnClose = [this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); };
    OnKeyDown = [this](TObject* Sender, WORD& Key, TShiftState Shift) { FormKeyDown(Sender, Key, Shift); };
    OnDeactivate = [this](TObject* Sender) { FormDeactivate(Sender); };
    if (button_) button_->FreeNotification(this);
    FillList();
    // One popup at a time; choosing a tool takes it away.
    UndoForm = this;
    ToolHost.closeUndoPopup = CloseUndoForm;
}

TUndoForm::~TUndoForm()
{
    if (UndoForm == this) UndoForm = nullptr;
    if (button_) button_->RemoveFreeNotification(this);
}

void TUndoForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == button_) button_ = nullptr;
}

void TUndoForm::FillList()
{
    std::vector<AnsiString> names = UndoStepNames(CurrentPicture, redo_);
    for (const AnsiString& name : names) UndoList->GetItems()->Add(name);
    int width = WidestText(UndoList, names) + TextPadding + 2 * Margin + 2;
    if (int(names.size()) > UndoPopupRows) width += GetSystemMetrics(SM_CXVSCROLL);
    SetWidth(std::max(MinWidth, std::min(MaxWidth, width)));
}

void TUndoForm::UndoListClick(TObject*)
{
    if (closing_) return;
    int index = UndoList->GetItemIndex();
    if (index < 0) return;
    // A running operation keeps its tool. Otherwise the tool is parked while
    // the picture changes under it, and only a tool parked here is resumed:
    // resuming after someone else's suspend would bring back their tool.
    bool park = ToolPhase == PhaseIdle && ToolSuspendLevel >= 0;
    if (park) SuspendTool();
    try {
        PerformUndoSteps(CurrentPicture, redo_, index + 1);
        if (button_) button_->SetHint(UndoButtonHint(CurrentPicture, redo_));
        if (!closing_) Close();
        // The caption shows whether the picture differs from its file.
        UpdateImageCaption();
    } catch (...) {
        if (park) ResumeTool();
        throw;
    }
    if (park) ResumeTool();
}

void TUndoForm::FormClose(TObject*, TCloseAction& Action)
{
    Action = caFree;
    closing_ = true;
    if (UndoForm == this) UndoForm = nullptr;
}

void TUndoForm::FormKeyDown(TObject*, WORD& Key, TShiftState)
{
    if (Key != VK_ESCAPE) return;
    Key = 0;
    Close();
}

void TUndoForm::FormDeactivate(TObject*)
{
    if (!closing_) Close();
}

void TUndoForm::UndoListMouseMove(TObject*, TShiftState, int X, int Y)
{
    POINT p = {X, Y};
    int index = UndoList->ItemAtPos(p, true);
    if (index >= 0 && index != UndoList->GetItemIndex()) UndoList->SetItemIndex(index);
}

void CloseUndoForm()
{
    if (UndoForm) UndoForm->Close();
}

TUndoForm* ShowUndoPopup(bool Redo, TControl* Button, POINT At)
{
    if (UndoStepNames(CurrentPicture, Redo).empty()) return nullptr;
    CloseUndoForm();
    TUndoForm* form = NewForm<TUndoForm>(Application, Redo, Button);
    RECT pointer = {At.x, At.y, At.x + 1, At.y + 1};
    RECT work = WorkAreaNear(pointer);
    UndoPopupPlace place = PlaceUndoPopup(form->UndoList->GetItems()->GetCount(), form->UndoList->GetItemHeight(),
                                          form->GetWidth(), At.x, At.y, work.left, work.top, work.right, work.bottom);
    form->SetBounds(place.left, place.top, form->GetWidth(), place.formHeight);
    form->UndoList->SetBounds(Margin, Margin, form->GetWidth() - 2 * Margin, place.listHeight);
    form->Show();
    return form;
}

void UndoBtnMouseMove(TControl* UndoBtn)
{
    if (UndoBtn) UndoBtn->SetHint(UndoButtonHint(CurrentPicture, false));
}

void RedoBtnMouseMove(TControl* RedoBtn)
{
    if (RedoBtn) RedoBtn->SetHint(UndoButtonHint(CurrentPicture, true));
}

void DummyPopupPopup(TPopupMenu* DummyPopup, TControl* UndoBtn, TControl* RedoBtn)
{
    TComponent* from = DummyPopup ? DummyPopup->GetPopupComponent() : nullptr;
    if (!from || (from != UndoBtn && from != RedoBtn)) return;
    POINT at = {0, 0};
    if (Mouse) at = Mouse->GetCursorPos();
    else GetCursorPos(&at);
    ShowUndoPopup(from == RedoBtn, static_cast<TControl*>(from), at);
}
