// What the browser's effect mode needs of the filter component host: the
// groups of components (one per folder below Comps, in the effect list's
// order), the components of each, and one run of a component at its
// declared defaults on a thumbnail.
//
// The host installs its own TBrowserEffects in BrowserEffects. Until it
// does, TComponentFileEffects serves groups given as lists of component
// files, loading each through the component interface.
#ifndef KESTREL_BROWSER_EFFECTS_H
#define KESTREL_BROWSER_EFFECTS_H

#include <vector>

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
    // Runs the component at its declared defaults, leaving the values the
    // user last chose in place: source and destination are the same size,
    // the whole of it is processed, no selection, not a preview. caption
    // gets the component's translated name. False, with caption empty, when
    // the component does not load.
    virtual bool Render(int component, Buffer& source, Buffer& destination, AnsiString& caption) = 0;
    // The clicked component becomes the current one, and its tool the one
    // resumed after the browser.
    virtual void Choose(int component) = 0;
};

// Null until some host is installed; effect mode needs one.
extern TBrowserEffects* BrowserEffects;

struct ComponentFileGroup {
    AnsiString name;
    std::vector<AnsiString> paths;
};

class TComponentFileEffects : public TBrowserEffects {
public:
    explicit TComponentFileEffects(std::vector<ComponentFileGroup> groups) : groups_(std::move(groups)) {}

    int GroupCount() override { return int(groups_.size()); }
    AnsiString GroupName(int group) override;
    int FirstComponent(int group) override;
    int ComponentCount(int group) override;
    AnsiString ComponentPath(int component) override;
    bool Render(int component, Buffer& source, Buffer& destination, AnsiString& caption) override;
    void Choose(int component) override { chosen_ = component; }
    int Chosen() const { return chosen_; }

private:
    std::vector<ComponentFileGroup> groups_;
    int chosen_ = -1;
};

#endif
