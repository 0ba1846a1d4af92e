// A step that runs once a modal loop has started: the test arms it, then
// calls ShowModal or Execute, and the step drives the dialog from a timer
// of the same thread.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include "forms.h"
#include "screen.h"
#include "winapi.h"

namespace gui {

namespace detail {
inline std::function<void()>& PendingStep()
{
    static std::function<void()> step;
    return step;
}
inline void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    std::function<void()> work = std::move(PendingStep());
    PendingStep() = nullptr;
    try {
        if (work) work();
    } catch (...) {
        ADD_FAILURE() << "exception in a timed step";
    }
}
}  // namespace detail

inline void Later(std::function<void()> work, UINT delayMs = 50)
{
    detail::PendingStep() = std::move(work);
    SetTimer(nullptr, 0, delayMs, detail::RunPendingStep);
}

// The first open form of class T, or null.
template <class T>
T* OpenForm()
{
    for (int i = 0; i < Screen->GetFormCount(); i++)
        if (auto* form = dynamic_cast<T*>(Screen->GetForms(i))) return form;
    return nullptr;
}

template <class T>
struct WhenOpenStep {
    static std::function<void(T*)>& Work()
    {
        static std::function<void(T*)> work;
        return work;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        T* form = OpenForm<T>();
        if (!form) return;
        KillTimer(nullptr, id);
        auto run = std::move(Work());
        Work() = nullptr;
        try {
            if (run) run(form);
        } catch (...) {
            ADD_FAILURE() << "exception in a timed step";
        }
    }
};

// Runs work on the form of class T once it is open; the timer keeps
// ticking until it is, so a slow dialog start is waited for.
template <class T>
void WhenOpen(std::function<void(T*)> work)
{
    WhenOpenStep<T>::Work() = std::move(work);
    SetTimer(nullptr, 0, 50, WhenOpenStep<T>::Tick);
}

}  // namespace gui
