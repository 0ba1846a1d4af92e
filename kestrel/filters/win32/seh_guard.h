// Calls into foreign code (plug-in filters) behind a structured-exception
// frame: an access violation, divide error or raised exception inside the
// call comes back as its code instead of ending the program. C++ catch
// cannot do this; the frame is registered by hand on the thread's chain.
#ifndef KESTREL_SEH_GUARD_H
#define KESTREL_SEH_GUARD_H

#include "winapi.h"

// Runs fn(arg); answers 0 when it returned, else the exception code. After
// a fault the foreign code's state is unknown: the caller must not call it
// again and should unload it. fn must not throw C++ exceptions.
DWORD GuardedCall(void (*fn)(void* arg), void* arg);

#endif
