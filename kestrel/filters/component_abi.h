// The messages that cross between the program and a filter component. The
// codes are fixed: components are built separately and keep them.
#ifndef KESTREL_COMPONENT_ABI_H
#define KESTREL_COMPONENT_ABI_H

#include "mainmessages.h"

// From the program to the component's KSCPROCESS(data, message).
enum ComponentMessage {
    KSCM_INIT = 4493,     // the process block; guarded
    KSCM_VALUES = 4494,   // the value block
    KSCM_BUTTON = 4495,   // the 1-based number of the pressed button
    KSCM_PROCESS = 4496,  // the process block; guarded
    KSCM_DONE = 4497,     // null, before the component is unloaded
    KSCM_POINTER = 4498   // the pointer record; guarded
};

// From the component to the main window: the UM_COMP... messages, which
// are the main window's private messages (mainmessages.h).

// What a component is given to process; the field order and sizes are the
// contract (twenty 32-bit fields).
struct ComponentPictureRecord {
    const unsigned long* pixels;
    int width, height;
};

struct ComponentProcessBlock {
    void* window;                  // receives the UM_COMP... messages
    const unsigned long* source;   // the untouched copy, or the thumbnail's source
    unsigned long* destination;
    int width, height;             // rows are exactly width pixels apart
    int left, top, right, bottom;  // inclusive
    int hasSelection;              // then only pixels with 0x04000000 may change
    int preview;                   // 0 on the instant-preview thumbnail
    unsigned long drawingColour, backgroundColour;
    const int* cosine;
    const int* sine;
    const int* tangent;
    const ComponentPictureRecord* pictures;  // one per image window, in creation order
    int activePicture;             // index + 1
    int paletteCount;
    const unsigned long* palette;
};

struct ComponentPointerRecord {
    int x, y;                      // fractions 0..65535 of width - 1 and height - 1
    int width, height;
    unsigned char rightButton;
    unsigned char padding[3];
    int origin;                    // 0 the picture, 1 the instant-preview thumbnail
};

static_assert(sizeof(void*) == 4, "components are 32-bit");
static_assert(sizeof(ComponentPictureRecord) == 12, "picture record layout");
static_assert(sizeof(ComponentProcessBlock) == 80, "process block layout");
static_assert(sizeof(ComponentPointerRecord) == 24, "pointer record layout");

#endif
