#include "component_table.h"

#include "messages.h"

#include <cctype>

ComponentEntry Components[MAX_COMPONENTS];
int ComponentCount = 0;
int CurrentComponent = 0;
std::vector<std::string> EffectList;

void ClearComponents()
{
    for (int i = 0; i < ComponentCount; ++i) Components[i] = ComponentEntry();
    ComponentCount = 0;
    CurrentComponent = 0;
    EffectList.clear();
}

int AddComponent(const ComponentEntry& e)
{
    if (ComponentCount >= MAX_COMPONENTS) return -1;
    Components[ComponentCount] = e;
    return ComponentCount++;
}

ComponentEntry* ComponentAt(int index)
{
    return index >= 0 && index < ComponentCount ? &Components[index] : nullptr;
}

std::string EffectFolderName(const std::string& path)
{
    std::string name = path;
    while (!name.empty() && (name.back() == '\\' || name.back() == '/')) name.pop_back();
    const size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

bool StartsMenuColumn(int place) { return place > 0 && place % 20 == 0; }

AnsiString TranslateName(const AnsiString& name)
{
    AnsiString text = Translate("~" + name);
    if (text.Length() > 0 && text[1] == '~') text = text.SubString(2, text.Length() - 1);
    return text;
}

void SplitPointSlot(unsigned value, int& xFraction, int& yFraction)
{
    xFraction = static_cast<int>(value & 0xFFFF);
    yFraction = static_cast<int>(value >> 16);
}

unsigned JoinPointSlot(int xFraction, int yFraction)
{
    return (static_cast<unsigned>(xFraction) & 0xFFFF) | (static_cast<unsigned>(yFraction) & 0xFFFF) << 16;
}

void SplitPointMessage(long lParam, int& xFraction, int& yFraction)
{
    const unsigned v = static_cast<unsigned>(lParam);
    xFraction = static_cast<int>(v >> 16);
    yFraction = static_cast<int>(v & 0xFFFF);
}
