// TFormPlacement: keeps its form's place, size, state and active control in
// an INI file or the registry, restored when the form is first shown and
// saved when it closes, with no code in the form. Linked components store
// their own values in the same section through TIniLink.
//
// Values: "Flags", "ShowCmd", "MinMaxPos" and "NormPos" in the section with
// the screen-size suffix (read first; the plain section is the fallback and
// is written too, so a new screen size starts from the last place),
// "ActiveControl" and "Visible" in the plain section. A restored rectangle
// is kept on the work area of the monitor nearest to it.
#ifndef KESTREL_PLACEMENT_H
#define KESTREL_PLACEMENT_H

#include <memory>
#include <vector>

#include "forms.h"
#include "winhook.h"

typedef unsigned TPlacementOptions;
enum : unsigned { fpState = 1, fpPosition = 2, fpActiveControl = 4 };

// Zero values are left to the system.
struct TWinMinMaxInfo {
    int MaxPosLeft = 0;
    int MaxPosTop = 0;
    int MaxSizeWidth = 0;
    int MaxSizeHeight = 0;
    int MinTrackWidth = 0;
    int MinTrackHeight = 0;
    int MaxTrackWidth = 0;
    int MaxTrackHeight = 0;
};

class TFormPlacement;

// A linked component's values: OnSave and OnLoad get the open INI object
// (for IniReadString and friends) and the placement's section.
class TIniLink : public TObject {
public:
    TIniLink() = default;
    ~TIniLink() override;
    TFormPlacement* GetStorage() const { return storage_; }
    void SetStorage(TFormPlacement* Value);

    std::function<void(TObject* IniFile, const AnsiString& Section)> OnSave;
    std::function<void(TObject* IniFile, const AnsiString& Section)> OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* storage_ = nullptr;
};

class TFormPlacement : public TComponent {
public:
    // Works for the form that owns it; owned by anything else it stores
    // nothing.
    explicit TFormPlacement(TComponent* AOwner);
    ~TFormPlacement() override;

    bool GetActive() const { return active_; }
    void SetActive(bool Value);
    // Empty: the default INI name or registry key of the application.
    AnsiString GetIniFileName() const;
    void SetIniFileName(const AnsiString& Value) { iniFileName_ = Value; }
    // Empty: the form's name.
    AnsiString GetIniSection() const;
    void SetIniSection(const AnsiString& Value) { iniSection_ = Value; }
    bool GetUseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool Value) { useRegistry_ = Value; }
    TPlacementOptions GetOptions() const { return options_; }
    void SetOptions(TPlacementOptions Value) { options_ = Value; }
    TWinMinMaxInfo& MinMaxInfo() { return minMax_; }
    bool GetPreventResize() const { return preventResize_; }
    void SetPreventResize(bool Value) { preventResize_ = Value; }

    void SaveFormPlacement();
    void RestoreFormPlacement();

    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TIniLink;
    std::unique_ptr<TObject> OpenIni() const;
    void SavePosition(TObject* ini, const AnsiString& section);
    void RestorePosition(TObject* ini, const AnsiString& section);
    void HookEvents();
    void UnhookEvents();
    void FormMessage(TMessage& Msg, bool& Handled);

    TCustomForm* form_ = nullptr;
    TWindowHook* hook_ = nullptr;
    std::vector<TIniLink*> links_;
    bool active_ = true;
    AnsiString iniFileName_;
    AnsiString iniSection_;
    bool useRegistry_ = false;
    TPlacementOptions options_ = fpState | fpPosition;
    TWinMinMaxInfo minMax_;
    bool preventResize_ = false;
    bool restored_ = false;
    bool saved_ = false;
    bool eventsHooked_ = false;
    TNotifyEvent oldShow_;
    TCloseQueryEvent oldCloseQuery_;
    TNotifyEvent oldDestroy_;
};

#endif
