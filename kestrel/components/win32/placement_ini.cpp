#include "placement_ini.h"

#include "application.h"
#include "placement_model.h"
#include "inifiles.h"
#include "registry.h"
#include "screen.h"

namespace {

TCustomIniFile* AsIni(TObject* o) { return dynamic_cast<TCustomIniFile*>(o); }
TRegIniFile* AsReg(TObject* o) { return dynamic_cast<TRegIniFile*>(o); }

[[noreturn]] void NotAnIniFile()
{
    throw EInvalidOperation("Object is not an INI file or registry INI file");
}

}  // namespace

AnsiString IniReadString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                         const AnsiString& Default)
{
    if (TCustomIniFile* ini = AsIni(IniFile)) return ini->ReadString(Section, Ident, Default);
    if (TRegIniFile* reg = AsReg(IniFile)) return reg->ReadString(Section, Ident, Default);
    NotAnIniFile();
}

void IniWriteString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
    if (TCustomIniFile* ini = AsIni(IniFile)) return ini->WriteString(Section, Ident, Value);
    if (TRegIniFile* reg = AsReg(IniFile)) return reg->WriteString(Section, Ident, Value);
    NotAnIniFile();
}

int IniReadInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, int Default)
{
    if (TCustomIniFile* ini = AsIni(IniFile)) return ini->ReadInteger(Section, Ident, Default);
    if (TRegIniFile* reg = AsReg(IniFile)) return reg->ReadInteger(Section, Ident, Default);
    NotAnIniFile();
}

void IniWriteInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, int Value)
{
    if (TCustomIniFile* ini = AsIni(IniFile)) return ini->WriteInteger(Section, Ident, Value);
    if (TRegIniFile* reg = AsReg(IniFile)) return reg->WriteInteger(Section, Ident, Value);
    NotAnIniFile();
}

bool IniReadBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, bool Default)
{
    return IniReadInteger(IniFile, Section, Ident, Default ? 1 : 0) != 0;
}

void IniWriteBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, bool Value)
{
    IniWriteInteger(IniFile, Section, Ident, Value ? 1 : 0);
}

void IniReadSection(TObject* IniFile, const AnsiString& Section, TStrings* Idents)
{
    if (TCustomIniFile* ini = AsIni(IniFile)) return ini->ReadSection(Section, Idents);
    if (TRegIniFile* reg = AsReg(IniFile)) return reg->ReadSection(Section, Idents);
    NotAnIniFile();
}

void IniEraseSection(TObject* IniFile, const AnsiString& Section)
{
    if (TCustomIniFile* ini = AsIni(IniFile)) return ini->EraseSection(Section);
    if (TRegIniFile* reg = AsReg(IniFile)) return reg->EraseSection(Section);
    NotAnIniFile();
}

AnsiString GetDefaultSection(TComponent* Component)
{
    if (!Component) return AnsiString();
    if (dynamic_cast<TCustomForm*>(Component)) return Component->GetName();
    TComponent* form = Component->GetOwner();
    while (form && !dynamic_cast<TCustomForm*>(form)) form = form->GetOwner();
    return DefaultSectionName(form ? form->GetName() : AnsiString(), Component->GetName(), false);
}

AnsiString GetDefaultIniName()
{
    return Application ? DefaultIniName(Application->GetExeName()) : AnsiString();
}

AnsiString GetDefaultIniRegKey()
{
    if (!Application) return "Software";
    return DefaultRegKey(Application->GetTitle(), Application->GetExeName());
}

AnsiString GetResolutionStr()
{
    return ResolutionSuffix(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}
