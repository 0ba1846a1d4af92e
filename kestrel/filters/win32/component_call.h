// Calls into a filter component's KSCPROCESS. A fault inside the component
// must not end the program: the guarded calls tell the user which component
// failed and go on; the others turn the fault into the class library's
// Exception, which its handler reports.
#ifndef KESTREL_COMPONENT_CALL_H
#define KESTREL_COMPONENT_CALL_H

#include "ansistring.h"

typedef int(__stdcall* ComponentProcessFn)(void* data, int message);

// False when the component faulted; the message box naming it has been shown.
bool CallComponentGuarded(ComponentProcessFn fn, void* data, int message, const AnsiString& name);

// Throws Exception, with the text the guarded call shows, when the component faults.
void CallComponent(ComponentProcessFn fn, void* data, int message, const AnsiString& name);

#endif
