// TRegIniFile: each section is a subkey of the file's key, reached through
// a second TRegistry so that the file's key stays the open one.
#include "registry.h"

#include "exceptions.h"
#include "stringlist.h"
#include "sysutils.h"

namespace {

// Opens the section's key (the file's own key for an empty section).
bool OpenSection(TRegistry& reg, const TRegistry& file, const AnsiString& Section, bool create)
{
    reg.SetRootKey(file.GetRootKey());
    AnsiString path = "\\" + file.GetCurrentPath();
    if (!Section.IsEmpty()) path += "\\" + Section;
    return reg.OpenKey(path, create);
}

}  // namespace

TRegIniFile::TRegIniFile(const AnsiString& FileName) : fileName_(FileName)
{
    OpenKey(FileName, true);
}

AnsiString TRegIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)
{
    TRegistry reg(KEY_READ);
    if (!OpenSection(reg, *this, Section, false)) return Default;
    TRegDataType type = reg.GetDataType(Ident);
    return type == rdString || type == rdExpandString ? reg.ReadString(Ident) : Default;
}

int TRegIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default)
{
    TRegistry reg(KEY_READ);
    if (!OpenSection(reg, *this, Section, false)) return Default;
    switch (reg.GetDataType(Ident)) {
    case rdInteger: return reg.ReadInteger(Ident);
    case rdString: return StrToIntDef(reg.ReadString(Ident), Default);
    default: return Default;
    }
}

bool TRegIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
    TRegistry reg;
    if (!OpenSection(reg, *this, Section, true)) {
        throw ERegistryException("Failed to create key " + fileName_ + "\\" + Section);
    }
    reg.WriteString(Ident, Value);
}

void TRegIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

void TRegIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TRegIniFile::ReadSection(const AnsiString& Section, TStrings* Strings)
{
    TRegistry reg(KEY_READ);
    if (!OpenSection(reg, *this, Section, false)) {
        Strings->Clear();
        return;
    }
    reg.GetValueNames(Strings);
}

void TRegIniFile::ReadSections(TStrings* Strings)
{
    GetKeyNames(Strings);
}

void TRegIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings)
{
    TStringList names;
    ReadSection(Section, &names);
    TStringList values;
    for (int i = 0; i < names.GetCount(); i++) {
        AnsiString name = names.GetStrings(i);
        values.Add(name + "=" + ReadString(Section, name, AnsiString()));
    }
    Strings->Assign(&values);
}

void TRegIniFile::EraseSection(const AnsiString& Section)
{
    // Empty would erase the whole file's key.
    if (!Section.IsEmpty()) TRegistry::DeleteKey(Section);
}

void TRegIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
    TRegistry reg;
    if (OpenSection(reg, *this, Section, false)) reg.DeleteValue(Ident);
}

bool TRegIniFile::SectionExists(const AnsiString& Section)
{
    return KeyExists(Section);
}

bool TRegIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident)
{
    TRegistry reg(KEY_READ);
    return OpenSection(reg, *this, Section, false) && reg.ValueExists(Ident);
}
