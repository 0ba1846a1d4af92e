// Finding the filter components below the program's folder: the table, the
// effect list, one submenu of the Image menu per component folder (each
// with "Browse"), the components' menu items and, on the first scan, the
// tool buttons of the components that declare an icon.
#ifndef KESTREL_COMPONENT_SCAN_H
#define KESTREL_COMPONENT_SCAN_H

#include "menus.h"

class TCustomTreeScanner;

struct ComponentMenuEvents {
    TNotifyEvent componentClick;  // tag: the component's index
    TNotifyEvent browseClick;     // tag: the folder's first component
};

// Refills everything from programDir + "Comps"; the menu items of the
// previous scan go first. Files that are not components are passed over
// without a message.
void ScanComponents(TCustomTreeScanner* scanner, TMenuItem* imageMenu, const AnsiString& programDir,
                    const ComponentMenuEvents& events);

// Whether a scan has built the component menus (the preferences scan only
// then); and showing or hiding them.
bool ComponentMenusBuilt(TMenuItem* imageMenu);
void ShowComponentMenus(bool shown);
// The submenu of component folder group (its place in the effect list),
// "Browse" first; null when the scan made none.
TMenuItem* ComponentGroupMenu(int group);

// After a language change: the captions from the new translations.
void RetranslateComponentMenus();

#endif
