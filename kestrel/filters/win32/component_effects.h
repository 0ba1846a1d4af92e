// The component host's side of the browser's effect mode. The groups are
// the component folders of the last scan (their submenus tell which
// components each holds), and each thumbnail is one run of a component
// through the component tool, in the order an activation runs it, with a
// dialog that belongs to the browser while it is shown.
#ifndef KESTREL_COMPONENT_EFFECTS_H
#define KESTREL_COMPONENT_EFFECTS_H

#include "browser_effects.h"

class TCompForm;

class TComponentEffects : public TBrowserEffects {
public:
    int GroupCount() override;
    AnsiString GroupName(int group) override;
    int FirstComponent(int group) override;
    int ComponentCount(int group) override;
    AnsiString ComponentPath(int component) override;
    bool Begin() override;
    void End() override;
    bool Render(int component, Buffer& source, Buffer& destination, AnsiString& caption) override;
    void Choose(const AnsiString& path) override;

private:
    TCompForm* dialog_ = nullptr;
};

extern TComponentEffects ComponentEffects;

#endif
