// Writes raster-font files for the tests, from the file layout alone: chunks
// with big-endian lengths, version-1 glyphs raw, version-2 glyphs filtered
// against the row above, gap-coded and packed with a canonical prefix code.
#ifndef TESTS_PIXMILL_RFONT_WRITER_H
#define TESTS_PIXMILL_RFONT_WRITER_H

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

typedef std::vector<unsigned char> Bytes;

// One glyph: rows of ink, '#' = ink, anything else blank; its width is
// given separately (0 = no glyph).
struct TestGlyph {
    int width = 0;
    std::vector<std::string> rows;
};

struct TestFace {
    int height = 8, rowBytes = 1, first = 'A', last = 'Z', spacing = 1, spaceWidth = 4, extra = 0;
    std::map<int, TestGlyph> glyphs;  // by character code; missing = width 0

    bool InkAt(int ch, int x, int y) const
    {
        auto g = glyphs.find(ch);
        if (g == glyphs.end() || y >= int(g->second.rows.size())) return false;
        const std::string& row = g->second.rows[size_t(y)];
        return x < int(row.size()) && row[size_t(x)] == '#';
    }
    int Width(int ch) const
    {
        auto g = glyphs.find(ch);
        return ch < first || ch > last || g == glyphs.end() ? 0 : g->second.width;
    }
    // Store of one glyph: bit x of a row, least significant bit first.
    Bytes GlyphBytes(int ch) const
    {
        Bytes b(size_t(height * rowBytes), 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < 8 * rowBytes; ++x)
                if (InkAt(ch, x, y)) b[size_t(y * rowBytes + x / 8)] |= uint8_t(1 << (x % 8));
        return b;
    }
};

inline void PutId(Bytes& out, const char* id)
{
    out.insert(out.end(), id, id + 4);
}

inline void PutBE(Bytes& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

inline void PutLE(Bytes& out, uint32_t v)
{
    for (int s = 0; s < 32; s += 8) out.push_back(uint8_t(v >> s));
}

inline void PutChunk(Bytes& out, const char* id, const Bytes& data)
{
    PutId(out, id);
    PutBE(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
}

// Canonical prefix code from symbol frequencies (Huffman lengths).
struct TestCode {
    std::map<int, int> length;  // symbol -> code length
    std::map<int, uint32_t> code;
};

inline TestCode MakeCode(const std::map<int, long>& freq)
{
    TestCode c;
    // Huffman by repeated merging of the two rarest groups.
    std::vector<std::pair<long, std::vector<int>>> groups;
    for (auto& f : freq) groups.push_back({f.second, {f.first}});
    while (groups.size() > 1) {
        std::sort(groups.begin(), groups.end(), [](auto& a, auto& b) { return a.first > b.first; });
        auto a = groups.back();
        groups.pop_back();
        auto b = groups.back();
        groups.pop_back();
        for (int s : a.second) c.length[s]++;
        for (int s : b.second) c.length[s]++;
        a.first += b.first;
        a.second.insert(a.second.end(), b.second.begin(), b.second.end());
        groups.push_back(a);
    }
    // Canonical: by length, then symbol.
    std::vector<std::pair<int, int>> order;
    for (auto& l : c.length) order.push_back({l.second, l.first});
    std::sort(order.begin(), order.end());
    uint32_t code = 0;
    int len = order.empty() ? 0 : order[0].first;
    for (auto& o : order) {
        code <<= (o.first - len);
        len = o.first;
        c.code[o.second] = code++;
    }
    return c;
}

inline Bytes CodeDescription(const TestCode& c)
{
    Bytes out;
    int shortest = 99, longest = 0;
    for (auto& l : c.length) shortest = std::min(shortest, l.second), longest = std::max(longest, l.second);
    out.push_back(uint8_t(shortest));
    for (int len = shortest; len <= longest; ++len) {
        std::vector<int> syms;
        for (auto& l : c.length)
            if (l.second == len) syms.push_back(l.first);
        out.push_back(uint8_t(syms.size()));
        for (int s : syms) out.push_back(uint8_t(s));
    }
    return out;
}

// Gap symbols for the set bits of store, ending past its end.
inline std::vector<int> Gaps(const Bytes& store)
{
    std::vector<int> gaps;
    int64_t total = int64_t(store.size()) * 8, pos = -1;
    for (int64_t p = 0; p < total; ++p) {
        if (!(store[size_t(p / 8)] >> (p % 8) & 1)) continue;
        int64_t g = p - pos - 1;
        for (; g >= 255; g -= 255) gaps.push_back(255);
        gaps.push_back(int(g));
        pos = p;
    }
    for (; total - pos > 255; pos += 255) gaps.push_back(255);
    gaps.push_back(int(total - pos - 1));
    return gaps;
}

inline Bytes PackGlyphs(Bytes store, int rowBytes, bool forceLongCodes = false)
{
    for (size_t i = store.size(); i-- > size_t(rowBytes);) store[i] ^= store[i - size_t(rowBytes)];
    std::vector<int> gaps = Gaps(store);
    std::map<int, long> freq;
    for (int g : gaps) freq[g]++;
    if (freq.size() == 1) {
        Bytes out = {0, uint8_t(gaps[0])};
        return out;
    }
    if (forceLongCodes)  // very uneven frequencies give codes longer than 8 bits
        for (int s = 100, f = 1; s < 110; ++s, f *= 2) freq[s] = f;
    TestCode c = MakeCode(freq);
    Bytes out = CodeDescription(c);
    std::vector<int> bits;
    for (int g : gaps)
        for (int b = c.length[g] - 1; b >= 0; --b) bits.push_back(int(c.code[g] >> b & 1));
    while (bits.size() % 32) bits.push_back(0);
    for (size_t i = 0; i < bits.size(); i += 8) {
        int v = 0;
        for (int b = 0; b < 8; ++b) v = v << 1 | bits[i + size_t(b)];
        out.push_back(uint8_t(v));
    }
    return out;
}

// A font file of one family. version 0x10000 stores every glyph raw,
// 0x20000 only glyphs with a width, compressed.
inline Bytes WriteFont(const std::string& family, const std::vector<TestFace>& faces, uint32_t version,
                       bool forceLongCodes = false)
{
    Bytes body;
    PutChunk(body, "NAME", Bytes(family.begin(), family.end()));
    for (const TestFace& f : faces) {
        Bytes desc = {uint8_t(f.height), uint8_t(f.rowBytes), uint8_t(f.first), uint8_t(f.last),
                      uint8_t(f.spacing), uint8_t(f.spaceWidth), 0, 0, 0, uint8_t(f.extra)};
        PutChunk(body, "DESC", desc);
        Bytes widths, store;
        for (int ch = f.first; ch <= f.last; ++ch) {
            widths.push_back(uint8_t(f.Width(ch)));
            if (version >> 16 < 2 || f.Width(ch)) {
                Bytes g = f.GlyphBytes(ch);
                store.insert(store.end(), g.begin(), g.end());
            }
        }
        PutChunk(body, "WDTH", widths);
        PutChunk(body, "DATA", version >> 16 < 2 ? store : PackGlyphs(store, f.rowBytes, forceLongCodes));
    }
    Bytes out;
    PutId(out, "FONT");
    PutBE(out, uint32_t(body.size() + 4));
    PutLE(out, version);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// A face with random glyphs for every code from first to last; some codes
// have no glyph.
inline TestFace RandomFace(std::mt19937& rng, int height, int rowBytes, int first, int last)
{
    TestFace f;
    f.height = height, f.rowBytes = rowBytes, f.first = first, f.last = last;
    for (int ch = first; ch <= last; ++ch) {
        if (rng() % 5 == 0) continue;
        TestGlyph g;
        g.width = 1 + int(rng() % unsigned(8 * rowBytes));
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < 8 * rowBytes; ++x) row += rng() % 3 == 0 ? '#' : '.';
            g.rows.push_back(row);
        }
        f.glyphs[ch] = g;
    }
    return f;
}

#endif
