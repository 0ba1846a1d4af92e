// The controls' own cursors: "HANDCUR" and "DRAGCUR" from the program's
// resources (drawn at run time when the module has none), installed in the
// screen's cursor table. Needs the Screen, so the program calls it after
// making the Application, not at start-up; calling it again reinstalls them.
#ifndef KESTREL_CONTROL_CURSORS_H
#define KESTREL_CONTROL_CURSORS_H

enum : int { crHand = 14000, crDragHand = 14001 };

void InitControlCursors();

#endif
