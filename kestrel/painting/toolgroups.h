// The tool table and the tool groups behind the main window's tool buttons:
// which tools a group's button stands for, which of them it shows, and its
// hot key. This is the model; the tool-bar button that draws a group mirrors
// its ToolGroupButton through `changed`.
#ifndef KESTREL_TOOLGROUPS_H
#define KESTREL_TOOLGROUPS_H

#include <functional>
#include "ansistring.h"

class P_icon;

struct ToolGroupButton {
    int group = -1;        // index in the group table
    bool down = false;
    AnsiString hint;
    int glyphEntry = -1;   // the tool-table entry whose glyph the button shows
    std::function<void(ToolGroupButton&)> changed;

    void SetDown(bool value);
    void SetHint(const AnsiString& value);
    void SetGlyphEntry(int entry);
};

struct ToolTableEntry {
    AnsiString glyph;      // name of the glyph's bitmap resource
    P_icon* tool;
    // The filter-component host names the component bound to this entry
    // here; its translated name is then the hint instead of the tool's key.
    AnsiString boundName;
};

struct ToolGroup {
    ToolGroupButton* button;
    int firstTool;         // table index of the group's first variant
    int shownTool;         // table index of the variant the button shows
    int count;             // variants, at most MaxGroupVariants
    int columns;           // of the variant popup
    int hotKey;            // character code; 0x100 Shift, 0x200 Ctrl, 0x400 Alt
    P_icon* rightTool;     // selected by the right button; null: none
    int reserved;
};

const int MaxToolEntries = 128;
const int MaxToolGroups = 32;
const int MaxGroupVariants = 32;
enum : int { HotKeyShift = 0x100, HotKeyCtrl = 0x200, HotKeyAlt = 0x400 };

int ToolEntryCount();
// EListError for an index outside the table.
ToolTableEntry& ToolEntry(int index);
int ToolGroupCount();
ToolGroup& GetToolGroup(int index);

// Appends tool to the table; popupColumns != 0 starts a new group (with its
// button) first. The tool remembers its group's button. Answers the group
// index, or -1 when the table, the group list or the group is full, or no
// group was started yet.
int AddToolEntry(const AnsiString& glyph, P_icon* tool, int hotKey, int popupColumns);
// Whether AddToolEntry with these columns would add the tool: callers that
// load a glyph first ask before they load it.
bool CanAddToolEntry(int popupColumns);
// Start-up builds the table once; tests start again from an empty one.
void ClearToolTable();

// The translated name an entry shows as its hint (the bound component's,
// when one is bound), without the shortcut text.
AnsiString ToolEntryHint(int entry);

// hint + " (Alt+Shift+Ctrl+K)" for the bits set; the hint alone for 0.
AnsiString AppendShortcutText(const AnsiString& hint, int hotKey);

// Makes tool's group button show tool: entry is its table index, or -1 (or
// an entry of some other tool) to search the group. The button goes down.
void ShowToolOnButton(P_icon* tool, int entry);

#endif
