// What crosses between pixmill.dll (and a DLL linked the same way) and the
// program: exceptions caught by type, heap blocks and strings freed on the
// other side. With static runtimes the first test ends the process.
#include <gtest/gtest.h>
#include <malloc.h>
#include <stdlib.h>
#include <string.h>

#include "buffer.h"
#include "exceptions.h"
#include "heapstats.h"
#include "thrower.h"

TEST(CrossModule, OutOfMemoryFromPixmillIsCaughtByType)
{
    Buffer b;
    bool caught = false;
    try {
        b.Alloc({65536, 65537});
    } catch (EOutOfMemory& e) {
        caught = true;
        EXPECT_STREQ("Out of memory", e.Message.c_str());
    }
    EXPECT_TRUE(caught);
    EXPECT_EQ(nullptr, b.pixels);
}

TEST(CrossModule, InvalidImageFromDllIsCaughtByTypeAndAsBase)
{
    try {
        ThrowInvalidImage("TGA: colour map entry size 20");
        FAIL() << "no exception";
    } catch (EInvalidImage& e) {
        EXPECT_STREQ("Graphics file has an invalid/unknown format or has been damaged.", e.Message.c_str());
        EXPECT_STREQ("TGA: colour map entry size 20", e.Detail.c_str());
    }
    try {
        ThrowInvalidImage(nullptr);
        FAIL() << "no exception";
    } catch (Exception& e) {
        EXPECT_NE(nullptr, dynamic_cast<EInvalidImage*>(&e));
    }
}

TEST(CrossModule, PixmillBlockFreedByProgram)
{
    Buffer b;
    int before = PixmillLiveBlocks();
    b.Alloc({33, 17});
    EXPECT_EQ(before + 1, PixmillLiveBlocks());
    memset(b.pixels, 0x5A, 33 * 17 * 4);
    char* block = reinterpret_cast<char*>(b.pixels) - (b.own == -1 ? 4 : 0);
    b.own = 1;  // the program takes the block over
    free(block);
    b.Free();
    EXPECT_EQ(_HEAPOK, _heapchk());
}

TEST(CrossModule, ProgramBlockFreedByPixmill)
{
    unsigned long* mem = static_cast<unsigned long*>(malloc(64 * 64 * 4 + 16));
    ASSERT_NE(nullptr, mem);
    Buffer b;
    b.Alloc({64, 64}, mem, 0);
    EXPECT_EQ(1, b.own);
    b.own = 0;  // hand ownership to the library
    int before = PixmillLiveBlocks();
    b.Free();
    EXPECT_EQ(before - 1, PixmillLiveBlocks());
    EXPECT_EQ(_HEAPOK, _heapchk());
}

TEST(CrossModule, RawBlocksFreedOnTheOtherSide)
{
    void* a = AllocInDll(1000);
    ASSERT_NE(nullptr, a);
    free(a);
    void* b = malloc(1000);
    FreeInDll(b);
    EXPECT_EQ(_HEAPOK, _heapchk());
}

TEST(CrossModule, StringsMadeInOneModuleLiveAndDieInTheOther)
{
    AnsiString fromDll = MakeString("ab", 50);
    EXPECT_EQ(100, fromDll.Length());
    AnsiString shared = fromDll;
    shared += "!";  // the program copies the DLL's block and releases its reference
    EXPECT_EQ(100, fromDll.Length());
    EXPECT_EQ(101, shared.Length());
    fromDll = AnsiString();  // the program frees the DLL's block

    AnsiString mine("program");
    AnsiString copy = mine;
    AppendInDll(copy, " and dll");  // the DLL makes its own block, drops its share
    EXPECT_STREQ("program", mine.c_str());
    EXPECT_STREQ("program and dll", copy.c_str());
    ReleaseInDll(copy);  // the DLL frees the block it made
    ReleaseInDll(mine);  // the DLL frees the program's block
    EXPECT_TRUE(mine.IsEmpty());
    EXPECT_EQ(_HEAPOK, _heapchk());
}
