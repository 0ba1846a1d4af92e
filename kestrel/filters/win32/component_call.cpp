#include "component_call.h"

#include "exceptions.h"
#include "messages.h"
#include "seh_guard.h"

namespace {

struct ComponentCall {
    ComponentProcessFn fn;
    void* data;
    int message;
};

// The stack pointer is put back by hand: a component declared with the
// wrong calling convention would otherwise leave the stack unbalanced.
void CallProcess(void* arg)
{
    ComponentCall* c = static_cast<ComponentCall*>(arg);
    __asm__ __volatile__(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "subl $8, %%esp\n\t"
        "pushl 8(%0)\n\t"
        "pushl 4(%0)\n\t"
        "call *(%0)\n\t"
        "movl %%esi, %%esp"
        :
        : "D"(c)
        : "eax", "ecx", "edx", "esi", "memory", "cc");
}

DWORD Run(ComponentProcessFn fn, void* data, int message)
{
    ComponentCall c{fn, data, message};
    return GuardedCall(CallProcess, &c);
}

AnsiString FaultText(const AnsiString& name) { return Translate("ErrKSC") + " " + name + " " + Translate("ErrKSC2"); }

}  // namespace

bool CallComponentGuarded(ComponentProcessFn fn, void* data, int message, const AnsiString& name)
{
    if (Run(fn, data, message) == 0)
        return true;
    // The composed text is no key, so it passes through the translation unchanged.
    TranslatedMessageBox(FaultText(name), "Err", MsgIconWarning);
    return false;
}

void CallComponent(ComponentProcessFn fn, void* data, int message, const AnsiString& name)
{
    if (Run(fn, data, message) != 0)
        throw Exception(FaultText(name));
}
