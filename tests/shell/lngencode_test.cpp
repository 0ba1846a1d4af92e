// The build's language encoder (tools/lngencode.py) against the program's
// decoder: what the script writes expands to its input byte for byte.
// Runs in the host build, where the script can be started.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <unistd.h>
#include "lng_encoder.h"
#include "language_file_decode.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::string data;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::getc(f)) != EOF;) data += static_cast<char>(c);
        std::fclose(f);
    }
    return data;
}

void WriteAll(const std::string& path, const std::string& data)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

// Tests run as processes side by side: each takes names of its own.
std::string ScratchName(const char* extension)
{
    return ::testing::TempDir() + "lngencode_test_" + std::to_string(getpid()) + extension;
}

class LngEncodeScript : public ::testing::Test {
protected:
    // The script's .lng of the file at source, expanded again.
    std::string RoundTrip(const std::string& source)
    {
        std::string target = ScratchName(".lng");
        std::remove(target.c_str());
        std::string command = "python3 " KESTREL_SOURCE_DIR "/tools/lngencode.py '" + source + "' '" + target + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::string lng = ReadAll(target);
        std::remove(target.c_str());
        return ExpandLanguageFile(reinterpret_cast<const unsigned char*>(lng.data()), lng.size());
    }
    std::string RoundTripText(const std::string& text)
    {
        std::string source = ScratchName(".txt");
        WriteAll(source, text);
        std::string expanded = RoundTrip(source);
        std::remove(source.c_str());
        return expanded;
    }
};

TEST_F(LngEncodeScript, EnglishTextExpandsToItself)
{
    std::string source = KESTREL_SOURCE_DIR "/kestrel/shell/english.txt";
    std::string text = ReadAll(source);
    ASSERT_GT(text.size(), 1000u);
    EXPECT_EQ(RoundTrip(source), text);
}

TEST_F(LngEncodeScript, SingleSymbolAndEmptyTexts)
{
    EXPECT_EQ(RoundTripText("xxxxx"), "xxxxx");
    EXPECT_EQ(RoundTripText(""), "");
}

TEST_F(LngEncodeScript, SkewedTextsNeedingSeveralLevels)
{
    // Frequencies halving from symbol to symbol give codes far longer than
    // four levels could hold unlimited; the script must limit them.
    std::string text;
    for (int symbol = 0; symbol < 40; symbol++)
        text.append(static_cast<std::size_t>(1) << std::max(0, 24 - symbol) >> 8, static_cast<char>('0' + symbol));
    text += "[Messages]\r\nKey=@value@\r\n[InfoForm]\r\nOkBtn.Caption=Fine\r\n";
    for (int c = 0; c < 256; c++) text += static_cast<char>(c);
    EXPECT_EQ(RoundTripText(text), text);

    std::mt19937 random(11);
    for (int round = 0; round < 3; round++) {
        std::string skewed;
        std::geometric_distribution<int> pick(0.05 + round * 0.1);
        for (int i = 0; i < 20000; i++) skewed += static_cast<char>(pick(random) % 256);
        EXPECT_EQ(RoundTripText(skewed), skewed) << "round " << round;
    }
}

TEST_F(LngEncodeScript, CodesTooLongForFourLevelsAreShortened)
{
    // Fibonacci frequencies of 40 symbols: an unlimited code needs 39 bits
    // and a fifth lookup level; the chosen one must fit four, complete.
    const char* check =
        "python3 -c \"import sys; sys.path.insert(0, '" KESTREL_SOURCE_DIR "/tools'); import lngencode as e\n"
        "fib = [1, 1]\nwhile len(fib) < 40: fib.append(fib[-1] + fib[-2])\n"
        "freq = dict(enumerate(fib))\n"
        "assert e.lookup_levels(*e.counts_by_length(e.limited_lengths(freq, 39))) > e.MAX_LEVELS\n"
        "lengths = e.choose_lengths(freq)\n"
        "assert e.lookup_levels(*e.counts_by_length(lengths)) <= e.MAX_LEVELS\n"
        "assert sum(2 ** (64 - n) for n in lengths.values()) == 2 ** 64\"";
    EXPECT_EQ(std::system(check), 0);
}

}  // namespace
#endif
