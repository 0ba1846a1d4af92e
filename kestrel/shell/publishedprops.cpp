#include "publishedprops.h"

#include <vector>

namespace {
std::vector<TPublishedProperty>& Table()
{
    static std::vector<TPublishedProperty> table;
    return table;
}
}  // namespace

void RegisterPublishedProperty(const TPublishedProperty& property) { Table().push_back(property); }

const TPublishedProperty* FindPublishedProperty(TComponent* component, const AnsiString& name)
{
    if (!component) return nullptr;
    const std::vector<TPublishedProperty>& table = Table();
    for (auto it = table.rbegin(); it != table.rend(); ++it)
        if (it->name.AnsiCompareIC(name) == 0 && it->appliesTo(component)) return &*it;
    return nullptr;
}
