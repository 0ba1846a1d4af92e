#include "lang.h"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include "language_file_decode.h"
#include "messages.h"
#include "sysutils.h"

TLang* Lang = nullptr;
TStringList* LanguageNames = nullptr;
TStringList* MessageKeys = nullptr;
TStringList* MessageValues = nullptr;

namespace {

// Ends the folder with the separator it already uses, so that a host
// build's "/tmp" does not become "/tmp\".
AnsiString WithSeparator(const AnsiString& dir)
{
    char last = dir[dir.Length()];
    if (last == '/' || last == '\\') return dir;
    bool slashes = dir.Pos("/") > 0 && dir.Pos("\\") == 0;
    return dir + (slashes ? "/" : "\\");
}

AnsiString TempFolder()
{
    for (const char* var : {"TMP", "TEMP", "TMPDIR"}) {
        const char* dir = std::getenv(var);
        if (dir && *dir) return WithSeparator(dir);
    }
    return AnsiString();
}

// Claims the name by creating the file: another instance of the program
// picking names at the same moment cannot be given the same one.
bool Claim(const AnsiString& name, bool& failed)
{
    int fd = open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
    if (fd >= 0) {
        close(fd);
        return true;
    }
    failed = errno != EEXIST;
    return false;
}

AnsiString DefaultTempName()
{
    static unsigned counter = 0;
    AnsiString folder = TempFolder();
    for (int attempt = 0; attempt < 100000; attempt++) {
        counter++;
        AnsiString name = folder + "KSLNG" + IntToHex(static_cast<int>(counter), 4) + ".tmp";
        bool failed = false;
        if (Claim(name, failed)) return name;
        if (failed) break;
    }
    return AnsiString();
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Far more than the biggest text's compressed form can need.
const long MaxLanguageFileSize = static_cast<long>(MaxLanguageTextSize) * 2 + 4096;

}  // namespace

std::function<AnsiString()> MakeLanguageTempName = DefaultTempName;

TLang::TLang(const AnsiString& programDir) : programDir_(programDir)
{
    LanguageNames = new TStringList;
    MessageKeys = new TStringList;
    MessageValues = new TStringList;
    SetLanguageLookup([this](const AnsiString& key) { return Lookup(key); });
}

TLang::~TLang()
{
    SetLanguageLookup(nullptr);
    if (!tempFileName_.IsEmpty()) std::remove(tempFileName_.c_str());
    delete LanguageNames;
    delete MessageKeys;
    delete MessageValues;
    LanguageNames = MessageKeys = MessageValues = nullptr;
}

bool TLang::Load(const AnsiString& name)
{
    std::string text;
    if (!ReadLanguageFile(programDir_ + name + ".lng", text)) {
        TranslatedMessageBox("Can't Load Language File", "Error", MsgIconWarning);
        return false;
    }
    AnsiString newTemp = WriteTempFile(text);
    if (newTemp.IsEmpty()) {
        TranslatedMessageBox("CantSaveLngFile", "Err", MsgIconWarning);
        return false;
    }
    if (!tempFileName_.IsEmpty()) std::remove(tempFileName_.c_str());
    tempFileName_ = newTemp;
    ReadMessages(tempFileName_);
    return true;
}

bool TLang::ReadLanguageFile(const AnsiString& path, std::string& text)
{
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    std::vector<unsigned char> data;
    unsigned char chunk[65536];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        if (static_cast<long>(data.size() + got) > MaxLanguageFileSize) return false;
        data.insert(data.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) return false;
    try {
        text = ExpandLanguageFile(data.data(), data.size());
    } catch (const ELanguageFile&) {
        return false;
    }
    return true;
}

// Empty when the file cannot be written whole; nothing is left behind then.
AnsiString TLang::WriteTempFile(const std::string& text)
{
    AnsiString name = MakeLanguageTempName ? MakeLanguageTempName() : AnsiString();
    if (name.IsEmpty()) return name;
    std::FILE* file = std::fopen(name.c_str(), "w+b");
    if (!file) return AnsiString();
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::remove(name.c_str());
        return AnsiString();
    }
    return name;
}

void TLang::ReadMessages(const AnsiString& fileName)
{
    MessageKeys->Clear();
    MessageValues->Clear();
    FilePtr file(std::fopen(fileName.c_str(), "rb"));
    if (!file) return;
    for (const LangEntry& entry : ::ReadMessageSection(file.get())) {
        MessageKeys->Add(entry.key);
        MessageValues->Add(entry.value);
    }
}

std::vector<LangEntry> TLang::ReadFormSection(const AnsiString& section) const
{
    if (tempFileName_.IsEmpty()) return {};
    FilePtr file(std::fopen(tempFileName_.c_str(), "rb"));
    if (!file) return {};
    return ::ReadFormSection(file.get(), section);
}

void TLang::AddLanguageName(const AnsiString& fileName)
{
    AnsiString base = ExtractFileName(fileName);
    int dot = base.LastDelimiter(".");
    if (dot > 0) base = base.SubString(1, dot - 1);
    base = base.LowerCase();
    if (!base.IsEmpty()) base = base.SubString(1, 1).UpperCase() + base.SubString(2, base.Length() - 1);
    LanguageNames->Add(base);
}

// The key list is searched by hand: TStringList ignores case, keys do not.
AnsiString TLang::Lookup(const AnsiString& key) const
{
    int count = std::min(MessageKeys->GetCount(), MessageValues->GetCount());
    for (int i = 0; i < count; i++)
        if (MessageKeys->GetStrings(i) == key) return MessageValues->GetStrings(i);
    return AnsiString();
}
