// The table of the filter components found below the program's folder: at
// most 128 for the whole run, refilled by every scan, with the effect list
// of their folders. The menus, the component tool and the browser's effect
// mode all read it; the scan (win32/component_scan.h) fills it.
#ifndef KESTREL_COMPONENT_TABLE_H
#define KESTREL_COMPONENT_TABLE_H

#include "ansistring.h"
#include "component_entry.h"

#include <string>
#include <vector>

// One loaded component's entry, by the name the interface gives it.
using KSCDSTR = ComponentEntry;

extern KSCDSTR Components[MAX_COMPONENTS];
extern int ComponentCount;
extern int CurrentComponent;
// The component folders in scan order, upper-cased; the browser lists them.
extern std::vector<std::string> EffectList;

// Count 0, no current component, no folders.
void ClearComponents();
// Appends e; its index, or -1 when 128 are loaded (nothing changes).
int AddComponent(const ComponentEntry& e);
// Null for an index outside the loaded entries.
ComponentEntry* ComponentAt(int index);

// A folder's effect name: its last path component, upper-cased as a whole
// (the language files' "~" keys are spelt so).
std::string EffectFolderName(const std::string& path);

// Whether the menu item at this 0-based place of its parent starts a new
// menu column: every 20 items.
bool StartsMenuColumn(int place);

// Translate("~" + name), without the "~" when there is no translation.
AnsiString TranslateName(const AnsiString& name);

// The fraction-to-pixel shows of a point parameter's value-block slot: x in
// the low word, y in the high word.
void SplitPointSlot(unsigned value, int& xFraction, int& yFraction);
unsigned JoinPointSlot(int xFraction, int yFraction);

// UM_COMPSETPARAM's point value has x in the HIGH word, the opposite of the
// value block: components rely on both, so both stay.
void SplitPointMessage(long lParam, int& xFraction, int& yFraction);

#endif
