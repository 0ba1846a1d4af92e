#include <gtest/gtest.h>

#include "component_abi.h"
#include "component_call.h"
#include "exceptions.h"
#include "messages.h"
#include "winapi.h"

namespace {

int seen[2];

int __stdcall Records(void* data, int message)
{
    seen[0] = *static_cast<int*>(data);
    seen[1] = message;
    return 7;
}

int __stdcall WritesNull(void*, int) { return *static_cast<volatile int*>(nullptr) = 1; }

int __stdcall Raises(void*, int)
{
    RaiseException(0xE0004B53, 0, 0, nullptr);
    return 0;
}

// Declared stdcall by the host but leaves its arguments on the stack.
int __cdecl Unbalanced(void*, int) { return 0; }

struct BoxRecorder {
    BoxRecorder()
    {
        MessageBoxHook = [this](const AnsiString& text, const AnsiString& caption, unsigned) {
            boxes.push_back(std::string(text.c_str()) + "|" + caption.c_str());
            return 1;
        };
    }
    ~BoxRecorder() { MessageBoxHook = nullptr; }
    std::vector<std::string> boxes;
};

}  // namespace

TEST(ComponentCall, PassesDataAndMessage)
{
    int value = 42;
    BoxRecorder recorder;
    EXPECT_TRUE(CallComponentGuarded(Records, &value, KSCM_PROCESS, "Probe"));
    EXPECT_EQ(seen[0], 42);
    EXPECT_EQ(seen[1], KSCM_PROCESS);
    EXPECT_TRUE(CallComponentGuarded(reinterpret_cast<ComponentProcessFn>(Unbalanced), &value, KSCM_INIT, "Probe"));
    EXPECT_NO_THROW(CallComponent(Records, &value, KSCM_VALUES, "Probe"));
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST(ComponentCall, FaultsNameTheComponentAndTheProgramGoesOn)
{
    const std::string told = std::string(Translate("ErrKSC").c_str()) + " Probe " + Translate("ErrKSC2").c_str() +
                             "|" + Translate("Err").c_str();
    for (ComponentProcessFn fn : {WritesNull, Raises}) {
        BoxRecorder recorder;
        EXPECT_FALSE(CallComponentGuarded(fn, nullptr, KSCM_PROCESS, "Probe"));
        EXPECT_EQ(recorder.boxes, std::vector<std::string>{told});
        try {
            CallComponent(fn, nullptr, KSCM_DONE, "Probe");
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(told.substr(0, told.find('|')), e.Message.c_str());
        }
    }
}
