#include "seh_guard.h"

namespace {

// The registration record the system walks (fs:[0] points at the newest),
// followed by what the handler needs to resume at the guard.
struct GuardFrame {
    GuardFrame* prev;
    void* handler;
    void* resume[5];  // __builtin_setjmp's buffer
    DWORD code;
};

extern "C" EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* rec, void* frame, CONTEXT*, void*)
{
    // An unwind passing through is not ours to stop.
    if (rec->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return ExceptionContinueSearch;
    GuardFrame* f = static_cast<GuardFrame*>(frame);
    f->code = rec->ExceptionCode ? rec->ExceptionCode : 1;
    __builtin_longjmp(f->resume, 1);
}

GuardFrame* ChainHead()
{
    GuardFrame* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardFrame* f) { asm volatile("movl %0, %%fs:0" : : "r"(f) : "memory"); }

}  // namespace

__attribute__((noinline)) DWORD GuardedCall(void (*fn)(void*), void* arg)
{
    GuardFrame frame;
    frame.prev = ChainHead();
    frame.handler = reinterpret_cast<void*>(GuardHandler);
    frame.code = 0;
    GuardFrame* volatile self = &frame;
    SetChainHead(self);
    if (__builtin_setjmp(self->resume) == 0) fn(arg);
    // Whatever frames the foreign code registered and abandoned go with it.
    SetChainHead(self->prev);
    return self->code;
}
