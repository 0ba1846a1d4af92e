// Raster-font seeds: font files of both versions with a few faces, behind
// the first byte that makes the font target read a font file.
#include <random>
#include <string>

#include "../../pixmill/rfont_writer.h"
#include "seed_writer.h"

void WriteFontSeeds(const std::string& root)
{
    std::mt19937 rng(5);
    const std::vector<TestFace> faces = {RandomFace(rng, 8, 1, 'A', 'H'), RandomFace(rng, 12, 2, '0', '9')};
    for (uint32_t version : {0x10000u, 0x20000u}) {
        Bytes seed(1, 0);  // an even first byte: a font file follows
        Bytes font = WriteFont("Seed", faces, version);
        seed.insert(seed.end(), font.begin(), font.end());
        WriteSeed(root, "rfont_fuzz", "font" + std::to_string(version >> 16), seed);
    }
}
