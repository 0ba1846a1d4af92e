#include "exceptions.h"

#include <gtest/gtest.h>

#include <type_traits>

// Exceptions are copied while they unwind; a copy that could throw ends the
// program.
static_assert(std::is_nothrow_copy_constructible<Exception>::value, "copy may throw");
static_assert(std::is_nothrow_copy_constructible<EInvalidImage>::value, "copy may throw");
static_assert(std::is_nothrow_copy_constructible<EFOpenError>::value, "copy may throw");

TEST(Exceptions, MessagesForTheUser)
{
    EXPECT_STREQ("Out of memory", EOutOfMemory().what());
    EXPECT_STREQ("Stream read error", EReadError().what());
    EXPECT_STREQ("Stream write error", EWriteError().what());
    EXPECT_STREQ("Range check error", ERangeError().what());
    EXPECT_STREQ("Cannot open file C:\\pics\\a.bmp", EFOpenError("C:\\pics\\a.bmp").what());
    EXPECT_STREQ("Cannot create file out.TGA", EFCreateError("out.TGA").what());
    EXPECT_EQ("Stream read error", EReadError().Message);
}

TEST(Exceptions, InvalidImageKeepsItsDetailApart)
{
    EInvalidImage withDetail("TGA: colour map entry size 20");
    EXPECT_STREQ("Graphics file has an invalid/unknown format or has been damaged.", withDetail.what());
    EXPECT_EQ("TGA: colour map entry size 20", withDetail.Detail);
    EXPECT_TRUE(EInvalidImage().Detail.IsEmpty());
    EXPECT_EQ(withDetail.Message, EInvalidImage().Message);
}

TEST(Exceptions, CaughtThroughTheirBases)
{
    EXPECT_THROW(throw EFOpenError("x"), EFileStreamError);
    EXPECT_THROW(throw EFCreateError("x"), EStreamError);
    EXPECT_THROW(throw EReadError(), EStreamError);
    EXPECT_THROW(throw EOutOfMemory(), Exception);
    EXPECT_THROW(throw EConvertError("bad"), std::exception);
}

TEST(Exceptions, CopySharesTheMessage)
{
    EFOpenError original("a.pcx");
    EFOpenError copy(original);
    EXPECT_EQ(original.what(), copy.what());
}
