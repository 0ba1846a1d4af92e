#include "undo_history.h"

#include "messages.h"
#include "undo_entry.h"

std::vector<AnsiString> UndoStepNames(UDBuffer* pic, bool redo)
{
    std::vector<AnsiString> names;
    if (!pic) return names;
    for (UndoEntry* e = redo ? pic->redoHead : pic->undoHead; e; e = e->next) names.push_back(Translate(e->key));
    return names;
}

AnsiString UndoButtonHint(UDBuffer* pic, bool redo)
{
    AnsiString hint = Translate(redo ? "Redo" : "Undo");
    UndoEntry* newest = pic ? (redo ? pic->redoHead : pic->undoHead) : nullptr;
    if (newest) hint += AnsiString(" ") + Translate(newest->key);
    return hint;
}

int PerformUndoSteps(UDBuffer* pic, bool redo, int count)
{
    int done = 0;
    while (pic && done < count && (redo ? UDBuffer::Redo(pic) : UDBuffer::Undo(pic, true))) ++done;
    return done;
}

UndoPopupPlace PlaceUndoPopup(int stepCount, int itemHeight, int formWidth, int pointerX, int pointerY,
                              int workLeft, int workTop, int workRight, int workBottom)
{
    int rows = stepCount < UndoPopupRows ? stepCount : UndoPopupRows;
    UndoPopupPlace p{pointerX, pointerY, rows * itemHeight + 10, rows * itemHeight + 2};
    if (p.left + formWidth > workRight) p.left = workRight - formWidth;
    if (p.top + p.formHeight > workBottom) p.top = workBottom - p.formHeight;
    if (p.left < workLeft) p.left = workLeft;
    if (p.top < workTop) p.top = workTop;
    return p;
}
