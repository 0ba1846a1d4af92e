#include "toolgroups.h"

#include <memory>
#include <vector>

#include "exceptions.h"
#include "messages.h"
#include "tool.h"

namespace {
std::vector<ToolTableEntry>& Entries()
{
    static std::vector<ToolTableEntry> entries;
    return entries;
}

std::vector<ToolGroup>& Groups()
{
    static std::vector<ToolGroup> groups;
    return groups;
}

// Buttons are pointed at by tools, so they keep their addresses.
std::vector<std::unique_ptr<ToolGroupButton>>& Buttons()
{
    static std::vector<std::unique_ptr<ToolGroupButton>> buttons;
    return buttons;
}

ToolGroup* GroupOf(const ToolGroupButton* button)
{
    if (!button || button->group < 0 || button->group >= ToolGroupCount()) return nullptr;
    return &Groups()[size_t(button->group)];
}

bool EntryShows(const ToolGroup& g, int entry, const P_icon* tool)
{
    return entry >= g.firstTool && entry < g.firstTool + g.count && Entries()[size_t(entry)].tool == tool;
}

int FindEntry(const ToolGroup& g, const P_icon* tool)
{
    for (int i = g.firstTool; i < g.firstTool + g.count; ++i)
        if (Entries()[size_t(i)].tool == tool) return i;
    return -1;
}

AnsiString EntryHint(const ToolTableEntry& e)
{
    return Translate(e.boundName.IsEmpty() ? e.tool->iconKey : e.boundName);
}
}  // namespace

void ToolGroupButton::SetDown(bool value)
{
    down = value;
    if (changed) changed(*this);
}

void ToolGroupButton::SetHint(const AnsiString& value)
{
    hint = value;
    if (changed) changed(*this);
}

void ToolGroupButton::SetGlyphEntry(int entry)
{
    glyphEntry = entry;
    if (changed) changed(*this);
}

int ToolEntryCount() { return int(Entries().size()); }

ToolTableEntry& ToolEntry(int index)
{
    if (index < 0 || index >= ToolEntryCount()) throw EListError(AnsiString().sprintf("List index out of bounds (%d)", index));
    return Entries()[size_t(index)];
}

int ToolGroupCount() { return int(Groups().size()); }

ToolGroup& GetToolGroup(int index)
{
    if (index < 0 || index >= ToolGroupCount()) throw EListError(AnsiString().sprintf("List index out of bounds (%d)", index));
    return Groups()[size_t(index)];
}

int AddToolEntry(const AnsiString& glyph, P_icon* tool, int hotKey, int popupColumns)
{
    if (popupColumns != 0) {
        if (ToolGroupCount() >= MaxToolGroups) return -1;
        Buttons().push_back(std::unique_ptr<ToolGroupButton>(new ToolGroupButton));
        ToolGroupButton* button = Buttons().back().get();
        button->group = ToolGroupCount();
        button->glyphEntry = ToolEntryCount();
        Groups().push_back(ToolGroup{button, ToolEntryCount(), ToolEntryCount(), 0, popupColumns, hotKey, nullptr, 0});
    }
    if (Groups().empty() || ToolEntryCount() >= MaxToolEntries) return -1;
    ToolGroup& g = Groups().back();
    if (g.count >= MaxGroupVariants) return -1;
    Entries().push_back(ToolTableEntry{glyph, tool, AnsiString()});
    ++g.count;
    tool->groupButton = g.button;
    if (g.count == 1) g.button->SetHint(AppendShortcutText(Translate(tool->iconKey), hotKey));
    return ToolGroupCount() - 1;
}

bool CanAddToolEntry(int popupColumns)
{
    if (ToolEntryCount() >= MaxToolEntries) return false;
    if (popupColumns != 0) return ToolGroupCount() < MaxToolGroups;
    return !Groups().empty() && Groups().back().count < MaxGroupVariants;
}

AnsiString ToolEntryHint(int entry) { return EntryHint(ToolEntry(entry)); }

void ClearToolTable()
{
    for (ToolTableEntry& e : Entries()) e.tool->groupButton = nullptr;
    Entries().clear();
    Groups().clear();
    Buttons().clear();
}

AnsiString AppendShortcutText(const AnsiString& hint, int hotKey)
{
    if (hotKey == 0) return hint;
    AnsiString text = hint + " (";
    if (hotKey & HotKeyAlt) text += Translate("Alt") + "+";
    if (hotKey & HotKeyShift) text += Translate("Shift") + "+";
    if (hotKey & HotKeyCtrl) text += Translate("Ctrl") + "+";
    text += char(hotKey & 0xFF);
    return text + ")";
}

void ShowToolOnButton(P_icon* tool, int entry)
{
    ToolGroup* g = GroupOf(tool->groupButton);
    if (!g) return;
    if (tool != g->rightTool) {
        // A stale entry (the default tool's, kept across table changes)
        // must not show another tool's glyph: search instead.
        if (!EntryShows(*g, entry, tool)) entry = FindEntry(*g, tool);
        if (entry >= 0) {
            g->shownTool = entry;
            g->button->SetGlyphEntry(entry);
            g->button->SetHint(AppendShortcutText(EntryHint(Entries()[size_t(entry)]), g->hotKey));
        }
    }
    g->button->SetDown(true);
}
