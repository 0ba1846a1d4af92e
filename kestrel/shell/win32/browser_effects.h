// What the browser's effect mode needs of the filter component host: the
// groups of components (one per folder below Comps, in the effect list's
// order), the components of each, and one run of a component at its
// declared defaults on a thumbnail. The host installs its implementation
// in BrowserEffects when it scans.
#ifndef KESTREL_BROWSER_EFFECTS_H
#define KESTREL_BROWSER_EFFECTS_H

#include "ansistring.h"
#include "buffer.h"

class TBrowserEffects {
public:
    virtual ~TBrowserEffects() = default;
    virtual int GroupCount() = 0;
    // The group's name as the effect box lists it (translated).
    virtual AnsiString GroupName(int group) = 0;
    // Index of the group's first component, and how many it has.
    virtual int FirstComponent(int group) = 0;
    virtual int ComponentCount(int group) = 0;
    virtual AnsiString ComponentPath(int component) = 0;
    // The component dialog and pictures the runs use, made while effect
    // mode is shown. Begin is false when there is no memory for them.
    virtual bool Begin() = 0;
    virtual void End() = 0;
    // Runs the component at its declared defaults, leaving the values the
    // user last chose in place: source and destination are the same size,
    // the whole of it is processed, no selection, not a preview. caption
    // gets the component's translated name. False, with caption empty, when
    // the component does not load.
    virtual bool Render(int component, Buffer& source, Buffer& destination, AnsiString& caption) = 0;
    // The component with this DLL path becomes the current one, and its
    // tool the one resumed after the browser.
    virtual void Choose(const AnsiString& path) = 0;
};

// Null until the host has scanned; effect mode needs it.
extern TBrowserEffects* BrowserEffects;

#endif
