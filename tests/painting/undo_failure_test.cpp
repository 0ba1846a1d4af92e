// Undo under faults: damaged, missing and truncated spill files, a full
// disk, an unwritable folder, exhausted memory. The picture must never be
// damaged, the remaining history must stay right, and the user is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "programpictures.h"
#include "undo_fixture.h"
#include "undo_history.h"

namespace {

class UndoFaults : public ::testing::Test {
protected:
    UndoTest t;
    UDBuffer pic;

    void SetUp() override
    {
        pic.Alloc(Pair<int>{40, 30});
        for (int i = 0; i < 40 * 30; ++i) pic.pixels[i] = 0x00010101u * unsigned(i % 200);
        ASSERT_TRUE(AddImagePicture(&pic));
    }
    void TearDown() override { RemoveImagePicture(&pic); }

    std::vector<unsigned long> Pixels(UDBuffer& p) { return std::vector<unsigned long>(p.pixels, p.pixels + p.Width() * p.Height()); }

    // Records a step of rect and paints it.
    void Paint(Rect r, unsigned long colour)
    {
        ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, r.left, r.top, r.right, r.bottom));
        pic.Box(r, colour);
    }

    std::string Invariants() { return CheckUndoInvariants(t.folder, {&pic, &CurrentBrush}); }
};

}  // namespace

TEST(UndoEntrySize, RoundsUpToKilobytes)
{
    EXPECT_EQ(UndoEntry::SizeKB(100, 100), 40);
    EXPECT_EQ(UndoEntry::SizeKB(1, 1), 1);
    EXPECT_EQ(UndoEntry::SizeKB(0, 5), 0);
    EXPECT_EQ(UndoEntry::SizeKB(32768, 32768), 4LL * 1024 * 1024);
}

TEST_F(UndoFaults, SpillFileHoldsHeaderAndRows)
{
    UndoSettings.memKB = 0;
    pic.modified = 0x01020304;
    pic.fileName = "C:\\pictures\\a.png";
    pic.imageNumber = 2;
    pic.selMinX = 1, pic.selMaxX = 2, pic.selMinY = 3, pic.selMaxY = 4;
    pic.noFile = 1;
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 3, 4, 7, 5));
    ASSERT_TRUE(pic.undoHead->onDisk);
    auto& bytes = t.folder.files.at(pic.undoHead->spillFile.c_str());
    ASSERT_EQ(bytes.size(), 296u + 5 * 2 * 4);
    int32_t v[4];
    std::memcpy(v, bytes.data(), 8);
    EXPECT_EQ(v[0], 5);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(bytes[8], 1);
    std::memcpy(v, bytes.data() + 12, 4);
    EXPECT_EQ(v[0], 0x01020304);
    EXPECT_STREQ(reinterpret_cast<const char*>(bytes.data() + 16), "C:\\pictures\\a.png");
    std::memcpy(v, bytes.data() + 276, 4);
    EXPECT_EQ(v[0], 2);
    std::memcpy(v, bytes.data() + 280, 16);
    EXPECT_EQ(v[0], 1);
    EXPECT_EQ(v[1], 2);
    EXPECT_EQ(v[2], 3);
    EXPECT_EQ(v[3], 4);
    unsigned long first;
    std::memcpy(&first, bytes.data() + 296, 4);
    EXPECT_EQ(first, *pic.At(3, 4));
    std::memcpy(&first, bytes.data() + 296 + 5 * 4, 4);
    EXPECT_EQ(first, *pic.At(3, 5));
    EXPECT_EQ(pic.undoHead->spillFile.Pos("U:\\undo\\KS1000"), 1);
}

TEST_F(UndoFaults, LongFileNamesAreCutInTheHeader)
{
    UndoSettings.memKB = 0;
    pic.fileName = AnsiString(std::string(400, 'n').c_str());
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 1, 1));
    auto& bytes = t.folder.files.at(pic.undoHead->spillFile.c_str());
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(bytes.data() + 16)), 259u);
    EXPECT_EQ(bytes.size(), 296u + 16);
}

TEST_F(UndoFaults, SpillNamesAppendThenReplaceLetters)
{
    UndoSettings.memKB = 0;
    t.folder.files["U:\\undo\\KS1000"];
    t.folder.files["U:\\undo\\KS1000B"];
    t.folder.randoms = {1, 1};  // B: taken, so a second B is appended
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 0, 0));
    EXPECT_STREQ(pic.undoHead->spillFile.c_str(), "U:\\undo\\KS1000BB");
    UDBuffer other;
    other.Alloc(Pair<int>{2, 2});
    std::string base20 = "KS1000" + std::string(14, 'A');  // 20 characters, all taken
    for (size_t n = 6; n <= 20; ++n) t.folder.files["U:\\undo\\" + base20.substr(0, n)];
    t.folder.randoms.assign(14, 0);
    t.folder.nextRandom = 0;
    t.folder.randoms.push_back(25);  // the letter Z
    t.folder.randoms.push_back(4);   // replaces the 5th character
    ASSERT_TRUE(UDBuffer::SaveUndo(&other, "Paint", nullptr, 0, 0, 0, 0));
    std::string expected = base20;
    expected[4] = 'Z';
    EXPECT_EQ(std::string(other.undoHead->spillFile.c_str()), "U:\\undo\\" + expected);
    UDBuffer::DropUndo(&other);
    UDBuffer::DropUndo(&pic);
    t.folder.files.clear();
}

TEST_F(UndoFaults, DamagedSpillFilesLoseTheirStepAndOlderOnesButNeverThePicture)
{
    UndoSettings.memKB = 0;
    Paint(Rect{0, 0, 9, 9}, 0x111111);
    Paint(Rect{5, 5, 20, 20}, 0x222222);
    Paint(Rect{10, 0, 30, 8}, 0x333333);
    Paint(Rect{2, 2, 3, 3}, 0x444444);
    auto before = Pixels(pic);
    // Newest: truncated. Undo must not half-restore.
    t.folder.files.at(pic.undoHead->spillFile.c_str()).resize(300);
    EXPECT_FALSE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(pic), before);
    EXPECT_EQ(pic.undoHead, nullptr) << "older steps build on the lost one";
    EXPECT_EQ(pic.redoHead, nullptr);
    ASSERT_EQ(t.messages.size(), 1u);
    EXPECT_NE(t.messages[0].text.find("could not be read"), std::string::npos);
    EXPECT_EQ(Invariants(), "");
}

// A step lost from a list, by the disk limit (another picture needs the
// room) or by a missing file: the older steps stay when the next older one
// records the whole picture, which then brings the picture back exactly;
// after a rectangle step they go with the lost one.
TEST_F(UndoFaults, ALostStepKeepsOlderStepsOnlyAboveAWholePictureStep)
{
    enum Loss { DiskLimit, MissingFile };
    struct Case {
        Loss loss;
        bool olderWhole;
        const char* message;  // a phrase of what the user is told, or null
    };
    const Case cases[] = {
        {DiskLimit, true, nullptr},
        {DiskLimit, false, nullptr},
        {MissingFile, true, "older steps were kept"},
        {MissingFile, false, "older steps of the list were discarded"},
    };
    UDBuffer other;
    other.Alloc(Pair<int>{16, 16});
    ASSERT_TRUE(AddImagePicture(&other));
    auto original = Pixels(pic);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.loss == DiskLimit ? "disk limit" : "missing file") +
                     (c.olderWhole ? ", whole" : ", rectangle"));
        UndoSettings.memKB = UndoEntry::SizeKB(40, 30);  // one step each, in memory and on disk
        UndoSettings.diskKB = UndoSettings.memKB;
        ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Older", nullptr, c.olderWhole ? -1 : 0, 0, 39, 29));
        pic.Box(Rect{0, 0, 19, 9}, 0x111111);
        Paint(Rect{0, 0, 39, 29}, 0x222222);
        ASSERT_TRUE(pic.undoHead->onDisk);
        ASSERT_FALSE(pic.undoHead->next->onDisk);
        if (c.loss == DiskLimit) {
            ASSERT_TRUE(UDBuffer::SaveUndo(&other, "Other", nullptr, -1, 0, 0, 0));
            UDBuffer::DropUndo(&other);
        } else {
            t.folder.files.erase(pic.undoHead->spillFile.c_str());
            EXPECT_FALSE(UDBuffer::Undo(&pic, true));
        }
        EXPECT_EQ(CheckUndoInvariants(t.folder, {&pic, &other, &CurrentBrush}), "");
        if (c.olderWhole) {
            ASSERT_NE(pic.undoHead, nullptr);
            EXPECT_EQ(pic.undoHead->next, nullptr);
            EXPECT_TRUE(UDBuffer::Undo(&pic, true));
            EXPECT_EQ(Pixels(pic), original);
        } else {
            EXPECT_EQ(pic.undoHead, nullptr);
        }
        ASSERT_EQ(t.messages.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_NE(t.messages[0].text.find(c.message), std::string::npos) << t.messages[0].text;
        }
        t.messages.clear();
        UDBuffer::DropAllRedo(&pic);
        while (pic.undoHead) UDBuffer::DropUndo(&pic);
        std::copy(original.begin(), original.end(), pic.pixels);
    }
    RemoveImagePicture(&other);
}

TEST_F(UndoFaults, DamagedHeaderAndMissingFileAreRefusedBeforeTheyTouchThePicture)
{
    UndoSettings.memKB = 0;
    Paint(Rect{0, 0, 9, 9}, 0x111111);
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Whole", nullptr, -1, 0, 0, 0));
    pic.Alloc(Pair<int>{10, 10});
    pic.Box(Rect{0, 0, 9, 9}, 0x555555);
    auto before = Pixels(pic);
    auto& bytes = t.folder.files.at(pic.undoHead->spillFile.c_str());
    bytes[0] = 0x7F;  // width garbage: must not size the picture
    EXPECT_FALSE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(pic.Width(), 10);
    EXPECT_EQ(Pixels(pic), before);
    EXPECT_EQ(Invariants(), "");

    Paint(Rect{0, 0, 3, 3}, 0x666666);
    before = Pixels(pic);
    t.folder.files.erase(pic.undoHead->spillFile.c_str());
    EXPECT_FALSE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(pic), before);
    EXPECT_EQ(t.messages.size(), 2u);
    t.folder.files.clear();
}

TEST_F(UndoFaults, DamagedRedoFileKeepsTheUndoHistory)
{
    UndoSettings.memKB = 0;
    Paint(Rect{0, 0, 9, 9}, 0x111111);
    Paint(Rect{0, 0, 9, 9}, 0x222222);
    auto painted = Pixels(pic);
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    auto once = Pixels(pic);
    t.folder.files.at(pic.redoHead->spillFile.c_str()).resize(100);
    EXPECT_FALSE(UDBuffer::Redo(&pic));
    EXPECT_EQ(Pixels(pic), once);
    EXPECT_EQ(pic.redoHead, nullptr);
    ASSERT_NE(pic.undoHead, nullptr);
    EXPECT_EQ(Invariants(), "");
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(*pic.At(0, 0), 0u);
}

TEST_F(UndoFaults, FullDiskRefusesTheStepAndLeavesNoFile)
{
    UndoSettings.memKB = 0;
    Paint(Rect{0, 0, 4, 4}, 0x111111);
    t.folder.capacity = t.folder.Used() + 500;
    auto before = Pixels(pic);
    EXPECT_FALSE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 39, 29));
    EXPECT_EQ(Pixels(pic), before);
    ASSERT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.messages[0].caption, "Error");
    EXPECT_EQ(Invariants(), "") << "a half-written file stays behind";
    // Room again: history goes on, and what was kept still undoes.
    t.folder.capacity = -1;
    Paint(Rect{0, 0, 2, 2}, 0x222222);
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true)) << t.messages.back().text;
    EXPECT_EQ(*pic.At(0, 0), 0u);
}

TEST_F(UndoFaults, ErrorsReportedOnlyAtCloseAreCaught)
{
    UndoSettings.memKB = 0;
    t.folder.failClose = true;
    EXPECT_FALSE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 9, 9));
    EXPECT_TRUE(t.folder.files.empty());
    EXPECT_EQ(Invariants(), "");
}

TEST_F(UndoFaults, UnwritableFolderKeepsStepsInMemoryWhileTheyFit)
{
    t.folder.readOnly = true;
    UndoSettings.memKB = 8;
    Paint(Rect{0, 0, 9, 9}, 0x111111);  // 1 KB: fits
    Paint(Rect{0, 0, 39, 29}, 0x222222);  // 5 KB: fits, the older one cannot spill
    EXPECT_FALSE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, 0, 0, 39, 29));  // over the limit, no disk
    EXPECT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(Invariants(), "");
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(*pic.At(0, 0), 0u);
}

TEST_F(UndoFaults, NoMemoryWhileRecording)
{
    t.folder.allocBudget = 0;
    auto before = Pixels(pic);
    EXPECT_FALSE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    EXPECT_EQ(Pixels(pic), before);
    EXPECT_EQ(pic.undoHead, nullptr);
    ASSERT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(t.messages[0].text, "Not enough memory for this operation.");
}

TEST_F(UndoFaults, NoMemoryWhileRestoringAWholeStepKeepsEverything)
{
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Resize", nullptr, -1, 0, 0, 0));
    pic.Alloc(Pair<int>{8, 8});
    pic.Box(Rect{0, 0, 7, 7}, 0x777777);
    auto before = Pixels(pic);
    UndoEntry* step = pic.undoHead;
    t.folder.allocBudget = 100;
    EXPECT_FALSE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(pic.Width(), 8);
    EXPECT_EQ(Pixels(pic), before);
    EXPECT_EQ(pic.undoHead, step);
    EXPECT_EQ(pic.redoHead, nullptr);
    EXPECT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(Invariants(), "");
    t.folder.allocBudget = -1;
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(pic.Width(), 40);
    ASSERT_TRUE(UDBuffer::Redo(&pic));
    EXPECT_EQ(Pixels(pic), before);
}

TEST_F(UndoFaults, NoMemoryForTheRedoStepUndoesNothing)
{
    Paint(Rect{0, 0, 9, 9}, 0x111111);
    auto before = Pixels(pic);
    t.folder.allocBudget = 0;
    EXPECT_FALSE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(pic), before);
    EXPECT_NE(pic.undoHead, nullptr);
    EXPECT_EQ(Invariants(), "");
}

TEST_F(UndoFaults, ShrinkingASpilledWholeStepRewritesItsFile)
{
    UndoSettings.memKB = 0;
    auto original = Pixels(pic);
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    AnsiString oldName = pic.undoHead->spillFile;
    pic.Box(Rect{10, 5, 19, 9}, 0x999999);
    long long diskBefore = UndoTotal.undo.diskKB;
    UDBuffer::ShrinkUndo(&pic, 10, 5, 19, 9);
    UndoEntry* e = pic.undoHead;
    EXPECT_FALSE(e->whole);
    EXPECT_EQ(e->Width(), 10);
    EXPECT_EQ(t.folder.files.count(oldName.c_str()), 0u);
    EXPECT_EQ(t.folder.files.at(e->spillFile.c_str()).size(), 296u + 10 * 5 * 4);
    EXPECT_EQ(UndoTotal.undo.diskKB, diskBefore - UndoEntry::SizeKB(40, 30) + UndoEntry::SizeKB(10, 5));
    // A second crop works in picture coordinates too.
    UDBuffer::ShrinkUndo(&pic, 12, 6, 30, 30);
    EXPECT_EQ(e->left, 12);
    EXPECT_EQ(e->Width(), 8);
    EXPECT_EQ(Invariants(), "");
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(Pixels(pic)[6 * 40 + 12], original[6 * 40 + 12]);
    EXPECT_EQ(*pic.At(10, 5), 0x999999u) << "outside the crop stays painted";
}

TEST_F(UndoFaults, FailedCropLeavesTheStep)
{
    UndoSettings.memKB = 0;
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Paint", nullptr, -1, 0, 0, 0));
    AnsiString name = pic.undoHead->spillFile;
    t.folder.readOnly = true;
    UDBuffer::ShrinkUndo(&pic, 1, 1, 2, 2);
    EXPECT_TRUE(pic.undoHead->whole);
    EXPECT_STREQ(pic.undoHead->spillFile.c_str(), name.c_str());
    EXPECT_EQ(Invariants(), "");
}

TEST_F(UndoFaults, EmptyCropMakesAStepOfNoPixels)
{
    ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "Click", nullptr, -1, 0, 0, 0));
    UDBuffer::ShrinkUndo(&pic, 65535, 65535, -1, -1);
    EXPECT_EQ(pic.undoHead->SizeKB(), 0);
    EXPECT_EQ(UndoTotal.undo.memKB, 0);
    pic.modified = 5;
    ASSERT_TRUE(UDBuffer::Undo(&pic, true));
    EXPECT_EQ(pic.modified, 0u);
    EXPECT_EQ(Invariants(), "");
}

TEST_F(UndoFaults, CopyFromUndoRepeatsEdges)
{
    Paint(Rect{10, 10, 11, 11}, 0x123456);
    Buffer dest;
    UDBuffer::CopyFromUndo(&pic, dest, 8, 9, 12, 12);
    ASSERT_EQ(dest.Width(), 5);
    EXPECT_EQ(*dest.At(0, 0), *pic.undoHead->picture.At(0, 0));  // corner
    EXPECT_EQ(*dest.At(4, 3), *pic.undoHead->picture.At(1, 1));
    EXPECT_EQ(*dest.At(2, 1), *pic.undoHead->picture.At(0, 0));
    EXPECT_EQ(*dest.At(3, 2), *pic.undoHead->picture.At(1, 1));
    EXPECT_EQ(UDBuffer::NewestUndoSize(&pic).x, 2);
}

TEST_F(UndoFaults, MovingSpillFilesDiscardsWhatCannotMoveAndSaysSo)
{
    UndoSettings.memKB = 0;
    Paint(Rect{0, 0, 3, 3}, 1);
    Paint(Rect{0, 0, 3, 3}, 2);
    UndoSettings.dir = "V:\\other\\";
    MoveAllUndoFiles();
    EXPECT_EQ(pic.undoHead->spillFile.Pos("V:\\other\\KS"), 1);
    EXPECT_TRUE(t.messages.empty());
    t.folder.failMove = true;
    UndoSettings.dir = "W:\\";
    MoveAllUndoFiles();
    EXPECT_EQ(pic.undoHead, nullptr);
    EXPECT_EQ(t.messages.size(), 1u);
    EXPECT_EQ(Invariants(), "");
}

TEST_F(UndoFaults, SpillOrderIsOtherWindowsThenTheBrushThenOwnOlderSteps)
{
    UDBuffer b;
    b.Alloc(Pair<int>{16, 16});
    ASSERT_TRUE(AddImagePicture(&b));
    CurrentBrush.Alloc(Pair<int>{16, 16});
    ASSERT_TRUE(UDBuffer::SaveUndo(&b, "B", nullptr, -1, 0, 0, 0));             // 1 KB
    ASSERT_TRUE(UDBuffer::SaveUndo(&CurrentBrush, "Br", nullptr, -1, 0, 0, 0));  // 1 KB
    Paint(Rect{0, 0, 15, 15}, 1);                                               // 1 KB
    Paint(Rect{0, 0, 15, 15}, 2);                                               // 1 KB
    UndoSettings.memKB = 4;
    Paint(Rect{0, 0, 15, 15}, 3);
    EXPECT_TRUE(b.undoHead->onDisk);
    EXPECT_FALSE(CurrentBrush.undoHead->onDisk);
    Paint(Rect{0, 0, 15, 15}, 4);
    EXPECT_TRUE(CurrentBrush.undoHead->onDisk);
    EXPECT_FALSE(pic.undoHead->next->next->onDisk);
    Paint(Rect{0, 0, 15, 15}, 5);
    UndoEntry* oldest = pic.undoHead;
    while (oldest->next) oldest = oldest->next;
    EXPECT_TRUE(oldest->onDisk);
    EXPECT_FALSE(pic.undoHead->onDisk) << "the newest step stays in memory";
    EXPECT_EQ(CheckUndoInvariants(t.folder, {&pic, &b, &CurrentBrush}), "");
    RemoveImagePicture(&b);
    UDBuffer::DropUndo(&CurrentBrush);
    CurrentBrush.Free();
}

TEST_F(UndoFaults, DiskLimitDeletesOtherPicturesSpilledStepsFirst)
{
    UDBuffer b;
    b.Alloc(Pair<int>{16, 16});
    ASSERT_TRUE(AddImagePicture(&b));
    UndoSettings.memKB = 0;
    ASSERT_TRUE(UDBuffer::SaveUndo(&b, "B1", nullptr, -1, 0, 0, 0));
    ASSERT_TRUE(UDBuffer::SaveUndo(&b, "B2", nullptr, -1, 0, 0, 0));
    AnsiString oldestOfB = b.undoHead->next->spillFile;
    UndoSettings.diskKB = 2;
    t.folder.tick = 2000;  // new names differ from the deleted one
    Paint(Rect{0, 0, 15, 15}, 1);
    EXPECT_EQ(t.folder.files.count(oldestOfB.c_str()), 0u);
    EXPECT_EQ(b.undoHead->next, nullptr);
    // No room at all: the step still goes to disk.
    Paint(Rect{0, 0, 15, 15}, 2);
    Paint(Rect{0, 0, 15, 15}, 3);
    EXPECT_TRUE(pic.undoHead->onDisk);
    EXPECT_EQ(CheckUndoInvariants(t.folder, {&pic, &b, &CurrentBrush}), "");
    RemoveImagePicture(&b);
}

TEST_F(UndoFaults, DestroyedPicturesLeaveTheTotals)
{
    {
        UDBuffer b;
        b.Alloc(Pair<int>{16, 16});
        ASSERT_TRUE(UDBuffer::SaveUndo(&b, "B", nullptr, -1, 0, 0, 0));
        EXPECT_EQ(UndoTotal.undo.memKB, 1);
    }
    EXPECT_EQ(UndoTotal.undo.memKB, 0);
}

TEST_F(UndoFaults, PopupModelUndoesSeveralSteps)
{
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(UDBuffer::SaveUndo(&pic, i == 4 ? "DelSel" : "Paint", nullptr, 0, 0, 3, 3));
        pic.Box(Rect{0, 0, 3, 3}, unsigned(i + 1));
    }
    auto names = UndoStepNames(&pic, false);
    ASSERT_EQ(names.size(), 5u);
    EXPECT_STREQ(names[0].c_str(), "Remove selection");
    EXPECT_STREQ(UndoButtonHint(&pic, false).c_str(), "Undo Remove selection");
    EXPECT_STREQ(UndoButtonHint(nullptr, true).c_str(), "Redo");
    EXPECT_EQ(PerformUndoSteps(&pic, false, 3), 3);
    EXPECT_EQ(UndoStepNames(&pic, true).size(), 3u);
    EXPECT_EQ(*pic.At(0, 0), 2u);
    EXPECT_EQ(PerformUndoSteps(&pic, true, 9), 3);
    EXPECT_EQ(*pic.At(0, 0), 5u);
    UndoPopupPlace p = PlaceUndoPopup(12, 14, 100, 1000, 700, 0, 0, 1024, 768);
    EXPECT_EQ(p.formHeight, 8 * 14 + 10);
    EXPECT_EQ(p.listHeight, 8 * 14 + 2);
    EXPECT_EQ(p.left, 924);
    EXPECT_EQ(p.top, 768 - 122);
}
