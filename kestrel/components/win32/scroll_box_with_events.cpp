#include "scroll_box_with_events.h"

void TEventScrollBox::WndProc(TMessage& Message)
{
    TScrollBox::WndProc(Message);
    if (IsDestroying()) return;
    if (Message.Msg == WM_HSCROLL && OnScrollHorz) OnScrollHorz(this);
    if (Message.Msg == WM_VSCROLL && OnScrollVert) OnScrollVert(this);
}
