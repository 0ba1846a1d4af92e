#include <gtest/gtest.h>

#include <random>
#include "lng_encoder.h"
#include "language_file_decode.h"

namespace {

std::string Expand(const Bytes& file) { return ExpandLanguageFile(file.data(), file.size()); }

// Symbols 'a', 'b', ... with lengths 1, 2, ..., count - 1, count - 1.
CodeLengths LinearLengths(int count)
{
    CodeLengths lengths{};
    for (int i = 0; i < count; i++) lengths['a' + i] = std::min(i + 1, count - 1);
    return lengths;
}

std::string EachSymbolOnce(int count)
{
    std::string text;
    for (int i = count - 1; i >= 0; i--) text += static_cast<char>('a' + i);
    return text;
}

TEST(LngDecode, SingleSymbolFormRepeatsIt)
{
    const Bytes file = {5, 0, 0, 0, 0, 'x'};
    EXPECT_EQ(Expand(file), "xxxxx");
}

TEST(LngDecode, CanonicalCodesOfLengthsOneToThree)
{
    // Codes 0, 10, 110, 111 for A, B, C, D; the stream is D C B A A.
    // 111 110 10 0 0 -> 11111010 00......
    const Bytes file = {5, 0, 0, 0, 1, 1, 'A', 1, 'B', 2, 'C', 'D', 0xFA, 0x00};
    EXPECT_EQ(Expand(file), "DCBAA");
}

TEST(LngDecode, LevelStartingEmptyIsNotMistakenForFull)
{
    // Lengths 1..8 once each, then no 9-bit code and four 10-bit ones: the
    // second level starts at entry 0 and lists nothing for its first length.
    CodeLengths lengths{};
    for (int i = 0; i < 8; i++) lengths['a' + i] = i + 1;
    for (int i = 0; i < 4; i++) lengths['w' + i] = 10;
    const std::string text = "abcdefghwxyzzyxwha";
    EXPECT_EQ(Expand(EncodeLng(text, lengths)), text);
}

TEST(LngDecode, ThreeLevelCodesRoundTrip)
{
    const std::string text = EachSymbolOnce(22) + "abcvu";
    EXPECT_EQ(Expand(EncodeLng(text, LinearLengths(22))), text);
}

TEST(LngDecode, RandomTextsRoundTrip)
{
    std::mt19937 random(7);
    for (int round = 0; round < 60; round++) {
        std::string text;
        int length = static_cast<int>(random() % 3000);
        int alphabet = 1 + static_cast<int>(random() % 256);
        // Skewed frequencies give long codes as well as short ones.
        std::geometric_distribution<int> pick(0.02 + (random() % 50) / 100.0);
        for (int i = 0; i < length; i++) text += static_cast<char>(pick(random) % alphabet);
        const Bytes file = EncodeLng(text);
        std::string expanded;
        try {
            expanded = Expand(file);
        } catch (const ELanguageFile&) {
            // Only codes needing more than four levels may be refused.
            CodeLengths lengths = HuffmanLengths(text);
            EXPECT_GT(*std::max_element(lengths.begin(), lengths.end()), 17) << "round " << round;
            continue;
        }
        EXPECT_EQ(expanded, text) << "round " << round;
    }
}

// A random complete prefix code of count symbols, no code longer than
// maxLength: leaves are split at random, half the time the deepest one.
CodeLengths RandomCodeLengths(std::mt19937& random, int count, int maxLength)
{
    std::vector<int> depths = {0};
    while (static_cast<int>(depths.size()) < count) {
        std::vector<std::size_t> splittable;
        for (std::size_t i = 0; i < depths.size(); i++)
            if (depths[i] < maxLength) splittable.push_back(i);
        std::size_t pick = splittable[random() % splittable.size()];
        if (random() % 2)
            for (std::size_t i : splittable)
                if (depths[i] > depths[pick]) pick = i;
        depths[pick]++;
        depths.push_back(depths[pick]);
    }
    CodeLengths lengths{};
    for (int s = 0; s < count; s++) lengths[s] = depths[s];
    return lengths;
}

TEST(LngDecode, RandomCodesUpTo23BitsRoundTrip)
{
    std::mt19937 random(23);
    int decoded = 0, longest = 0;
    for (int round = 0; round < 300; round++) {
        int count = 2 + static_cast<int>(random() % 255);
        CodeLengths lengths = RandomCodeLengths(random, count, 23);
        std::string text;
        for (int s = 0; s < count; s++) text += static_cast<char>(s);
        for (int i = 0; i < 500; i++) text += static_cast<char>(random() % count);
        std::shuffle(text.begin(), text.end(), random);
        int maxLength = *std::max_element(lengths.begin(), lengths.end());
        try {
            EXPECT_EQ(Expand(EncodeLng(text, lengths)), text) << "round " << round;
        } catch (const ELanguageFile&) {
            // Only a code whose lookup would need a fifth level may be refused.
            EXPECT_GT(maxLength, 17) << "round " << round;
            continue;
        }
        decoded++;
        longest = std::max(longest, maxLength);
    }
    // 267 with this seed: each of the other 33 codes needs a fifth lookup
    // level (checked against tools/lngencode.py's model of the levels).
    EXPECT_GE(decoded, 260);
    EXPECT_EQ(longest, 23);
}

TEST(LngDecode, RefusesDamagedFiles)
{
    const Bytes good = EncodeLng(EachSymbolOnce(22) + "hello world", LinearLengths(22));
    // Every truncation is refused, never read past.
    for (std::size_t size = 0; size < good.size(); size++) {
        Bytes cut(good.begin(), good.begin() + size);
        EXPECT_THROW(Expand(cut), ELanguageFile) << "size " << size;
    }
    Bytes longL0 = good;
    longL0[4] = 9;
    EXPECT_THROW(Expand(longL0), ELanguageFile);
    Bytes hugeN = good;
    hugeN[3] = 0xFF;
    EXPECT_THROW(Expand(hugeN), ELanguageFile);
}

TEST(LngDecode, RefusesDescriptionsThatOverfillOrNeverFill)
{
    const Bytes overfull = {1, 0, 0, 0, 1, 3, 'a', 'b', 'c', 0};
    EXPECT_THROW(Expand(overfull), ELanguageFile);
    // Two 2-bit codes and nothing after: the description runs out.
    const Bytes unfilled = {1, 0, 0, 0, 2, 2, 'a', 'b'};
    EXPECT_THROW(Expand(unfilled), ELanguageFile);
    // Half the space left open at 8 bits can never be filled.
    Bytes sparse = {1, 0, 0, 0, 2, 1, 'a'};
    for (int i = 0; i < 6; i++) sparse.push_back(0);
    sparse.push_back(0);
    EXPECT_THROW(Expand(sparse), ELanguageFile);
}

TEST(LngDecode, RefusesCodesNeedingAFifthLevel)
{
    const std::string text = EachSymbolOnce(40);
    EXPECT_THROW(Expand(EncodeLng(text, LinearLengths(40))), ELanguageFile);
}

TEST(LngDecode, BodyLongerThanNeededIsIgnored)
{
    Bytes file = EncodeLng("abcabc");
    file.insert(file.end(), 100, 0xAA);
    EXPECT_EQ(Expand(file), "abcabc");
}

}  // namespace
