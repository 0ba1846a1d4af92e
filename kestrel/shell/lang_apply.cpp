#include "lang.h"

#include "component.h"
#include "exceptions.h"
#include "langassign.h"
#include "publishedprops.h"

namespace {

// A list mirrored into a window is redrawn once, even when an Add fails.
class UpdateGuard {
public:
    explicit UpdateGuard(TStrings* strings) : strings_(strings) { strings_->BeginUpdate(); }
    ~UpdateGuard() { strings_->EndUpdate(); }
    UpdateGuard(const UpdateGuard&) = delete;
    UpdateGuard& operator=(const UpdateGuard&) = delete;

private:
    TStrings* strings_;
};

void ReplaceList(TComponent* component, const TPublishedProperty& list, const AnsiString& value)
{
    TStrings* strings = list.strings(component);
    if (!strings) return;
    const TPublishedProperty* itemIndex = FindPublishedProperty(component, "ItemIndex");
    if (itemIndex && (itemIndex->kind != pkInteger || !itemIndex->getInteger || !itemIndex->setInteger))
        itemIndex = nullptr;
    int kept = itemIndex ? itemIndex->getInteger(component) : -1;
    std::vector<AnsiString> items = SplitListValue(value);
    {
        UpdateGuard update(strings);
        strings->Clear();
        for (const AnsiString& item : items) strings->Add(item);
    }
    if (itemIndex) itemIndex->setInteger(component, kept < static_cast<int>(items.size()) ? kept : -1);
    if (list.listReplaced) list.listReplaced(component);
}

}  // namespace

TComponent* TLang::FindComponentByName(TComponent* owner, const AnsiString& name)
{
    return owner && !name.IsEmpty() ? owner->FindComponent(name) : nullptr;
}

bool TLang::SetPublishedProperty(TComponent* component, const AnsiString& property, const AnsiString& value)
{
    const TPublishedProperty* p = FindPublishedProperty(component, property);
    if (!p) return false;
    switch (p->kind) {
    case pkString:
        p->setText(component, value);
        return true;
    case pkInteger: {
        int number = 0;
        if (!ParseIntegerValue(value, number)) return false;
        p->setInteger(component, number);
        return true;
    }
    case pkStringList:
        ReplaceList(component, *p, value);
        return true;
    }
    return false;
}

void TLang::ApplyAssignment(const LangEntry& entry, const FormFinder& findForm)
{
    AnsiString path = entry.key;
    if (!path.IsEmpty() && path[1] == '>') {
        target_ = findForm ? findForm(entry.value.Trim()) : nullptr;
        return;
    }
    TComponent* component = target_;
    AnsiString name;
    while (SplitComponentPath(path, name)) component = FindComponentByName(component, name);
    AnsiString value = AtSignsToBlanks(entry.value);
    if (!component || value.IsEmpty()) return;
    try {
        SetPublishedProperty(component, path.Trim(), value);
    } catch (const Exception&) {
        // A value the control refuses (an item index out of range) must
        // not stop the form from being created.
    }
}

void TLang::TranslateSection(const AnsiString& section, const FormFinder& findForm)
{
    std::vector<LangEntry> entries = ReadFormSection(section);
    if (entries.empty()) return;
    AnsiString formName = section;
    if (formName.Length() >= 2 && formName[1] == '[' && formName[formName.Length()] == ']')
        formName = formName.SubString(2, formName.Length() - 2);
    target_ = findForm ? findForm(formName) : nullptr;
    for (const LangEntry& entry : entries) ApplyAssignment(entry, findForm);
    target_ = nullptr;
}
