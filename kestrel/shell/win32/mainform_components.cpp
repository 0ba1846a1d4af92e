// The filter components in the main window: the scan at start-up and after
// the preferences, the menu items, and the components' requests.
#include "mainform.h"

#include "appsettings.h"
#include "browseform.h"
#include "component_effects.h"
#include "component_scan.h"
#include "component_table.h"
#include "component_tool.h"
#include "toolmanager.h"

void TMainForm::RescanComponents()
{
    BrowserEffects = &ComponentEffects;
    if (!AppSettings.UseKSC) {
        ShowComponentMenus(false);
        return;
    }
    if (!ComponentMenusBuilt(Image1)) {
        ComponentMenuEvents events{[this](TObject* s) { ComponentMenuClick(s); },
                                   [this](TObject* s) { ComponentBrowseClick(s); }};
        ScanComponents(TreeScanner, Image1, ProgramDir, events);
    }
    ShowComponentMenus(true);
}

void TMainForm::ComponentMenuClick(TObject* Sender)
{
    TMenuItem* item = static_cast<TMenuItem*>(Sender);
    if (!ComponentAt(item->GetTag())) return;
    CurrentComponent = item->GetTag();
    ComponentTool.component = CurrentComponent;
    SelectTool(&ComponentTool, true, -1);
}

// The folder's submenu carries the folder's number from 1.
void TMainForm::ComponentBrowseClick(TObject* Sender)
{
    TMenuItem* parent = static_cast<TMenuItem*>(Sender)->GetParent();
    if (!parent || parent->GetTag() < 1) return;
    RunEffectBrowser(this, parent->GetTag() - 1);
}

void TMainForm::ComponentMessage(TMessage& Message)
{
    Message.Result = ComponentMessageResult(Message.Msg, static_cast<unsigned long>(Message.WParam),
                                            static_cast<long>(Message.LParam));
}
