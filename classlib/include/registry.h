// TRegistry: the system registry through one open key, and TRegIniFile, the
// registry dressed as an INI file (sections are subkeys).
//
// Key paths: a leading '\' means "from RootKey"; anything else is relative
// to the key now open (or to RootKey when none is). Windows itself refuses a
// leading backslash (error 161), so it is stripped before every call.
//
// Reads raise ERegistryException when the value is missing ("Failed to get
// data for 'x'") or has another type ("Invalid data type for 'x'"); writes
// raise it when Windows refuses ("Failed to set data for 'x'"). Key
// operations answer true or false, as the class library's do.
#ifndef CLASSLIB_REGISTRY_H
#define CLASSLIB_REGISTRY_H

#include "ansistring.h"
#include "component.h"
#include "winapi.h"

class TStrings;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry : public TObject {
public:
    TRegistry();
    explicit TRegistry(REGSAM AAccess);
    ~TRegistry() override;

    // Changing the root closes the open key.
    HKEY GetRootKey() const { return rootKey_; }
    void SetRootKey(HKEY Value);
    // Null when no key is open.
    HKEY GetCurrentKey() const { return currentKey_; }
    // The open key's path below RootKey, without a leading '\'.
    AnsiString GetCurrentPath() const { return currentPath_; }
    // Access asked for by OpenKey (default KEY_ALL_ACCESS).
    REGSAM GetAccess() const { return access_; }
    void SetAccess(REGSAM Value) { access_ = Value; }

    // Opens Key as the current key, creating it (and its parents) when
    // CanCreate; false, with the previous key still open, on failure.
    bool OpenKey(const AnsiString& Key, bool CanCreate);
    bool OpenKeyReadOnly(const AnsiString& Key);
    void CloseKey();
    bool CreateKey(const AnsiString& Key);  // does not open it
    // Deletes Key with all its subkeys.
    bool DeleteKey(const AnsiString& Key);
    bool DeleteValue(const AnsiString& Name);
    bool KeyExists(const AnsiString& Key);
    bool ValueExists(const AnsiString& Name);
    bool HasSubKeys();
    // Replace Strings' contents with the open key's subkey / value names
    // (empty when no key is open).
    void GetKeyNames(TStrings* Strings);
    void GetValueNames(TStrings* Strings);
    TRegDataType GetDataType(const AnsiString& Name);
    int GetDataSize(const AnsiString& Name);  // -1 when missing

    int ReadInteger(const AnsiString& Name);        // REG_DWORD
    bool ReadBool(const AnsiString& Name);          // REG_DWORD, non-zero
    AnsiString ReadString(const AnsiString& Name);  // REG_SZ or REG_EXPAND_SZ
    double ReadFloat(const AnsiString& Name);       // 8 bytes REG_BINARY
    // The value's size; it must be binary and fit BufSize.
    int ReadBinaryData(const AnsiString& Name, void* Buffer, int BufSize);

    void WriteInteger(const AnsiString& Name, int Value);
    void WriteBool(const AnsiString& Name, bool Value);
    void WriteString(const AnsiString& Name, const AnsiString& Value);
    void WriteExpandString(const AnsiString& Name, const AnsiString& Value);
    void WriteFloat(const AnsiString& Name, double Value);
    void WriteBinaryData(const AnsiString& Name, const void* Buffer, int BufSize);

protected:
    // The key a path starts from, and the path without its leading '\'.
    HKEY BaseKeyFor(const AnsiString& Key, AnsiString& path) const;
    // The full path below RootKey of a key named as OpenKey takes it.
    AnsiString FullPathOf(const AnsiString& Key) const;

private:
    void ReadValue(const AnsiString& Name, DWORD expectedType1, DWORD expectedType2, void* buffer, DWORD size);
    void WriteValue(const AnsiString& Name, DWORD type, const void* data, DWORD size);
    AnsiString ReadText(const AnsiString& Name);

    HKEY rootKey_;
    HKEY currentKey_ = nullptr;
    AnsiString currentPath_;
    REGSAM access_;
};

// An INI file kept in the registry: the file name is a key below RootKey
// (HKEY_CURRENT_USER), each section a subkey of it. Missing values read as
// the default. Integers are stored as text, as the class library does, and
// read back from text or REG_DWORD.
class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const AnsiString& FileName);

    AnsiString GetFileName() const { return fileName_; }

    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default);
    int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
    bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    // Raise ERegistryException when the section cannot be created or written.
    void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
    void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    void ReadSection(const AnsiString& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    // "ident=value" for every value of the section.
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings);
    void EraseSection(const AnsiString& Section);
    using TRegistry::DeleteKey;
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident);
    bool SectionExists(const AnsiString& Section);
    bool ValueExists(const AnsiString& Section, const AnsiString& Ident);
    using TRegistry::ValueExists;

private:
    const AnsiString fileName_;
};

#endif
