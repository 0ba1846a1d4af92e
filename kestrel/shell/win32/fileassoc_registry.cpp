#include "fileassoc.h"

#include "exceptions.h"
#include "registry.h"

namespace {

// The default value of HKCR\key ("" when it has none); false when the
// key does not exist.
bool ReadDefault(const AnsiString& key, AnsiString& value)
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly(key)) return false;
    value = AnsiString();
    try {
        value = reg.ReadString("");
    } catch (const ERegistryException&) {
    }
    return true;
}

bool WriteString(const AnsiString& key, const AnsiString& name, const AnsiString& value, bool canCreate)
{
    try {
        TRegistry reg;
        reg.SetRootKey(HKEY_CLASSES_ROOT);
        if (!reg.OpenKey(key, canCreate)) return false;
        reg.WriteString(name, value);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

AnsiString Remembered(const AnsiString& ext)
{
    TRegistry reg(KEY_READ);
    reg.SetRootKey(HKEY_CLASSES_ROOT);
    if (!reg.OpenKeyReadOnly(KestrelProgId)) return AnsiString();
    try {
        return reg.ReadString(ext);
    } catch (const ERegistryException&) {
        return AnsiString();
    }
}

}  // namespace

bool IsAssociated(const AnsiString& ext)
{
    AnsiString value;
    return ReadDefault(ext.LowerCase(), value) && value == KestrelProgId;
}

bool Associate(const AnsiString& ext)
{
    AnsiString key = ext.LowerCase(), previous;
    bool exists = ReadDefault(key, previous);
    if (exists && previous == KestrelProgId) return true;
    if (!WriteString(KestrelProgId, key, previous, false)) return false;
    return WriteString(key, "", KestrelProgId, true);
}

bool Unassociate(const AnsiString& ext)
{
    AnsiString key = ext.LowerCase();
    if (!IsAssociated(key)) return false;
    return WriteString(key, "", Remembered(key), false);
}
