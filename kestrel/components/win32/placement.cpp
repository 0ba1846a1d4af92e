#include "placement.h"

#include <algorithm>

#include "placement_ini.h"
#include "application.h"
#include "geometry_winapi.h"
#include "placement_model.h"
#include "inifiles.h"
#include "registry.h"
#include "workarea.h"

namespace {

const char* const siFlags = "Flags";
const char* const siShowCmd = "ShowCmd";
const char* const siMinMaxPos = "MinMaxPos";
const char* const siNormPos = "NormPos";
const char* const siActiveCtrl = "ActiveControl";
const char* const siVisible = "Visible";

bool IsSizingHit(LRESULT hit)
{
    return (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) || hit == HTGROWBOX;
}

// Keeps a normal-position rectangle (workspace coordinates, i.e. relative to
// the primary work area, unless the window is a tool window) on a monitor.
RECT KeepOnScreen(const RECT& normal, bool workspaceCoords)
{
    RECT primary = PrimaryWorkArea();
    int dx = workspaceCoords ? primary.left : 0;
    int dy = workspaceCoords ? primary.top : 0;
    RECT screen = {normal.left + dx, normal.top + dy, normal.right + dx, normal.bottom + dy};
    TRect fitted = FitRectToArea(ToTRect(screen), ToTRect(WorkAreaNear(screen)));
    RECT r = ToRECT(fitted);
    OffsetRect(&r, -dx, -dy);
    return r;
}

bool ReadPos(TObject* ini, const AnsiString& section, const char* ident, TRect& r)
{
    return ParsePosStr(IniReadString(ini, section, ident, ""), r.Left, r.Top, r.Right, r.Bottom);
}

}  // namespace

TIniLink::~TIniLink()
{
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* Value)
{
    if (Value == storage_) return;
    if (storage_) {
        auto& links = storage_->links_;
        links.erase(std::remove(links.begin(), links.end(), this), links.end());
    }
    storage_ = Value;
    if (storage_) storage_->links_.push_back(this);
}

TFormPlacement::TFormPlacement(TComponent* AOwner) : TComponent(AOwner)
{
    form_ = dynamic_cast<TCustomForm*>(AOwner);
    if (!form_) return;
    hook_ = new TWindowHook(this);
    hook_->SetWinControl(form_);
    hook_->BeforeMessage = [this](TObject*, TMessage& Msg, bool& Handled) { FormMessage(Msg, Handled); };
    hook_->AfterMessage = [this](TObject*, TMessage& Msg, bool&) {
        if (!preventResize_ || !active_) return;
        if (Msg.Msg == WM_NCHITTEST && IsSizingHit(Msg.Result)) Msg.Result = HTNOWHERE;
        if (Msg.Msg == WM_INITMENUPOPUP && HIWORD(Msg.LParam)) {
            HMENU menu = reinterpret_cast<HMENU>(Msg.WParam);
            EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
            EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
        }
    };
    hook_->SetActive(true);
    HookEvents();
}

TFormPlacement::~TFormPlacement()
{
    while (!links_.empty()) links_.back()->SetStorage(nullptr);
    // A form on its way out has already lost its event members.
    if (form_ && !(form_->GetComponentState() & csDestroying)) UnhookEvents();
}

void TFormPlacement::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == hook_) hook_ = nullptr;
}

void TFormPlacement::SetActive(bool Value)
{
    active_ = Value;
}

AnsiString TFormPlacement::GetIniFileName() const
{
    if (!iniFileName_.IsEmpty()) return iniFileName_;
    return useRegistry_ ? GetDefaultIniRegKey() : GetDefaultIniName();
}

AnsiString TFormPlacement::GetIniSection() const
{
    if (!iniSection_.IsEmpty()) return iniSection_;
    return form_ ? GetDefaultSection(form_) : AnsiString();
}

void TFormPlacement::HookEvents()
{
    oldShow_ = form_->OnShow;
    oldCloseQuery_ = form_->OnCloseQuery;
    oldDestroy_ = form_->OnDestroy;
    form_->OnShow = [this](TObject* Sender) {
        // The form's window is new: its size limits apply from now on.
        RehookWaitingControls();
        saved_ = false;
        if (active_ && !restored_) {
            restored_ = true;
            RestoreFormPlacement();
        }
        if (oldShow_) oldShow_(Sender);
    };
    form_->OnCloseQuery = [this](TObject* Sender, bool& CanClose) {
        if (oldCloseQuery_) oldCloseQuery_(Sender, CanClose);
        if (CanClose && active_ && form_->HandleAllocated()) {
            SaveFormPlacement();
            saved_ = true;
        }
    };
    form_->OnDestroy = [this](TObject* Sender) {
        if (active_ && !saved_ && form_->HandleAllocated()) SaveFormPlacement();
        saved_ = true;
        if (oldDestroy_) oldDestroy_(Sender);
    };
    eventsHooked_ = true;
}

void TFormPlacement::UnhookEvents()
{
    if (!eventsHooked_) return;
    form_->OnShow = oldShow_;
    form_->OnCloseQuery = oldCloseQuery_;
    form_->OnDestroy = oldDestroy_;
    eventsHooked_ = false;
}

std::unique_ptr<TObject> TFormPlacement::OpenIni() const
{
    if (useRegistry_) return std::unique_ptr<TObject>(new TRegIniFile(GetIniFileName()));
    return std::unique_ptr<TObject>(new TIniFile(GetIniFileName()));
}

void TFormPlacement::SavePosition(TObject* ini, const AnsiString& section)
{
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(form_->GetHandle(), &wp)) return;
    // A minimised program keeps its main form's state as minimised.
    if (Application && form_ == Application->GetMainForm() && IsIconic(form_->GetHandle()))
        wp.showCmd = SW_SHOWMINIMIZED;
    for (const AnsiString& s : {section + GetResolutionStr(), section}) {
        IniWriteInteger(ini, s, siFlags, static_cast<int>(wp.flags));
        IniWriteInteger(ini, s, siShowCmd, static_cast<int>(wp.showCmd));
        IniWriteString(ini, s, siMinMaxPos,
                       FormatPosStr(wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y));
        const RECT& n = wp.rcNormalPosition;
        IniWriteString(ini, s, siNormPos, FormatPosStr(n.left, n.top, n.right, n.bottom));
    }
}

void TFormPlacement::RestorePosition(TObject* ini, const AnsiString& plain)
{
    AnsiString section = plain + GetResolutionStr();
    TRect stored;
    if (!ReadPos(ini, section, siNormPos, stored)) {
        section = plain;
        if (!ReadPos(ini, section, siNormPos, stored)) return;
    }
    RECT normal = ToRECT(stored);
    HWND wnd = form_->GetHandle();
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    if (!GetWindowPlacement(wnd, &wp)) return;
    if (options_ & fpPosition) {
        TFormBorderStyle border = form_->GetBorderStyle();
        if (border != bsSizeable && border != bsSizeToolWin) {
            // A fixed-size form keeps its own size; only its place is restored.
            normal.right = normal.left + (wp.rcNormalPosition.right - wp.rcNormalPosition.left);
            normal.bottom = normal.top + (wp.rcNormalPosition.bottom - wp.rcNormalPosition.top);
        }
        bool toolWindow = (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
        wp.rcNormalPosition = KeepOnScreen(normal, !toolWindow);
        TRect minMax;
        if (ReadPos(ini, section, siMinMaxPos, minMax)) {
            wp.ptMinPosition = POINT{minMax.Left, minMax.Top};
            wp.ptMaxPosition = POINT{minMax.Right, minMax.Bottom};
            wp.flags = static_cast<UINT>(IniReadInteger(ini, section, siFlags, 0)) & WPF_SETMINPOSITION;
        }
    }
    // Placed while it stays as it is; the state goes through the form so
    // that the form knows it.
    wp.showCmd = IsWindowVisible(wnd) ? SW_SHOWNOACTIVATE : SW_HIDE;
    if (IsZoomed(wnd) || IsIconic(wnd)) wp.showCmd = IsWindowVisible(wnd) ? SW_SHOWNORMAL : SW_HIDE;
    SetWindowPlacement(wnd, &wp);
    if (options_ & fpState) {
        int cmd = IniReadInteger(ini, section, siShowCmd, SW_SHOWNORMAL);
        form_->SetWindowState(cmd == SW_SHOWMAXIMIZED ? wsMaximized
                              : cmd == SW_SHOWMINIMIZED ? wsMinimized
                                                        : wsNormal);
    }
}

void TFormPlacement::SaveFormPlacement()
{
    if (!form_) return;
    std::unique_ptr<TObject> ini = OpenIni();
    AnsiString section = GetIniSection();
    SavePosition(ini.get(), section);
    if (options_ & fpActiveControl) {
        TWinControl* active = form_->GetActiveControl();
        IniWriteString(ini.get(), section, siActiveCtrl, active ? active->GetName() : AnsiString());
    }
    IniWriteBool(ini.get(), section, siVisible, form_->GetVisible());
    for (TIniLink* link : std::vector<TIniLink*>(links_))
        if (link->OnSave) link->OnSave(ini.get(), section);
    if (OnSavePlacement) OnSavePlacement(this);
}

void TFormPlacement::RestoreFormPlacement()
{
    if (!form_) return;
    std::unique_ptr<TObject> ini = OpenIni();
    AnsiString section = GetIniSection();
    RestorePosition(ini.get(), section);
    if (options_ & fpActiveControl) {
        AnsiString name = IniReadString(ini.get(), section, siActiveCtrl, "");
        auto* control = dynamic_cast<TWinControl*>(name.IsEmpty() ? nullptr : form_->FindComponent(name));
        if (control && control->CanFocus()) form_->SetActiveControl(control);
    }
    for (TIniLink* link : std::vector<TIniLink*>(links_))
        if (link->OnLoad) link->OnLoad(ini.get(), section);
    if (OnRestorePlacement) OnRestorePlacement(this);
}

void TFormPlacement::FormMessage(TMessage& Msg, bool& Handled)
{
    if (!active_ || Msg.Msg != WM_GETMINMAXINFO) return;
    auto* info = reinterpret_cast<MINMAXINFO*>(Msg.LParam);
    if (preventResize_) {
        POINT size = {form_->GetWidth(), form_->GetHeight()};
        info->ptMinTrackSize = size;
        info->ptMaxTrackSize = size;
    } else {
        const TWinMinMaxInfo& m = minMax_;
        if (m.MaxPosLeft) info->ptMaxPosition.x = m.MaxPosLeft;
        if (m.MaxPosTop) info->ptMaxPosition.y = m.MaxPosTop;
        if (m.MaxSizeWidth) info->ptMaxSize.x = m.MaxSizeWidth;
        if (m.MaxSizeHeight) info->ptMaxSize.y = m.MaxSizeHeight;
        if (m.MinTrackWidth) info->ptMinTrackSize.x = m.MinTrackWidth;
        if (m.MinTrackHeight) info->ptMinTrackSize.y = m.MinTrackHeight;
        if (m.MaxTrackWidth) info->ptMaxTrackSize.x = m.MaxTrackWidth;
        if (m.MaxTrackHeight) info->ptMaxTrackSize.y = m.MaxTrackHeight;
    }
    Msg.Result = 0;
    Handled = true;
}
