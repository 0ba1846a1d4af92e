// The main thread's side of TThread::Synchronize, for thread.cpp.
#ifndef CLASSLIB_SYNCHRONIZE_H
#define CLASSLIB_SYNCHRONIZE_H

#include "thread.h"
#include "winapi.h"

// Runs method on the main thread and waits; re-raises what it threw.
void RunOnMainThread(const TThreadMethod& method);
// Waits for handle; on the main thread it serves Synchronize calls and
// messages sent from other threads while waiting.
void WaitServingSynchronize(HANDLE handle);

#endif
