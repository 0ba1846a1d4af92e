// Test doubles for undo: an in-memory folder of spill files with injectable
// faults (full disk, unwritable folder, failing close, damaged files), an
// injectable tick, random source and memory, and a recorder of messages.
#ifndef TESTS_PAINTING_UNDO_FIXTURE_H
#define TESTS_PAINTING_UNDO_FIXTURE_H

#include <map>
#include <string>
#include <vector>

#include "messages.h"
#include "pictureview.h"
#include "undo_entry.h"
#include "undo_platform.h"
#include "undo_settings.h"

class MemoryFolder : public UndoPlatform {
public:
    std::map<std::string, std::vector<unsigned char>> files;
    long long capacity = -1;        // bytes the disk holds over all files; -1 unlimited
    bool readOnly = false;          // creating fails as in an unwritable folder
    bool failClose = false;         // the error shows only at close
    bool failMove = false;
    bool failRead = false;          // spill files open but cannot be read
    int opensForReading = 0;
    long long availableKB = 1LL << 30;
    long long allocBudget = -1;     // bytes undo may still allocate; -1 unlimited
    unsigned long tick = 1000;
    std::vector<int> randoms;       // consumed in order, then a fixed sequence
    size_t nextRandom = 0;
    unsigned seed = 12345;

    long long Used() const
    {
        long long n = 0;
        for (auto& f : files) n += (long long)f.second.size();
        return n;
    }

    class File : public UndoFile {
    public:
        File(MemoryFolder& folder, std::string name, bool writing) : f(folder), n(std::move(name)), w(writing) {}
        bool Write(const void* data, unsigned count) override
        {
            if (!w) return false;
            auto& bytes = f.files[n];
            if (f.capacity >= 0 && f.Used() + count > f.capacity) {
                long long room = f.capacity - f.Used();
                bytes.insert(bytes.end(), (const unsigned char*)data, (const unsigned char*)data + room);
                return false;
            }
            bytes.insert(bytes.end(), (const unsigned char*)data, (const unsigned char*)data + count);
            return true;
        }
        bool Read(void* data, unsigned count) override
        {
            auto it = f.files.find(n);
            if (f.failRead || it == f.files.end() || pos + count > it->second.size()) return false;
            std::copy(it->second.begin() + pos, it->second.begin() + pos + count, (unsigned char*)data);
            pos += count;
            return true;
        }
        bool Seek(long long offset) override
        {
            pos = size_t(offset);
            return true;
        }
        long long Size() override
        {
            auto it = f.files.find(n);
            return it == f.files.end() ? -1 : (long long)it->second.size();
        }
        bool Close() override { return !(w && f.failClose); }

    private:
        MemoryFolder& f;
        std::string n;
        bool w;
        size_t pos = 0;
    };

    UndoFile* CreateNew(const AnsiString& path, bool& exists) override
    {
        exists = files.count(path.c_str()) != 0;
        if (exists || readOnly) return nullptr;
        files[path.c_str()];
        return new File(*this, path.c_str(), true);
    }
    UndoFile* OpenRead(const AnsiString& path) override
    {
        ++opensForReading;
        return files.count(path.c_str()) ? new File(*this, path.c_str(), false) : nullptr;
    }
    bool Exists(const AnsiString& path) override { return files.count(path.c_str()) != 0; }
    bool Delete(const AnsiString& path) override { return files.erase(path.c_str()) != 0; }
    bool Move(const AnsiString& from, const AnsiString& to) override
    {
        if (failMove || !files.count(from.c_str()) || files.count(to.c_str())) return false;
        files[to.c_str()] = files[from.c_str()];
        files.erase(from.c_str());
        return true;
    }
    long long AvailableMemoryKB() override { return availableKB; }
    unsigned long TickCount() override { return tick; }
    int Random() override
    {
        if (nextRandom < randoms.size()) return randoms[nextRandom++];
        seed = seed * 1103515245u + 12345u;
        return int((seed >> 16) & 0x7FFF);
    }
    AnsiString TempDirectory() override { return "T:\\tmp\\"; }
    bool MayAllocate(long long bytes) override
    {
        if (allocBudget < 0) return true;
        if (bytes > allocBudget) return false;
        allocBudget -= bytes;
        return true;
    }
};

struct RecordedMessage {
    std::string text, caption;
    unsigned flags;
};

// Installs the folder and the message recorder, and leaves undo as it found
// it: no pictures registered, totals zero.
class UndoTest {
public:
    MemoryFolder folder;
    std::vector<RecordedMessage> messages;

    UndoTest()
    {
        SetUndoPlatform(&folder);
        MessageBoxHook = [this](const AnsiString& text, const AnsiString& caption, unsigned flags) {
            messages.push_back({text.c_str(), caption.c_str(), flags});
            return 1;
        };
        UndoSettings = TUndoSettings();
        UndoSettings.dir = "U:\\undo";
    }
    ~UndoTest()
    {
        MessageBoxHook = nullptr;
        SetUndoPlatform(nullptr);
        UndoSettings = TUndoSettings();
    }
};

// Figures equal the sums over the steps; every spilled step has a file of
// exactly its size and no pixels; every step in memory has its pixels.
inline std::string CheckUndoInvariants(MemoryFolder& folder, const std::vector<UDBuffer*>& pictures)
{
    UndoTotals sum;
    size_t spilled = 0;
    for (UDBuffer* p : pictures) {
        for (int list = 0; list < 2; ++list) {
            UndoFigures own;
            for (UndoEntry* e = list ? p->redoHead : p->undoHead; e; e = e->next) {
                if (e->next && e->next->prev != e) return "broken links";
                (e->onDisk ? own.diskKB : own.memKB) += e->SizeKB();
                if (e->onDisk) {
                    ++spilled;
                    auto it = folder.files.find(e->spillFile.c_str());
                    if (it == folder.files.end()) return "spill file missing";
                    if ((long long)it->second.size() != 296 + 4LL * e->Width() * e->Height()) return "spill size";
                    if (e->picture.pixels) return "spilled step keeps pixels";
                } else if (e->Width() > 0 && (!e->picture.pixels || e->picture.Width() != e->Width() ||
                                              e->picture.Height() != e->Height())) {
                    return "step in memory without its pixels";
                }
            }
            UndoFigures& fig = list ? p->redoFig : p->undoFig;
            if (fig.memKB != own.memKB || fig.diskKB != own.diskKB) return "picture figures";
            UndoFigures& total = list ? sum.redo : sum.undo;
            total.memKB += own.memKB;
            total.diskKB += own.diskKB;
        }
    }
    if (sum.undo.memKB != UndoTotal.undo.memKB || sum.undo.diskKB != UndoTotal.undo.diskKB ||
        sum.redo.memKB != UndoTotal.redo.memKB || sum.redo.diskKB != UndoTotal.redo.diskKB)
        return "program totals";
    if (spilled != folder.files.size()) return "stray spill files";
    return "";
}

#endif
