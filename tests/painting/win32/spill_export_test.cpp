// Leaves a copy of one real spill file in the folder KESTREL_SPILL_EXPORT
// names, for tests/painting/spill_crosscheck.py to read with a reader of its
// own; skipped without it. The picture is the script's formula.
#include <gtest/gtest.h>

#include <cstdlib>

#include "messages.h"
#include "undo_entry.h"
#include "undo_platform.h"
#include "undo_settings.h"
#include "winapi.h"

namespace {

unsigned long PatternPixel(int x, int y)
{
    return (unsigned long)((x * 7) & 255) << 16 | (unsigned long)((y * 11) & 255) << 8 |
           (unsigned long)((x * y) & 255);
}

TEST(SpillExport, OneRectangleStepOnDisk)
{
    const char* dir = std::getenv("KESTREL_SPILL_EXPORT");
    if (!dir) GTEST_SKIP() << "KESTREL_SPILL_EXPORT not set";
    SetUndoPlatform(nullptr);
    UndoSettings = TUndoSettings();
    UndoSettings.dir = dir;
    UndoSettings.memKB = 0;  // straight to disk
    {
        UDBuffer pic;
        pic.Alloc(Pair<int>{37, 23});
        for (int y = 0; y < 23; ++y)
            for (int x = 0; x < 37; ++x) *pic.At(x, y) = PatternPixel(x, y);
        pic.noFile = 1;
        pic.modified = 7;
        pic.fileName = "C:\\pictures\\spill test.png";
        pic.imageNumber = 3;
        pic.selMinX = 4;
        pic.selMaxX = 9;
        pic.selMinY = 5;
        pic.selMaxY = 11;
        ASSERT_TRUE(UDBuffer::SaveUndo(&pic, "DelSel", nullptr, 2, 3, 30, 20));
        ASSERT_TRUE(pic.undoHead->onDisk);
        AnsiString copy = UndoDirectory() + "spill.bin";
        EXPECT_TRUE(CopyFileA(pic.undoHead->spillFile.c_str(), copy.c_str(), FALSE));
    }
    UndoSettings = TUndoSettings();
}

}  // namespace
