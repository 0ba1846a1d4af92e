// P_icon: the root of the tool classes. Every drawing tool, interactive
// brush or picture transform and every filter that works on the active
// picture is one static object of a class derived from it; objects are made
// by their unit's start-up and never created or freed while the program
// runs. The tool manager (toolmanager.h) calls the six operations below;
// their root bodies do nothing, so a tool overrides only what it needs.
#ifndef KESTREL_TOOL_H
#define KESTREL_TOOL_H

#include "ansistring.h"

struct ToolGroupButton;

// Bits of P_icon::flags.
enum : unsigned short {
    ToolOneShot = 1,  // after its last step the default tool comes back; never the default itself
    ToolCommand = 2,  // selecting it runs Activate, then the tool before it (or PendingTool) comes back
    ToolToggle = 4,   // selecting it switches it on or off; the current tool stays
};

class P_icon {
public:
    unsigned short flags = 0;
    unsigned char undoAtPress = 0;           // the first press records a whole-picture step named iconKey
    unsigned char dropSelectionAtPress = 1;  // the first press drops the selection, with its own step
    // 0: feedback only over the picture; 1: everywhere; 2: the pointer is
    // clamped to the picture while an operation runs.
    short pointerMode = 0;
    unsigned char gridSnap = 1;
    int helpContext = 100;
    AnsiString optionBarKey;  // language key of the option-bar description; empty: no bar
    // Presses one operation takes (at most 3: phase 3 means "dragging").
    // A toggle tool keeps its on (1) / off (0) state here instead.
    int clickSteps = 2;
    ToolGroupButton* groupButton = nullptr;  // null: the tool has no button
    AnsiString iconKey;                      // hint key, and the name of the steps it records
    short cursor = -49;
    AnsiString statusText;                   // shown in status panel 3 while current

    P_icon() = default;
    virtual ~P_icon() = default;
    // Tools have identity: the framework compares and stores their addresses.
    P_icon(const P_icon&) = delete;
    P_icon& operator=(const P_icon&) = delete;

    // Draws the feedback at MousePoint (pens stamp here, through the paint kit).
    virtual void DrawOutline() {}
    // Redraws an overlay after the view painted the picture (ToolOverlayFlag).
    virtual void Paint() {}
    // Takes back what DrawOutline drew.
    virtual void EraseOutline() {}
    // One step of the operation at MousePoint: each press, and the release
    // that ends a drag.
    virtual void Click() {}
    virtual void Activate() {}
    // next: the tool that follows, or null when this one is only parked.
    virtual void Deactivate(P_icon* next) { (void)next; }

    bool IsOneShot() const { return (flags & ToolOneShot) != 0; }
    bool IsCommand() const { return (flags & ToolCommand) != 0; }
    bool IsToggle() const { return (flags & ToolToggle) != 0; }
};

// A one-shot command: selecting it runs its Activate and gives way at once.
class P_func : public P_icon {
public:
    P_func() { flags = ToolCommand; }
};

#endif
