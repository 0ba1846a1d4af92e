// The last line of defence for code called by Windows (window procedures,
// hooks, timer callbacks, thread entries): an exception must not leave them,
// since with this compiler it cannot cross the system's frames and ends the
// process.
//
//     try { ... } catch (...) { HandleCallbackException(); }
//
// Call it only inside a catch block. It shows the exception's message through
// the Application (EAbort stays silent), or sends it to OutputDebugString when
// there is no Application yet. It never throws.
#ifndef CLASSLIB_HANDLEEXCEPTION_H
#define CLASSLIB_HANDLEEXCEPTION_H

void HandleCallbackException() noexcept;

#endif
