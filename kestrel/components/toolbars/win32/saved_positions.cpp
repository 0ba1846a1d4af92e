#include "saved_positions.h"

#include <vector>

#include "exceptions.h"
#include "registry.h"
#include "sysutils.h"

namespace {

const int positionRev = 2;

AnsiString CheckedName(TCustomToolWindow* w)
{
    AnsiString name = w->GetName();
    if (name.IsEmpty()) throw EInvalidOperation("Cannot save tool window's position because Name property is not set");
    return name;
}

std::vector<TCustomToolWindow*> ToolWindowsOf(TComponent* form)
{
    std::vector<TCustomToolWindow*> out;
    for (int i = 0; i < form->GetComponentCount(); ++i)
        if (auto* w = dynamic_cast<TCustomToolWindow*>(form->GetComponent(i))) out.push_back(w);
    return out;
}

TDock* FindDock(const std::vector<TDock*>& docks, const AnsiString& name)
{
    for (TDock* d : docks)
        if (SameText(d->GetName(), name)) return d;
    return nullptr;
}

void Restore(TCustomToolWindow* w, const AnsiString& name, TDock* dock, const TPositionReadIntProc& readInt)
{
    // All docks are held, so setting the row and position first is quiet.
    w->SetDockRow(readInt(name, "DockRow", w->GetDockRow()));
    w->SetDockPos(readInt(name, "DockPos", w->GetDockPos()));
    POINT floating{readInt(name, "FloatLeft", 0), readInt(name, "FloatTop", 0)};
    w->ReadPositionData(readInt);
    if (dock) {
        // Docked too, the window keeps its floating spot: undocked it floats
        // there, and the next save writes it back unchanged.
        w->SetDockedTo(dock);
        w->SetFloatingPosition(floating);
    } else {
        w->SetFloatingPosition(floating);
        w->SetDockedTo(nullptr);
    }
    w->PositionDataRead();
}

}  // namespace

void SaveToolbarPositionsEx(TComponent* Form, const TPositionWriteIntProc& WriteInteger,
                            const TPositionWriteStringProc& WriteString)
{
    for (TCustomToolWindow* w : ToolWindowsOf(Form)) {
        AnsiString name = CheckedName(w);
        AnsiString dockedTo = "+";
        if (TDock* d = w->GetDockedTo()) {
            dockedTo = "";
            if (d->GetAllowDrag()) {
                dockedTo = d->GetName();
                if (dockedTo.IsEmpty())
                    throw EInvalidOperation(
                        "Cannot save tool window's position because DockedTo's Name property not set");
            }
        }
        WriteInteger(name, "Rev", positionRev);
        WriteInteger(name, "Visible", w->GetVisible() ? 1 : 0);
        WriteString(name, "DockedTo", dockedTo);
        WriteInteger(name, "DockRow", w->GetDockRow());
        WriteInteger(name, "DockPos", w->GetDockPos());
        WriteInteger(name, "FloatLeft", w->GetFloatingPosition().x);
        WriteInteger(name, "FloatTop", w->GetFloatingPosition().y);
        w->WritePositionData(WriteInteger);
    }
}

void LoadToolbarPositionsEx(TComponent* Form, const TPositionReadIntProc& ReadInteger,
                            const TPositionReadStringProc& ReadString)
{
    std::vector<TDock*> docks;
    for (int i = 0; i < Form->GetComponentCount(); ++i)
        if (auto* d = dynamic_cast<TDock*>(Form->GetComponent(i))) docks.push_back(d);
    for (TDock* d : docks) d->BeginUpdate();
    try {
        for (TCustomToolWindow* w : ToolWindowsOf(Form)) {
            AnsiString name = CheckedName(w);
            if (ReadInteger(name, "Rev", 0) != positionRev) continue;
            w->SetVisible(ReadInteger(name, "Visible", w->GetVisible() ? 1 : 0) != 0);
            AnsiString dockedTo = ReadString(name, "DockedTo", "");
            if (dockedTo.IsEmpty()) continue;
            if (dockedTo == "+") {
                Restore(w, name, nullptr, ReadInteger);
                w->MoveOnScreen(true);
                continue;
            }
            TDock* dock = FindDock(docks, dockedTo);
            if (dock && dock->GetAllowDrag()) Restore(w, name, dock, ReadInteger);
        }
    } catch (...) {
        for (auto it = docks.rbegin(); it != docks.rend(); ++it) (*it)->EndUpdate();
        throw;
    }
    for (auto it = docks.rbegin(); it != docks.rend(); ++it) (*it)->EndUpdate();
}

void SaveToolbarPositions(TComponent* Form, const AnsiString& Key)
{
    TRegIniFile ini(Key);
    SaveToolbarPositionsEx(
        Form, [&ini](const AnsiString& s, const AnsiString& i, int v) { ini.WriteInteger(s, i, v); },
        [&ini](const AnsiString& s, const AnsiString& i, const AnsiString& v) { ini.WriteString(s, i, v); });
}

void LoadToolbarPositions(TComponent* Form, const AnsiString& Key)
{
    TRegIniFile ini(Key);
    LoadToolbarPositionsEx(
        Form, [&ini](const AnsiString& s, const AnsiString& i, int d) { return ini.ReadInteger(s, i, d); },
        [&ini](const AnsiString& s, const AnsiString& i, const AnsiString& d) { return ini.ReadString(s, i, d); });
}
