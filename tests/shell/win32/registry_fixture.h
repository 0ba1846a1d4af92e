// Test helpers for registry state: set and remove keys and values, and read
// them back the way a user would, with the system's reg.exe.
#ifndef TESTS_SHELL_REGISTRY_FIXTURE_H
#define TESTS_SHELL_REGISTRY_FIXTURE_H

#include <cstdio>
#include <string>
#include "exceptions.h"
#include "registry.h"

inline void RemoveKey(HKEY root, const char* key)
{
    TRegistry reg;
    reg.SetRootKey(root);
    reg.DeleteKey(key);
}

inline void RegSetString(HKEY root, const char* key, const char* name, const char* value)
{
    TRegistry reg;
    reg.SetRootKey(root);
    ASSERT_TRUE(reg.OpenKey(key, true)) << key;
    reg.WriteString(name, value);
}

// The default value of a key, "<none>" when the key is missing.
inline std::string RegDefault(HKEY root, const char* key, const char* name = "")
{
    TRegistry reg;
    reg.SetRootKey(root);
    if (!reg.OpenKeyReadOnly(key)) return "<none>";
    try {
        return reg.ReadString(name).c_str();
    } catch (const ERegistryException&) {
        return "<missing>";
    }
}

// "reg query <key>" as the console shows it.
inline std::string RegQuery(const std::string& key)
{
    std::string output;
    std::FILE* pipe = _popen(("reg query \"" + key + "\" 2>nul").c_str(), "r");
    if (!pipe) return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    _pclose(pipe);
    return output;
}

#endif
