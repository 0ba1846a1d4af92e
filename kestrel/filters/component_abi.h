// The messages that cross between the program and a filter component. The
// codes are fixed: components are built separately and keep them.
#ifndef KESTREL_COMPONENT_ABI_H
#define KESTREL_COMPONENT_ABI_H

// From the program to the component's KSCPROCESS(data, message).
enum ComponentMessage {
    KSCM_INIT = 4493,     // the process block; guarded
    KSCM_VALUES = 4494,   // the value block
    KSCM_BUTTON = 4495,   // the 1-based number of the pressed button
    KSCM_PROCESS = 4496,  // the process block; guarded
    KSCM_DONE = 4497,     // null, before the component is unloaded
    KSCM_POINTER = 4498   // the pointer record; guarded
};

// From the component to the main window; wParam's low word is the 1-based
// parameter, its high word the sub-command.
enum ComponentReply {
    UM_COMPPREVIEW = 5493,
    UM_COMPOK = 5494,
    UM_COMPCANCEL = 5495,
    UM_COMPRESIZE = 5496,
    UM_COMPSETPARAM = 5497,
    UM_COMPPROGRESS = 5498,
    UM_COMPPROGRESSMAX = 5499,
    UM_COMPNOTIFYON = 5500,
    UM_COMPNOTIFYOFF = 5501
};

#endif
