// The byte-order helpers under every format reader and writer: bytes with
// the top bit set, where a sign-extending read goes wrong, and writes that
// must keep to their field.
#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include "byte_order.h"

namespace {

const unsigned char Stored[4] = {0x81, 0x92, 0xA3, 0xF4};

TEST(ByteOrder, ReadsEachWidthInEachOrder)
{
    EXPECT_EQ(0x9281u, GetLE16(Stored));
    EXPECT_EQ(0xF4A39281u, GetLE32(Stored));
    EXPECT_EQ(0x8192u, GetBE16(Stored));
    EXPECT_EQ(0x8192A3F4u, GetBE32(Stored));
}

TEST(ByteOrder, WritesTheLowBitsInTheOrderReadBack)
{
    struct Case {
        void (*put)(unsigned char*, uint32_t);
        uint32_t (*get)(const unsigned char*);
        size_t bytes;
        unsigned char first;  // the byte the order puts first
    };
    const Case cases[] = {
        {PutLE16, GetLE16, 2, 0xF4},
        {PutLE32, GetLE32, 4, 0xF4},
        {PutBE16, GetBE16, 2, 0xA3},
        {PutBE32, GetBE32, 4, 0x81},
    };
    const uint32_t value = 0x8192A3F4u;
    for (const Case& c : cases) {
        unsigned char out[5];
        memset(out, 0x55, sizeof out);
        c.put(out, value);
        const uint32_t low = c.bytes == 2 ? value & 0xFFFF : value;
        EXPECT_EQ(low, c.get(out)) << c.bytes;
        EXPECT_EQ(c.first, out[0]) << c.bytes;
        EXPECT_EQ(0x55, out[c.bytes]) << c.bytes;  // nothing written past the field
    }
}

}  // namespace
