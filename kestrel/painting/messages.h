// Texts by message key, and message boxes by key.
//
// This is the part of the language tables that the painting core needs
// before language files can be loaded: Translate falls back to the built-in
// English text of a key, and then to the key itself, so every message reads
// well with no language file. The language-file loader adds its own table
// in front of the built-in one through SetLanguageLookup.
#ifndef KESTREL_MESSAGES_H
#define KESTREL_MESSAGES_H

#include <functional>
#include "ansistring.h"

// Message box flags the program uses (the values of the Windows API).
const unsigned MsgIconWarning = 0x30;  // errors
const unsigned MsgIconExclamation = 0x30;
const unsigned MsgYesNo = 0x04;

AnsiString Translate(const AnsiString& key);
// The built-in English text, or empty when the key has none. The texts are
// the messages of the shell's english.txt, built in (langbuiltin.cpp).
const char* BuiltInText(const char* key);

// Answers a language's text for a key, empty when it has none.
void SetLanguageLookup(std::function<AnsiString(const AnsiString& key)> lookup);

// Shows Translate(textKey) with the title Translate(captionKey) and answers
// the button pressed. It goes through MessageBoxHook when one is set (the
// application installs its message box; tests record the calls); with no
// hook the message is written to the diagnostic output and 1 (OK) answered.
int TranslatedMessageBox(const AnsiString& textKey, const AnsiString& captionKey, unsigned flags);

using MessageBoxFunc = std::function<int(const AnsiString& text, const AnsiString& caption, unsigned flags)>;
extern MessageBoxFunc MessageBoxHook;

#endif
