#include "browser_effects.h"

#include <cstring>

#include "component_entry.h"
#include "component_module.h"
#include "formula_context.h"
#include "lang.h"
#include "messages.h"
#include "mainform.h"
#include "paintkit_host.h"

TBrowserEffects* BrowserEffects = nullptr;

namespace {

// Components name themselves; a language may translate a name under the
// key "~" + name.
AnsiString ComponentNameKey(const std::string& name) { return AnsiString("~") + name.c_str(); }

// The name in the language, or the name itself.
AnsiString LocalName(const std::string& name)
{
    AnsiString text = Translate(ComponentNameKey(name));
    if (text.Length() > 0 && text[1] == '~') text = text.SubString(2, text.Length() - 1);
    return text;
}

// The trigonometric tables every process block points to.
const FormulaContext& Tables()
{
    static FormulaContext* tables = [] {
        FormulaContext* t = new FormulaContext();
        FillFormulaTables(*t);
        return t;
    }();
    return *tables;
}

ComponentProcessBlock ThumbnailBlock(Buffer& source, Buffer& destination, ComponentPictureRecord& picture)
{
    ComponentProcessBlock block;
    std::memset(&block, 0, sizeof block);
    block.window = MainForm ? MainForm->GetHandle() : nullptr;
    block.source = source.pixels;
    block.destination = destination.pixels;
    block.width = destination.Width();
    block.height = destination.Height();
    block.right = block.width - 1;
    block.bottom = block.height - 1;
    block.drawingColour = ForeColour() & 0xFFFFFF;
    block.backgroundColour = BackColour() & 0xFFFFFF;
    block.cosine = Tables().sine + 256;
    block.sine = Tables().sine;
    block.tangent = Tables().tangent;
    picture.pixels = source.pixels;
    picture.width = source.Width();
    picture.height = source.Height();
    block.pictures = &picture;
    block.activePicture = 1;
    return block;
}

}  // namespace

AnsiString TComponentFileEffects::GroupName(int group) { return LocalName(groups_[group].name.c_str()); }

int TComponentFileEffects::FirstComponent(int group)
{
    int first = 0;
    for (int g = 0; g < group; ++g) first += int(groups_[g].paths.size());
    return first;
}

int TComponentFileEffects::ComponentCount(int group) { return int(groups_[group].paths.size()); }

AnsiString TComponentFileEffects::ComponentPath(int component)
{
    for (const ComponentFileGroup& g : groups_) {
        if (component < int(g.paths.size())) return g.paths[component];
        component -= int(g.paths.size());
    }
    return "";
}

bool TComponentFileEffects::Render(int component, Buffer& source, Buffer& destination, AnsiString& caption)
{
    caption = "";
    ComponentModule module;
    if (!destination.pixels || !LoadComponentModule(ComponentPath(component).c_str(), module)) return false;
    ComponentEntry entry = DescribeComponent(module.descriptor, ComponentPath(component).c_str(), module.version);
    AnsiString name = LocalName(entry.name);
    ComponentPictureRecord picture;
    ComponentProcessBlock block = ThumbnailBlock(source, destination, picture);
    // As an activation would: the current values, then Preset's defaults,
    // which the thumbnail shows. Without the host's table the current values
    // are the defaults too.
    if (CallComponentGuarded(module.process, &block, KSCM_INIT, name)) {
        try {
            CallComponent(module.process, entry.values, KSCM_VALUES, name);
            CallComponent(module.process, entry.defaults, KSCM_VALUES, name);
            CallComponentGuarded(module.process, &block, KSCM_PROCESS, name);
            CallComponent(module.process, nullptr, KSCM_DONE, name);
        } catch (...) {
            FreeComponentModule(module);
            throw;
        }
    }
    FreeComponentModule(module);
    caption = name;
    return true;
}
