// INI files: TCustomIniFile, the interface shared by every settings file,
// and TIniFile, a .ini file on disk through the system's profile functions.
//
// Missing sections and values read as the caller's default. A file name
// without a folder means a file in the Windows folder, as the system has it;
// callers pass full paths. Writes that the system refuses raise
// EIniFileException "Unable to write to <file>".
#ifndef CLASSLIB_INIFILES_H
#define CLASSLIB_INIFILES_H

#include "ansistring.h"
#include "component.h"
#include "exceptions.h"

class TStrings;

class EIniFileException : public Exception {
public:
    explicit EIniFileException(const AnsiString& msg) : Exception(msg) {}
};

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const AnsiString& FileName) : fileName_(FileName) {}

    AnsiString GetFileName() const { return fileName_; }

    virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) = 0;
    virtual void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) = 0;
    // Decimal or hex ("$1F", "0x1F") text; the default for anything else.
    virtual int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
    virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    // "0" is false, any other number true; the default for text.
    virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    // The idents of a section, in file order.
    virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    // "ident=value" for every value of the section.
    virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) = 0;
    virtual void EraseSection(const AnsiString& Section) = 0;
    virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
    // Writes cached changes to the file.
    virtual void UpdateFile() = 0;
    // A section exists when it holds at least one value.
    virtual bool SectionExists(const AnsiString& Section);
    virtual bool ValueExists(const AnsiString& Section, const AnsiString& Ident);

private:
    const AnsiString fileName_;
};

// Windows build only.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const AnsiString& FileName) : TCustomIniFile(FileName) {}
    ~TIniFile() override;

    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
    void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
    void ReadSection(const AnsiString& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
    void EraseSection(const AnsiString& Section) override;
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
    void UpdateFile() override;
};

#endif
