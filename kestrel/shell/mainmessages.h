// The main window's private messages. The values a filter component sends
// with its requests come from a foreign DLL: the checks here keep bad ones
// from reaching the picture or the component's descriptor.
#ifndef KESTREL_MAINMESSAGES_H
#define KESTREL_MAINMESSAGES_H

// The private messages of the main window.
enum : unsigned {
    UM_BROWSERREFRESH = 4155,
    UM_COMPPREVIEW = 5493,
    UM_COMPOK = 5494,
    UM_COMPCANCEL = 5495,
    UM_COMPRESIZE = 5496,
    UM_COMPSETPARAM = 5497,
    UM_COMPPROGRESS = 5498,
    UM_COMPPROGRESSMAX = 5499,
    UM_COMPNOTIFYON = 5500,
    UM_COMPNOTIFYOFF = 5501,
    UM_SHOWTIP = 6478,
    UM_STARTED = 6479,
    UM_NEWIMAGE = 6480,
};

// wParam: low 16 bits n, high 16 bits a sub-command.
struct ComponentRequest {
    int n;
    int subCommand;
};
ComponentRequest SplitComponentWParam(unsigned long wParam);

// A component has this many parameter slots.
const int ComponentParamSlots = 10;
// Picture sides a component may ask for: the views take 16-bit coordinates.
const int ComponentMaxSide = 32767;

// A resize the picture can take: both sides from 1 to maxSide.
bool ComponentResizeValid(int width, long height, int maxSide);
// kind 0 marks an unused slot.
bool ComponentParamValid(int index, int kind);

#endif
