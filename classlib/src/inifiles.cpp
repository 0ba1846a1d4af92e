// TCustomIniFile: the typed reads and writes, built on the string ones.
#include "inifiles.h"

#include "stringlist.h"
#include "sysutils.h"

int TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default)
{
    return StrToIntDef(ReadString(Section, Ident, AnsiString()), Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

bool TCustomIniFile::SectionExists(const AnsiString& Section)
{
    TStringList idents;
    ReadSection(Section, &idents);
    return idents.GetCount() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident)
{
    TStringList idents;
    ReadSection(Section, &idents);
    return idents.IndexOf(Ident) >= 0;
}
