// Leaves a noisy picture before and after a solid fill in the folder
// KESTREL_FILL_EXPORT names, for tests/painting/fill_crosscheck.py to fill
// again with Pillow; skipped without it.
#include <cstdio>
#include <cstdlib>

#include "../drawtools_fixture.h"

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

TEST_F(FillExport, SolidFillOfNoiseWithTolerance60)
{
    const char* dir = std::getenv("KESTREL_FILL_EXPORT");
    if (!dir) GTEST_SKIP() << "KESTREL_FILL_EXPORT not set";
    srand(26);
    for (int i = 0; i < W * H; ++i)
        pic.pixels[i] = 0x00646464u + (unsigned long)(rand() % 3) * 0x140000u + (unsigned long)(rand() % 3) * 0x1400u +
                        (unsigned long)(rand() % 3) * 0x14u;
    Write(dir, "before.bin", pic);
    Use(tools.fillSolid);
    SetOptionValue(0, 60);
    Click({20, 20});
    SetOptionValue(0, 0);
    Write(dir, "after.bin", pic);
}

}  // namespace
