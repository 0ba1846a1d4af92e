// Saving and restoring the places of a form's tool windows: one section per
// tool window, named after its component Name, holding "Rev" (2),
// "Visible", "DockedTo" (the dock's Name; "" for a dock that does not allow
// dragging; "+" when floating), "DockRow", "DockPos", "FloatLeft",
// "FloatTop", and for toolbars "FloatRightX", written in that order.
//
// The registry forms use TRegIniFile on Key under HKEY_CURRENT_USER; the Ex
// forms take the value accessors, so that any store will do. Loading holds
// every dock of the form in BeginUpdate until all windows are restored, so
// each dock arranges once.
#ifndef KESTREL_SAVED_POSITIONS_H
#define KESTREL_SAVED_POSITIONS_H

#include "tool_window.h"

using TPositionReadStringProc =
    std::function<AnsiString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)>;
using TPositionWriteStringProc =
    std::function<void(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)>;

void SaveToolbarPositionsEx(TComponent* Form, const TPositionWriteIntProc& WriteInteger,
                            const TPositionWriteStringProc& WriteString);
void LoadToolbarPositionsEx(TComponent* Form, const TPositionReadIntProc& ReadInteger,
                            const TPositionReadStringProc& ReadString);

void SaveToolbarPositions(TComponent* Form, const AnsiString& Key);
void LoadToolbarPositions(TComponent* Form, const AnsiString& Key);

#endif
