// TTimerList (unit TimerLst): the timed events of TCustomTimerList served by
// one Windows timer (id 1) on a hidden message-only window of the list's own.
#ifndef KESTREL_TIMERLST_H
#define KESTREL_TIMERLST_H

#include "timerlst_model.h"
#include "winapi.h"

class TTimerList : public TCustomTimerList {
public:
    explicit TTimerList(TComponent* AOwner);
    ~TTimerList() override;

    // The hidden window while the list is active, else nullptr.
    HWND GetWindowHandle() const { return window_; }

protected:
    unsigned TickCount() override;
    void AllocateTimer() override;
    void ReleaseTimer() override;
    bool StartSystemTimer(unsigned Milliseconds) override;
    void StopSystemTimer() override;
    void HandleEventException() override;

private:
    HWND window_ = nullptr;
};

#endif
