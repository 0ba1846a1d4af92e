// The built-in English: the messages of english.txt, compiled into the
// program by the build (tools/lngembed.py) and read on first use with the
// reader of language files, so the two cannot drift apart.
#include <string>
#include <utility>
#include <vector>
#include "langtext.h"
#include "messages.h"

extern const char BuiltInEnglishText[];
extern const unsigned BuiltInEnglishText_size;

namespace {

using TextTable = std::vector<std::pair<std::string, std::string>>;

const TextTable& BuiltInTable()
{
    static const TextTable table = [] {
        TextTable t;
        std::string text(BuiltInEnglishText, BuiltInEnglishText_size);
        for (const LangEntry& e : ReadMessageSection(text)) t.emplace_back(e.key.c_str(), e.value.c_str());
        return t;
    }();
    return table;
}

}  // namespace

const char* BuiltInText(const char* key)
{
    // The first entry of a key counts, as it does in a language file.
    for (const auto& entry : BuiltInTable())
        if (entry.first == key) return entry.second.c_str();
    return "";
}
