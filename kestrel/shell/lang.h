// The language tables: the messages of the chosen language, the names of
// the language files found, and the expanded text forms translate from.
//
// One TLang lives behind Lang from start-up to shut-down. While it lives,
// Translate (messages.h) answers its messages first; a key it has no text
// for falls back to the built-in English text and then to the key itself.
#ifndef KESTREL_LANG_H
#define KESTREL_LANG_H

#include <functional>
#include <vector>
#include "ansistring.h"
#include "appsettings.h"
#include "langtext.h"
#include "stringlist.h"

class TComponent;

// The live form of the program with this Name (case ignored), or nullptr.
using FormFinder = std::function<TComponent*(const AnsiString& name)>;

class TLang {
public:
    // programDir ends in a separator or is empty (the current folder).
    explicit TLang(const AnsiString& programDir = AnsiString());
    ~TLang();
    TLang(const TLang&) = delete;
    TLang& operator=(const TLang&) = delete;

    // Expands programDir + name + ".lng" and takes its messages; false when
    // it could not. On any failure the user is told and the previous
    // language stays in force (messages and expanded text alike).
    bool Load(const AnsiString& name);

    // The assignments of a form's section ("[PrintForm]"), in file order;
    // none with no language loaded or no such section.
    std::vector<LangEntry> ReadFormSection(const AnsiString& section) const;

    // Translates the live form whose Name is the section without its
    // brackets from that section ("[PrintForm]"). Forms call it in their
    // creation handler. Windows build only: the forms are Screen's.
    void TranslateForm(const AnsiString& section);
    // TranslateForm with the forms that findForm answers.
    void TranslateSection(const AnsiString& section, const FormFinder& findForm);
    // One line of a form section: "> Name" picks another target form,
    // "Comp.Sub.Property=value" sets a property below the target. A line
    // naming a missing component or property, or a value the property
    // refuses, changes nothing.
    void ApplyAssignment(const LangEntry& entry, const FormFinder& findForm);
    // The form being translated; null outside TranslateSection.
    TComponent* GetTarget() const { return target_; }

    // The component owner owns under name (case ignored), or nullptr.
    static TComponent* FindComponentByName(TComponent* owner, const AnsiString& name);
    // False when the component does not publish the property or the value
    // does not suit it (text for an integer). A string list takes the
    // value's "|"-separated items; a published ItemIndex keeps its value
    // when the new list still has that item, else becomes -1.
    static bool SetPublishedProperty(TComponent* component, const AnsiString& property, const AnsiString& value);

    // Found-file handler of the start-up scan for "*.lng".
    void AddLanguageName(const AnsiString& fileName);

    // The language's text for key, empty when it has none.
    AnsiString Lookup(const AnsiString& key) const;

    const AnsiString& TempFileName() const { return tempFileName_; }

private:
    bool ReadLanguageFile(const AnsiString& path, std::string& text);
    AnsiString WriteTempFile(const std::string& text);
    void ReadMessages(const AnsiString& fileName);

    AnsiString programDir_;
    AnsiString tempFileName_;
    TComponent* target_ = nullptr;
};

extern TLang* Lang;
extern TStringList* LanguageNames;
extern TStringList* MessageKeys;
extern TStringList* MessageValues;

// When the settings name a language: loads it and translates the main
// window ("[Translations]"). False when none is named or it could not be
// loaded (the user was told). Windows build.
bool LoadLanguage(const TAppSettings& settings = AppSettings);

// Makes the name of a new, not yet existing temporary file. The default
// claims a free "KSLNG" name in the folder named by TMP, TEMP or TMPDIR
// (on Windows the temporary folder), else the current folder. Unlike
// _tempnam it keeps the whole prefix and honours the folder; tests replace
// it to make the file fail.
extern std::function<AnsiString()> MakeLanguageTempName;

#endif
