#include "messages.h"

#include <cstdio>

MessageBoxFunc MessageBoxHook;

static std::function<AnsiString(const AnsiString&)> languageLookup;

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
