#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "pipl.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put32(Bytes& b, unsigned long v)
{
    for (int i = 0; i < 4; i++) b.push_back((unsigned char)(v >> (8 * i)));
}

struct Prop {
    unsigned long vendor, key;
    Bytes data;
    unsigned long length;  // 0: the data's size
};

Bytes Pascal(const char* s)
{
    Bytes b;
    b.push_back((unsigned char)strlen(s));
    for (const char* p = s; *p; p++) b.push_back((unsigned char)*p);
    return b;
}

Bytes Code(unsigned long v)
{
    Bytes b;
    Put32(b, v);
    return b;
}

Bytes Text(const char* s) { return Bytes(s, s + strlen(s)); }

Bytes PiPL(const std::vector<Prop>& props, unsigned long count)
{
    Bytes b{1, 0, 0, 0, 0, 0};
    Put32(b, count);
    for (const Prop& p : props) {
        Put32(b, p.vendor);
        Put32(b, p.key);
        Put32(b, 0);
        Put32(b, p.length ? p.length : p.data.size());
        b.insert(b.end(), p.data.begin(), p.data.end());
        while (b.size() % 4 != 2) b.push_back(0);  // padded from byte 10
    }
    return b;
}

std::vector<Prop> Invert()
{
    return {{FourCC8BIM, FourCCKind, Code(FourCCFilter), 0},
            {FourCC8BIM, FourCCName, Pascal("Invert"), 0},
            {FourCC8BIM, FourCCCatg, Pascal("Tests"), 0},
            {FourCC8BIM, FourCCWx86, Text("PluginMain"), 0}};
}

}  // namespace

TEST(PiPL, Descriptions)
{
    std::vector<Prop> otherVendor = Invert();
    otherVendor.insert(otherVendor.begin(), Prop{0x41424344UL, FourCCName, Pascal("Not this"), 0});
    std::vector<Prop> noEntry = Invert();
    noEntry.pop_back();
    std::vector<Prop> notFilter = Invert();
    notFilter[0].data = Code(0x3842454DUL);
    std::vector<Prop> hugeLength = Invert();
    hugeLength[1].length = 0x7FFFFFF0UL;
    std::vector<Prop> nameTooLong = Invert();
    nameTooLong[1].data[0] = 40;
    struct Case {
        const char* what;
        Bytes bytes;
        bool listed;
        const char* name;
    } cases[] = {
        {"invert", PiPL(Invert(), 4), true, "Invert"},
        {"other vendor ignored", PiPL(otherVendor, 5), true, "Invert"},
        {"no entry", PiPL(noEntry, 3), false, ""},
        {"not a filter", PiPL(notFilter, 4), false, ""},
        {"count 1000, length 0x7FFFFFF0", PiPL(hugeLength, 1000), false, ""},
        {"count past the properties", PiPL(noEntry, 1000), false, ""},
        {"name longer than its property", PiPL(nameTooLong, 4), false, ""},
    };
    for (const Case& c : cases) {
        PlugInDescription d;
        EXPECT_EQ(c.listed, ParsePiPL(c.bytes.data(), c.bytes.size(), d)) << c.what;
        if (c.listed) {
            EXPECT_EQ(c.name, d.name) << c.what;
            EXPECT_EQ("Tests", d.category);
            EXPECT_EQ("PluginMain", d.entry);
        }
    }
}

// Every cut of a good resource is refused or read within its bytes (the
// sanitizer build checks the reads).
TEST(PiPL, CutShortIsRefused)
{
    const Bytes whole = PiPL(Invert(), 4);
    for (size_t n = 0; n + 4 < whole.size(); n++) {
        Bytes cut(whole.begin(), whole.begin() + n);
        PlugInDescription d;
        EXPECT_FALSE(ParsePiPL(cut.data(), cut.size(), d)) << n;
    }
}

TEST(PIMI, CategoryAndName)
{
    Bytes b{3, 0};
    for (char c : std::string("PimiCat")) b.push_back(c);
    b.push_back(0);
    b.insert(b.end(), {4, 0});
    b.insert(b.end(), 16, 0xEE);
    b.insert(b.end(), {3, 0});
    for (char c : std::string("PimiName")) b.push_back(c);
    b.push_back(0);
    PlugInDescription d;
    ParsePIMI(b.data(), b.size(), 1, d);
    EXPECT_EQ("ENTRYPOINT1", d.entry);
    EXPECT_EQ("PimiCat", d.category);
    EXPECT_EQ("PimiName", d.name);
    for (size_t n = 0; n < b.size(); n++) {
        PlugInDescription cut;
        ParsePIMI(b.data(), n, 7, cut);
        EXPECT_EQ("ENTRYPOINT7", cut.entry);
        EXPECT_EQ("", cut.name) << n;
    }
}
