#include "undo_settings.h"

#include "undo_platform.h"

TUndoSettings UndoSettings;
bool InstBrush = false;

AnsiString UndoDirectory()
{
    AnsiString dir = UndoSettings.dir.IsEmpty() ? GetUndoPlatform().TempDirectory() : UndoSettings.dir;
    // A folder typed by the user may lack the separator the names are joined with.
    if (!dir.IsEmpty() && dir[dir.Length()] != '\\' && dir[dir.Length()] != '/') dir += '\\';
    return dir;
}
