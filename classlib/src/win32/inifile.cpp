// TIniFile over GetPrivateProfileString and WritePrivateProfileString.
#include "inifiles.h"
#include "stringlist.h"
#include "winapi.h"

#include <string>

namespace {

// The profile functions cut silently at the buffer's end (answering size - 1
// or size - 2): grow until the answer fits with room to spare.
template <typename Reader>
std::string ReadGrowing(Reader read)
{
    std::string buffer(1024, '\0');
    while (true) {
        DWORD n = read(&buffer[0], static_cast<DWORD>(buffer.size()));
        if (n + 2 < buffer.size()) return buffer.substr(0, n);
        if (buffer.size() >= 64u << 20) return buffer.substr(0, n);  // a settings file this big is not one
        buffer.assign(buffer.size() * 4, '\0');
    }
}

// "a\0b\0c\0" (the list form) into strings.
void AssignList(TStrings* strings, const std::string& list)
{
    TStringList items;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\0', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) items.Add(AnsiString(list.data() + start, static_cast<int>(end - start)));
        start = end + 1;
    }
    strings->Assign(&items);
}

}  // namespace

TIniFile::~TIniFile() {}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default)
{
    AnsiString fileName = GetFileName();
    const char* file = fileName.c_str();
    std::string text = ReadGrowing([&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(Section.c_str(), Ident.c_str(), Default.c_str(), buffer, size, file);
    });
    return AnsiString(text.c_str());
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value)
{
    if (!WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), Value.c_str(), GetFileName().c_str())) {
        throw EIniFileException("Unable to write to " + GetFileName());
    }
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings)
{
    AnsiString fileName = GetFileName();
    const char* file = fileName.c_str();
    AssignList(Strings, ReadGrowing([&](char* buffer, DWORD size) {
                   return GetPrivateProfileStringA(Section.c_str(), nullptr, "", buffer, size, file);
               }));
}

void TIniFile::ReadSections(TStrings* Strings)
{
    AnsiString fileName = GetFileName();
    const char* file = fileName.c_str();
    AssignList(Strings, ReadGrowing([&](char* buffer, DWORD size) {
                   return GetPrivateProfileSectionNamesA(buffer, size, file);
               }));
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings)
{
    AnsiString fileName = GetFileName();
    const char* file = fileName.c_str();
    AssignList(Strings, ReadGrowing([&](char* buffer, DWORD size) {
                   return GetPrivateProfileSectionA(Section.c_str(), buffer, size, file);
               }));
}

void TIniFile::EraseSection(const AnsiString& Section)
{
    if (!WritePrivateProfileStringA(Section.c_str(), nullptr, nullptr, GetFileName().c_str())) {
        throw EIniFileException("Unable to write to " + GetFileName());
    }
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident)
{
    WritePrivateProfileStringA(Section.c_str(), Ident.c_str(), nullptr, GetFileName().c_str());
}

void TIniFile::UpdateFile()
{
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, GetFileName().c_str());
}
