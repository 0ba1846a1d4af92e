// Random histories of paint, crop, undo, redo, multi-step undo and dropped
// steps, checked after every operation against snapshots of the picture.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "programpictures.h"
#include "undo_fixture.h"
#include "undo_history.h"

namespace {

struct Snapshot {
    int w = 0, h = 0;
    std::vector<unsigned long> pixels;
    unsigned long modified = 0;
    bool operator==(const Snapshot& o) const
    {
        return w == o.w && h == o.h && pixels == o.pixels && modified == o.modified;
    }
};

Snapshot Take(UDBuffer& p)
{
    Snapshot s{p.pixels ? p.Width() : 0, p.pixels ? p.Height() : 0, {}, p.modified};
    for (int y = 0; y < s.h; ++y)
        for (int x = 0; x < s.w; ++x) s.pixels.push_back(*p.At(x, y));
    return s;
}

class History {
public:
    History(UndoTest& t, unsigned seed) : test(t), rng(seed)
    {
        pic.Alloc(Pair<int>{64, 48});
        for (int i = 0; i < 64 * 48; ++i) pic.pixels[i] = rng() & 0xFFFFFF;
        current = Take(pic);
    }

    int Rand(int n) { return int(rng() % unsigned(n)); }

    Rect RandomRect()
    {
        int l = Rand(pic.Width() + 4) - 2, t = Rand(pic.Height() + 4) - 2;
        return Rect{l, t, l + Rand(30) - 2, t + Rand(30) - 2};
    }

    void Paint()
    {
        bool whole = Rand(5) == 0;
        Rect r = RandomRect();
        // A key of its own, which the undo and redo steps made from it keep.
        std::string key = "Paint" + std::to_string(++painted);
        if (!UDBuffer::SaveUndo(&pic, key.c_str(), nullptr, whole ? -1 : r.left, r.top, r.right, r.bottom)) {
            current = Take(pic);  // the redo steps are gone, the picture is not
            future.clear();
            futureKeys.clear();
            return;
        }
        past.push_back(current);
        pastKeys.push_back(key);
        future.clear();
        futureKeys.clear();
        ++pic.modified;
        if (whole && Rand(2) == 0) {
            pic.Alloc(Pair<int>{16 + Rand(60), 16 + Rand(50)});
            for (int i = 0; i < pic.Width() * pic.Height(); ++i) pic.pixels[i] = rng() & 0xFFFFFF;
        } else {
            Rect inner = r;
            if (whole) inner = RandomRect();
            unsigned long colour = rng() & 0xFFFFFF;
            pic.Box(inner, colour);
            if (Rand(2) == 0) UDBuffer::ShrinkUndo(&pic, inner.left - Rand(3), inner.top - Rand(3),
                                                    inner.right + Rand(3), inner.bottom + Rand(3));
            if (Rand(4) == 0) UDBuffer::ShrinkUndo(&pic, inner.left, inner.top, inner.right, inner.bottom);
        }
        current = Take(pic);
    }

    void Undo(int n)
    {
        int done = PerformUndoSteps(&pic, false, n);
        for (int i = 0; i < done; ++i) {
            ASSERT_FALSE(past.empty());
            future.push_back(current);
            current = past.back();
            past.pop_back();
            futureKeys.push_back(pastKeys.back());
            pastKeys.pop_back();
        }
        if (done < n) {
            ASSERT_TRUE(past.empty());
        }
    }

    void Redo(int n)
    {
        int done = PerformUndoSteps(&pic, true, n);
        for (int i = 0; i < done; ++i) {
            ASSERT_FALSE(future.empty());
            past.push_back(current);
            current = future.back();
            future.pop_back();
            pastKeys.push_back(futureKeys.back());
            futureKeys.pop_back();
        }
        if (done < n) {
            ASSERT_TRUE(future.empty());
        }
    }

    // A step recorded and taken back before anything was painted.
    void Dropped()
    {
        Rect r = RandomRect();
        if (UDBuffer::SaveUndo(&pic, "Drop", nullptr, r.left, r.top, r.right, r.bottom)) UDBuffer::DropUndo(&pic);
        future.clear();
        futureKeys.clear();
    }

    // Steps deleted for disk room: the model forgets the same ones, found
    // by their keys.
    void ForgetDeletedSteps()
    {
        Forget(pic.undoHead, past, pastKeys);
        Forget(pic.redoHead, future, futureKeys);
    }

    static void Forget(UndoEntry* head, std::vector<Snapshot>& shots, std::vector<std::string>& keys)
    {
        std::set<std::string> kept;
        for (UndoEntry* e = head; e; e = e->next) kept.insert(e->key.c_str());
        for (size_t i = keys.size(); i-- > 0;) {
            if (kept.count(keys[i])) continue;
            shots.erase(shots.begin() + long(i));
            keys.erase(keys.begin() + long(i));
        }
    }

    void Step()
    {
        switch (Rand(10)) {
        case 0: case 1: case 2: case 3: Paint(); break;
        case 4: case 5: Undo(1); break;
        case 6: Redo(1); break;
        case 7: Undo(1 + Rand(4)); break;
        case 8: Redo(1 + Rand(4)); break;
        default: Dropped(); break;
        }
    }

    void Check(int step)
    {
        ASSERT_TRUE(Take(pic) == current) << "picture differs at step " << step;
        ASSERT_EQ(CheckUndoInvariants(test.folder, {&pic, &CurrentBrush}), "") << "step " << step;
        int undoCount = 0, redoCount = 0;
        for (UndoEntry* e = pic.undoHead; e; e = e->next) ++undoCount;
        for (UndoEntry* e = pic.redoHead; e; e = e->next) ++redoCount;
        ASSERT_EQ(size_t(undoCount), past.size()) << "step " << step;
        ASSERT_EQ(size_t(redoCount), future.size()) << "step " << step;
    }

    UndoTest& test;
    std::mt19937 rng;
    UDBuffer pic;
    Snapshot current;
    std::vector<Snapshot> past, future;
    std::vector<std::string> pastKeys, futureKeys;
    int painted = 0;
};

void RunHistory(UndoTest& t, unsigned seed, int steps, size_t* spilled = nullptr)
{
    History h(t, seed);
    ASSERT_TRUE(AddImagePicture(&h.pic));
    size_t maxFiles = 0;
    for (int i = 0; i < steps; ++i) {
        h.Step();
        if (::testing::Test::HasFatalFailure()) break;
        h.Check(i);
        if (::testing::Test::HasFatalFailure()) break;
        maxFiles = std::max(maxFiles, t.folder.files.size());
    }
    RemoveImagePicture(&h.pic);
    if (spilled) *spilled = maxFiles;
}

}  // namespace

TEST(UndoModel, EverythingInMemory)
{
    UndoTest t;
    size_t files = 0;
    RunHistory(t, 7, 2000, &files);
    EXPECT_EQ(files, 0u);
    EXPECT_TRUE(t.messages.empty());
    EXPECT_EQ(UndoTotal.undo.memKB + UndoTotal.redo.memKB, 0);
}

TEST(UndoModel, EverythingSpilled)
{
    UndoTest t;
    t.folder.randoms = {3, 5, 7, 11, 13};
    UndoSettings.memKB = 1;
    size_t files = 0;
    RunHistory(t, 7, 2000, &files);
    EXPECT_GT(files, 10u);
    for (auto& m : t.messages) ADD_FAILURE() << m.text;
    EXPECT_TRUE(t.folder.files.empty()) << "spill files outlive their picture";
    EXPECT_EQ(UndoTotal.undo.diskKB + UndoTotal.redo.diskKB, 0);
}

TEST(UndoModel, SmallDiskLimitDeletesOldestSteps)
{
    UndoTest t;
    UndoSettings.memKB = 20;
    UndoSettings.diskKB = 40;
    History h(t, 11);
    ASSERT_TRUE(AddImagePicture(&h.pic));
    for (int i = 0; i < 600; ++i) {
        h.Step();
        h.ForgetDeletedSteps();
        h.Check(i);
        if (HasFatalFailure()) break;
    }
    RemoveImagePicture(&h.pic);
}
