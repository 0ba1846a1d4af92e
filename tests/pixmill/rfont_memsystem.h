// A font directory in memory for the raster-font tests: files with sizes and
// times, a count of the files opened, writes that can be made to fail, and
// a record of what fell back to the system font.
#ifndef TESTS_PIXMILL_RFONT_MEMSYSTEM_H
#define TESTS_PIXMILL_RFONT_MEMSYSTEM_H

#include <string>
#include <vector>

#include "rfont_registry.h"
#include "rfont_system.h"
#include "rfont_writer.h"
#include "streams.h"

class MemoryFontSystem : public RFontSystem {
public:
    struct File {
        std::string name;
        Bytes data;
        unsigned long time;
    };
    std::vector<File> files;  // in directory order
    std::vector<std::string> opened;
    bool failWrites = false;
    bool failCreate = false;
    std::vector<std::string> fallbackText;

    void Put(const std::string& name, const Bytes& data, unsigned long time = 1)
    {
        for (File& f : files)
            if (f.name == name) {
                f.data = data, f.time = time;
                return;
            }
        files.push_back(File{name, data, time});
    }
    File* Find(const std::string& name)
    {
        for (File& f : files)
            if (f.name == name) return &f;
        return nullptr;
    }
    void Erase(const std::string& name)
    {
        for (size_t i = 0; i < files.size(); ++i)
            if (files[i].name == name) files.erase(files.begin() + long(i));
    }
    int OpenedFonts() const
    {
        int n = 0;
        for (const std::string& s : opened) n += s.size() > 4 && s.substr(s.size() - 4) == ".rfn";
        return n;
    }

    std::vector<FontFileInfo> ListFonts(const AnsiString&) override
    {
        std::vector<FontFileInfo> out;
        for (File& f : files)
            if (f.name.size() > 4 && f.name.substr(f.name.size() - 4) == ".rfn")
                out.push_back(FontFileInfo{AnsiString(f.name.c_str()), (unsigned long)f.data.size(), f.time, 7});
        return out;
    }
    TStream* OpenRead(const AnsiString& path) override
    {
        std::string name = Strip(path);
        File* f = Find(name);
        if (!f) return nullptr;
        opened.push_back(name);
        TMemoryStream* s = new TMemoryStream;
        if (!f->data.empty()) s->WriteBuffer(f->data.data(), int(f->data.size()));
        s->SetPosition(0);
        return s;
    }
    TStream* Create(const AnsiString& path) override
    {
        if (failCreate) return nullptr;
        Put(Strip(path), Bytes());
        return new Sink(*this, Strip(path), failWrites);
    }
    void Remove(const AnsiString& path) override { Erase(Strip(path)); }
    void OutText(Buffer&, Pair<int>, AnsiString& s, unsigned long) override { fallbackText.push_back(s.c_str()); }
    Pair<int> GetTextExtent(AnsiString& s) override { return Pair<int>{100 + s.Length(), 17}; }

private:
    static std::string Strip(const AnsiString& path)
    {
        std::string p = path.c_str();
        return p.substr(p.find_last_of('\\') + 1);
    }

    // Stores what was written when it closes; a failing sink stops half way.
    class Sink : public TMemoryStream {
    public:
        Sink(MemoryFontSystem& owner, std::string name, bool fail) : owner_(owner), name_(name), fail_(fail) {}
        ~Sink() override
        {
            if (File* f = owner_.Find(name_))
                f->data.assign(static_cast<unsigned char*>(GetMemory()),
                               static_cast<unsigned char*>(GetMemory()) + GetSize());
        }
        int Write(const void* buffer, int count) override
        {
            if (fail_) count /= 2;
            return TMemoryStream::Write(buffer, count);
        }

    private:
        MemoryFontSystem& owner_;
        std::string name_;
        bool fail_;
    };
};

// Installs a memory directory and starts with no registry; undoes both.
class RFontFixture {
public:
    RFontFixture()
    {
        ResetRegistry();
        SetRFontSystem(&sys);
        strcpy(RFont::path, "M:\\fonts\\");
    }
    ~RFontFixture()
    {
        ResetRegistry();
        SetRFontSystem(nullptr);
        RFont::path[0] = 0;
    }
    MemoryFontSystem sys;
};

#endif
