// Settings through either kind of INI object the placement may use: an INI
// file (TCustomIniFile) or the registry dressed as one (TRegIniFile). Any
// other object raises EInvalidOperation. Also the application's defaults for
// where settings go.
#ifndef KESTREL_PLACEMENT_INI_H
#define KESTREL_PLACEMENT_INI_H

#include "component.h"

class TStrings;

AnsiString IniReadString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                         const AnsiString& Default);
void IniWriteString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
int IniReadInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, int Default);
void IniWriteInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, int Value);
bool IniReadBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, bool Default);
void IniWriteBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, bool Value);
void IniReadSection(TObject* IniFile, const AnsiString& Section, TStrings* Idents);
void IniEraseSection(TObject* IniFile, const AnsiString& Section);

// "Form.Component" of Component's form, or the form's name for a form.
AnsiString GetDefaultSection(TComponent* Component);
// The executable's name with ".INI".
AnsiString GetDefaultIniName();
// "Software\" + the application's title (or executable name).
AnsiString GetDefaultIniRegKey();
// "(WxH)" of the screen.
AnsiString GetResolutionStr();

#endif
