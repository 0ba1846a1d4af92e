#include "component_effects.h"

#include "application.h"
#include "compform.h"
#include "component_scan.h"
#include "component_table.h"
#include "component_tool.h"
#include "toolmanager.h"

#include <cstring>

TComponentEffects ComponentEffects;

namespace {

// While a thumbnail is made the component tool is current, so that the
// component's requests are taken, and works with the browser's dialog.
// Afterwards the component is told DONE and unloaded, and the tool and
// component the browser found come back: a component tool parked around
// the browser resumes with the component the user had chosen.
class LentComponentTool {
public:
    LentComponentTool(int index, TCompForm* dialog)
        : tool_(CurrentTool), index_(ComponentTool.component), current_(CurrentComponent)
    {
        CurrentTool = &ComponentTool;
        ComponentTool.component = index;
        CurrentComponent = index;
        ComponentTool.form = dialog;
        ComponentTool.keepResult = 1;  // nothing of the picture to restore
        dialog->Tool = &ComponentTool;
        dialog->Notify = true;
        // A run is in the component: its OK, Cancel and Preview requests
        // are not for a hidden dialog.
        dialog->Running = true;
    }
    ~LentComponentTool()
    {
        TCompForm* dialog = ComponentTool.form;
        ComponentTool.EndActivation(true);
        if (dialog) dialog->Running = false;
        ComponentTool.component = index_;
        CurrentComponent = current_;
        // A tool selected meanwhile stays.
        if (CurrentTool == &ComponentTool) CurrentTool = tool_;
    }
    LentComponentTool(const LentComponentTool&) = delete;
    LentComponentTool& operator=(const LentComponentTool&) = delete;

private:
    P_icon* tool_;
    int index_, current_;
};

}  // namespace

int TComponentEffects::GroupCount() { return int(EffectList.size()); }

AnsiString TComponentEffects::GroupName(int group)
{
    return group >= 0 && group < GroupCount() ? TranslateName(EffectList[size_t(group)].c_str()) : AnsiString();
}

int TComponentEffects::FirstComponent(int group)
{
    TMenuItem* menu = ComponentGroupMenu(group);
    return menu ? menu->GetItem(0)->GetTag() : 0;
}

int TComponentEffects::ComponentCount(int group)
{
    TMenuItem* menu = ComponentGroupMenu(group);
    int n = 0;
    for (int i = 1; menu && i < menu->GetCount(); ++i)  // after "Browse"
        if (!menu->GetItem(i)->IsLine()) ++n;
    return n;
}

AnsiString TComponentEffects::ComponentPath(int component)
{
    ComponentEntry* e = ComponentAt(component);
    return e ? AnsiString(e->path.c_str()) : AnsiString();
}

bool TComponentEffects::Begin()
{
    End();
    try {
        dialog_ = new TCompForm(Application);
    } catch (...) {
        dialog_ = nullptr;
    }
    // The pictures array is the host's own, with room for every window.
    return dialog_ != nullptr;
}

void TComponentEffects::End()
{
    if (!dialog_) return;
    ReleaseComponentDialog(dialog_);
    dialog_ = nullptr;
}

bool TComponentEffects::Render(int component, Buffer& source, Buffer& destination, AnsiString& caption)
{
    caption = "";
    ComponentEntry* e = ComponentAt(component);
    if (!dialog_ || dialog_->Running || !e || !source.pixels || !destination.pixels) return false;
    LentComponentTool lent(component, dialog_);
    if (!ComponentTool.LoadModule()) return false;
    const AnsiString name = e->name.c_str();
    const int w = destination.Width(), h = destination.Height();
    const Rect whole{0, 0, w - 1, h - 1};
    LayoutComponentForm(dialog_, false);
    SetComponentBlockPicture(source.pixels, destination.pixels, w, h, whole, false, false);
    CallComponentProcess(ComponentTool.Process(), name, KSCM_INIT, &ComponentBlock, false);
    dialog_->ParamControlChanged();
    unsigned char kept[COMPONENT_VALUE_BLOCK];
    std::memcpy(kept, e->values, sizeof kept);
    dialog_->PresetBtnClick(nullptr);
    SetComponentBlockPicture(source.pixels, destination.pixels, w, h, whole, false, false);
    CallComponentProcess(ComponentTool.Process(), name, KSCM_PROCESS, &ComponentBlock, false);
    ComponentBlock.destination = nullptr;
    std::memcpy(e->values, kept, sizeof kept);
    caption = TranslateName(name);
    return true;
}

void TComponentEffects::Choose(const AnsiString& path)
{
    for (int i = 0; i < ::ComponentCount; ++i)
        if (Components[i].path == path.c_str()) {
            CurrentComponent = i;
            ComponentTool.component = i;
            // A tool selected while the browser was up has taken the parked
            // tool's place already; only a parked tool gives way.
            if (ParkedTool) ParkedTool = &ComponentTool;
            return;
        }
}
