#include "registry.h"

#include <vector>

#include "exceptions.h"
#include "stringlist.h"

namespace {

// Names of subkeys and values are at most 255 characters; value names of
// 16383 are allowed by the system, so the buffer takes that.
const DWORD kMaxName = 16384;

[[noreturn]] void RegistryError(const char* format, const AnsiString& name)
{
    AnsiString msg;
    msg.sprintf(format, name.c_str());
    throw ERegistryException(msg);
}

bool HasLeadingBackslash(const AnsiString& key)
{
    return !key.IsEmpty() && key[1] == '\\';
}

// The names of a key's subkeys (keys) or values, in the system's order.
std::vector<AnsiString> EnumNames(HKEY key, bool keys)
{
    std::vector<AnsiString> names;
    std::vector<char> buffer(kMaxName);
    for (DWORD i = 0; key; i++) {
        DWORD length = kMaxName;
        LONG result = keys ? RegEnumKeyExA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                           : RegEnumValueA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS) break;
        names.push_back(AnsiString(buffer.data(), static_cast<int>(length)));
    }
    return names;
}

void AssignNames(TStrings* strings, const std::vector<AnsiString>& names)
{
    TStringList list;
    for (const AnsiString& name : names) list.Add(name);
    strings->Assign(&list);
}

// Deletes a key's subkeys, deepest first: RegDeleteKey refuses a key that
// still has subkeys.
bool DeleteTree(HKEY parent, const AnsiString& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
    for (const AnsiString& child : EnumNames(key, true)) DeleteTree(key, child);
    RegCloseKey(key);
    return RegDeleteKeyA(parent, name.c_str()) == ERROR_SUCCESS;
}

}  // namespace

TRegistry::TRegistry() : TRegistry(KEY_ALL_ACCESS) {}

TRegistry::TRegistry(REGSAM AAccess) : rootKey_(HKEY_CURRENT_USER), access_(AAccess) {}

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY Value)
{
    if (Value == rootKey_) return;
    CloseKey();
    rootKey_ = Value;
}

HKEY TRegistry::BaseKeyFor(const AnsiString& Key, AnsiString& path) const
{
    bool absolute = HasLeadingBackslash(Key);
    path = absolute ? Key.SubString(2, Key.Length()) : Key;
    return absolute || !currentKey_ ? rootKey_ : currentKey_;
}

AnsiString TRegistry::FullPathOf(const AnsiString& Key) const
{
    AnsiString path;
    HKEY base = BaseKeyFor(Key, path);
    if (base == currentKey_ && !currentPath_.IsEmpty()) {
        path = path.IsEmpty() ? currentPath_ : currentPath_ + "\\" + path;
    }
    while (!path.IsEmpty() && path[path.Length()] == '\\') path.SetLength(path.Length() - 1);
    return path;
}

bool TRegistry::OpenKey(const AnsiString& Key, bool CanCreate)
{
    AnsiString path;
    HKEY base = BaseKeyFor(Key, path);
    HKEY key = nullptr;
    LONG result = CanCreate
                      ? RegCreateKeyExA(base, path.c_str(), 0, nullptr, 0, access_, nullptr, &key, nullptr)
                      : RegOpenKeyExA(base, path.c_str(), 0, access_, &key);
    if (result != ERROR_SUCCESS) return false;
    AnsiString fullPath = FullPathOf(Key);
    CloseKey();
    currentKey_ = key;
    currentPath_ = fullPath;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const AnsiString& Key)
{
    REGSAM keep = access_;
    access_ = KEY_READ;
    bool opened = OpenKey(Key, false);
    access_ = keep;
    return opened;
}

void TRegistry::CloseKey()
{
    if (currentKey_) RegCloseKey(currentKey_);
    currentKey_ = nullptr;
    currentPath_ = AnsiString();
}

bool TRegistry::CreateKey(const AnsiString& Key)
{
    AnsiString path;
    HKEY base = BaseKeyFor(Key, path);
    HKEY key = nullptr;
    if (RegCreateKeyExA(base, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool TRegistry::DeleteKey(const AnsiString& Key)
{
    AnsiString path;
    HKEY base = BaseKeyFor(Key, path);
    // An empty path would delete the base key itself: refused.
    if (path.IsEmpty()) return false;
    return DeleteTree(base, path);
}

bool TRegistry::DeleteValue(const AnsiString& Name)
{
    return currentKey_ && RegDeleteValueA(currentKey_, Name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::KeyExists(const AnsiString& Key)
{
    AnsiString path;
    HKEY base = BaseKeyFor(Key, path);
    HKEY key = nullptr;
    if (RegOpenKeyExA(base, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool TRegistry::ValueExists(const AnsiString& Name)
{
    return GetDataSize(Name) >= 0;
}

bool TRegistry::HasSubKeys()
{
    DWORD subKeys = 0;
    if (!currentKey_) return false;
    RegQueryInfoKeyA(currentKey_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    return subKeys > 0;
}

void TRegistry::GetKeyNames(TStrings* Strings)
{
    AssignNames(Strings, EnumNames(currentKey_, true));
}

void TRegistry::GetValueNames(TStrings* Strings)
{
    AssignNames(Strings, EnumNames(currentKey_, false));
}

TRegDataType TRegistry::GetDataType(const AnsiString& Name)
{
    DWORD type = REG_NONE;
    if (!currentKey_ || RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) {
        return rdUnknown;
    }
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

int TRegistry::GetDataSize(const AnsiString& Name)
{
    DWORD size = 0;
    if (!currentKey_ || RegQueryValueExA(currentKey_, Name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return -1;
    }
    return static_cast<int>(size);
}

// Reads a value of exactly `size` bytes and one of the two types.
void TRegistry::ReadValue(const AnsiString& Name, DWORD expectedType1, DWORD expectedType2, void* buffer, DWORD size)
{
    DWORD type = REG_NONE, actual = 0;
    if (!currentKey_ || RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, nullptr, &actual) != ERROR_SUCCESS) {
        RegistryError("Failed to get data for '%s'", Name);
    }
    if ((type != expectedType1 && type != expectedType2) || actual != size) {
        RegistryError("Invalid data type for '%s'", Name);
    }
    if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, static_cast<BYTE*>(buffer), &actual) !=
        ERROR_SUCCESS) {
        RegistryError("Failed to get data for '%s'", Name);
    }
}

int TRegistry::ReadInteger(const AnsiString& Name)
{
    DWORD value = 0;
    ReadValue(Name, REG_DWORD, REG_DWORD, &value, sizeof value);
    return static_cast<int>(value);
}

bool TRegistry::ReadBool(const AnsiString& Name)
{
    return ReadInteger(Name) != 0;
}

AnsiString TRegistry::ReadText(const AnsiString& Name)
{
    DWORD type = REG_NONE, size = 0;
    if (!currentKey_ || RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        RegistryError("Failed to get data for '%s'", Name);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) RegistryError("Invalid data type for '%s'", Name);
    // The stored text may lack its terminating zero: one byte more.
    std::vector<char> buffer(size + 1);
    if (RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS) {
        RegistryError("Failed to get data for '%s'", Name);
    }
    buffer[size < buffer.size() ? size : buffer.size() - 1] = 0;
    return AnsiString(buffer.data());
}

AnsiString TRegistry::ReadString(const AnsiString& Name)
{
    return ReadText(Name);
}

double TRegistry::ReadFloat(const AnsiString& Name)
{
    double value = 0;
    ReadValue(Name, REG_BINARY, REG_NONE, &value, sizeof value);
    return value;
}

int TRegistry::ReadBinaryData(const AnsiString& Name, void* Buffer, int BufSize)
{
    DWORD type = REG_NONE, size = 0;
    if (!currentKey_ || RegQueryValueExA(currentKey_, Name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        RegistryError("Failed to get data for '%s'", Name);
    }
    if ((type != REG_BINARY && type != REG_NONE) || BufSize < 0 || size > static_cast<DWORD>(BufSize)) {
        RegistryError("Invalid data type for '%s'", Name);
    }
    ReadValue(Name, type, type, Buffer, size);
    return static_cast<int>(size);
}

void TRegistry::WriteValue(const AnsiString& Name, DWORD type, const void* data, DWORD size)
{
    if (!currentKey_ ||
        RegSetValueExA(currentKey_, Name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS) {
        RegistryError("Failed to set data for '%s'", Name);
    }
}

void TRegistry::WriteInteger(const AnsiString& Name, int Value)
{
    DWORD value = static_cast<DWORD>(Value);
    WriteValue(Name, REG_DWORD, &value, sizeof value);
}

void TRegistry::WriteBool(const AnsiString& Name, bool Value)
{
    WriteInteger(Name, Value ? 1 : 0);
}

void TRegistry::WriteString(const AnsiString& Name, const AnsiString& Value)
{
    WriteValue(Name, REG_SZ, Value.c_str(), Value.Length() + 1);
}

void TRegistry::WriteExpandString(const AnsiString& Name, const AnsiString& Value)
{
    WriteValue(Name, REG_EXPAND_SZ, Value.c_str(), Value.Length() + 1);
}

void TRegistry::WriteFloat(const AnsiString& Name, double Value)
{
    WriteValue(Name, REG_BINARY, &Value, sizeof Value);
}

void TRegistry::WriteBinaryData(const AnsiString& Name, const void* Buffer, int BufSize)
{
    if (BufSize < 0 || (!Buffer && BufSize > 0)) RegistryError("Failed to set data for '%s'", Name);
    WriteValue(Name, REG_BINARY, Buffer, static_cast<DWORD>(BufSize));
}
