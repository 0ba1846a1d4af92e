#include "messages.h"

#include <cstdio>
#include <cstring>

MessageBoxFunc MessageBoxHook;

static std::function<AnsiString(const AnsiString&)> languageLookup;

namespace {
struct BuiltIn {
    const char* key;
    const char* text;
};

const BuiltIn builtIn[] = {
    {"Err", "Error"},
    {"Warn", "Warning"},
    {"NoMem", "Not enough memory for this operation."},
    {"Undo", "Undo"},
    {"Redo", "Redo"},
    {"DelSel", "Remove selection"},
    {"UndoStepLost",
     "A saved undo step could not be read back (its file is missing or damaged). "
     "It and the older steps of the list were discarded; the picture is unchanged."},
    {"UndoFilesLost", "Some undo steps could not be moved to the new undo folder and were discarded."},
};
}  // namespace

const char* BuiltInText(const char* key)
{
    for (const BuiltIn& b : builtIn)
        if (std::strcmp(b.key, key) == 0) return b.text;
    return "";
}

void SetLanguageLookup(std::function<AnsiString(const AnsiString& key)> lookup) { languageLookup = std::move(lookup); }

AnsiString Translate(const AnsiString& key)
{
    if (languageLookup) {
        AnsiString text = languageLookup(key);
        if (!text.IsEmpty()) return text;
    }
    const char* text = BuiltInText(key.c_str());
    return *text ? AnsiString(text) : key;
}

int TranslatedMessageBox(const AnsiString& textKey, const AnsiString& captionKey, unsigned flags)
{
    AnsiString text = Translate(textKey), caption = Translate(captionKey);
    if (MessageBoxHook) return MessageBoxHook(text, caption, flags);
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return 1;
}
