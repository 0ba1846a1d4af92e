// Leaves a noisy picture before and after a solid fill, and after a magic
// wand selection, in the folder KESTREL_FILL_EXPORT names, for
// tests/painting/fill_crosscheck.py to fill again with Pillow; skipped
// without it.
#include <cstdio>
#include <cstdlib>

#include "../drawtools_fixture.h"
#include "cut_tools.h"
#include "undo_settings.h"

namespace {

using FillExport = DrawToolTest;

void Write(const char* dir, const char* name, const UDBuffer& pic)
{
    AnsiString path = AnsiString(dir) + "\\" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path.c_str();
    std::fwrite(pic.pixels, 4, size_t(pic.Width() * pic.Height()), f);
    std::fclose(f);
}

void Noise(UDBuffer& pic)
{
    srand(26);
    for (int i = 0; i < pic.Width() * pic.Height(); ++i)
        pic.pixels[i] = 0x00646464u + (unsigned long)(rand() % 3) * 0x140000u + (unsigned long)(rand() % 3) * 0x1400u +
                        (unsigned long)(rand() % 3) * 0x14u;
}

TEST_F(FillExport, SolidFillOfNoiseWithTolerance60)
{
    const char* dir = std::getenv("KESTREL_FILL_EXPORT");
    if (!dir) GTEST_SKIP() << "KESTREL_FILL_EXPORT not set";
    Noise(pic);
    Write(dir, "before.bin", pic);
    Use(tools.fillSolid);
    SetOptionValue(0, 60);
    Click({20, 20});
    SetOptionValue(0, 0);
    Write(dir, "after.bin", pic);
}

TEST_F(FillExport, WandSelectionOfNoiseWithTolerance40)
{
    const char* dir = std::getenv("KESTREL_FILL_EXPORT");
    if (!dir) GTEST_SKIP() << "KESTREL_FILL_EXPORT not set";
    InstBrush = false;
    ApplyCutMode();
    Noise(pic);
    Use(CutTools().wand);
    SetOptionValue(0, 40);
    Click({20, 20});
    Write(dir, "selected.bin", pic);
}

}  // namespace
