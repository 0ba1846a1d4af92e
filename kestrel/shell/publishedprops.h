// Published properties by name: the part of run-time type information that
// language files need to set captions, hints, texts and item lists.
//
// Each class registers the few properties a language line may address; a
// component answers those of its class and of every base class. Only three
// kinds exist, so a line naming anything else (a font, a flag, an object)
// finds no property and is ignored instead of being forced into a wrong
// type.
#ifndef KESTREL_PUBLISHEDPROPS_H
#define KESTREL_PUBLISHEDPROPS_H

#include <functional>
#include "ansistring.h"
#include "component.h"
#include "stringlist.h"

enum TPropertyKind { pkString, pkInteger, pkStringList };

struct TPublishedProperty {
    AnsiString name;
    TPropertyKind kind = pkString;
    std::function<bool(TComponent*)> appliesTo;
    // pkString
    std::function<void(TComponent*, const AnsiString&)> setText;
    // pkInteger
    std::function<int(TComponent*)> getInteger;
    std::function<void(TComponent*, int)> setInteger;
    // pkStringList: the list a value replaces, and what the control does
    // once its list was replaced (may be empty).
    std::function<TStrings*(TComponent*)> strings;
    std::function<void(TComponent*)> listReplaced;
};

// Later registrations win over earlier ones of the same name, so a class
// can override what a base class publishes.
void RegisterPublishedProperty(const TPublishedProperty& property);
// The property named name (case ignored, as run-time type information
// does) of component, or nullptr.
const TPublishedProperty* FindPublishedProperty(TComponent* component, const AnsiString& name);

template <class C>
bool IsA(TComponent* component)
{
    return dynamic_cast<C*>(component) != nullptr;
}

template <class C, class Set>
void PublishString(const char* name, Set set)
{
    TPublishedProperty p;
    p.name = name;
    p.kind = pkString;
    p.appliesTo = IsA<C>;
    p.setText = [set](TComponent* c, const AnsiString& v) { set(dynamic_cast<C*>(c), v); };
    RegisterPublishedProperty(p);
}

template <class C, class Get, class Set>
void PublishInteger(const char* name, Get get, Set set)
{
    TPublishedProperty p;
    p.name = name;
    p.kind = pkInteger;
    p.appliesTo = IsA<C>;
    p.getInteger = [get](TComponent* c) { return get(dynamic_cast<C*>(c)); };
    p.setInteger = [set](TComponent* c, int v) { set(dynamic_cast<C*>(c), v); };
    RegisterPublishedProperty(p);
}

template <class C, class Get>
void PublishStringList(const char* name, Get strings, std::function<void(C*)> replaced = nullptr)
{
    TPublishedProperty p;
    p.name = name;
    p.kind = pkStringList;
    p.appliesTo = IsA<C>;
    p.strings = [strings](TComponent* c) { return strings(dynamic_cast<C*>(c)); };
    if (replaced) p.listReplaced = [replaced](TComponent* c) { replaced(dynamic_cast<C*>(c)); };
    RegisterPublishedProperty(p);
}

#endif
