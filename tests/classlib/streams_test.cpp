#include "streams.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>

#include <vector>

#include "exceptions.h"

namespace {

std::vector<char> Pattern(int n)
{
    std::vector<char> bytes(n);
    for (int i = 0; i < n; i++) bytes[i] = static_cast<char>(i * 7 + 1);
    return bytes;
}

std::vector<char> Contents(TMemoryStream& s)
{
    const char* p = static_cast<const char*>(s.GetMemory());
    return std::vector<char>(p, p + s.GetSize());
}

// Accepts only `room` more bytes, as a full disk would.
class FullStream : public TMemoryStream {
public:
    explicit FullStream(int room) : room_(room) {}
    int Write(const void* buffer, int count) override
    {
        int n = count < room_ ? count : room_;
        room_ -= n;
        return TMemoryStream::Write(buffer, n);
    }

private:
    int room_;
};

// Only Read, Write and Seek: the base class's size must come from seeking.
class SeekOnlyStream : public TStream {
public:
    explicit SeekOnlyStream(TStream* inner) : inner_(inner) {}
    int Read(void* buffer, int count) override { return inner_->Read(buffer, count); }
    int Write(const void* buffer, int count) override { return inner_->Write(buffer, count); }
    int Seek(int offset, unsigned short origin) override { return inner_->Seek(offset, origin); }

private:
    TStream* inner_;
};

}  // namespace

TEST(MemoryStream, WriteThenReadBack)
{
    TMemoryStream s;
    std::vector<char> data = Pattern(100);
    s.WriteBuffer(data.data(), 100);
    EXPECT_EQ(100, s.GetSize());
    EXPECT_EQ(100, s.GetPosition());
    s.SetPosition(10);
    char part[20];
    s.ReadBuffer(part, 20);
    EXPECT_EQ(0, memcmp(part, data.data() + 10, 20));
    EXPECT_EQ(30, s.GetPosition());
    EXPECT_EQ(70, s.Read(part, 20) + s.Read(part, 20) + s.Read(part, 20) + s.Read(part, 20));
    EXPECT_EQ(0, s.Read(part, 20));
}

TEST(MemoryStream, WriteBeyondSizeZeroFillsTheGap)
{
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    EXPECT_EQ(10, s.Seek(10, soFromBeginning));
    EXPECT_EQ(2, s.GetSize());
    char none;
    EXPECT_EQ(0, s.Read(&none, 1));
    s.WriteBuffer("z", 1);
    std::vector<char> expected = {'a', 'b', 0, 0, 0, 0, 0, 0, 0, 0, 'z'};
    EXPECT_EQ(expected, Contents(s));
}

TEST(MemoryStream, SeekOutsideTheRangeIsRefused)
{
    TMemoryStream s;
    s.WriteBuffer("abcd", 4);
    s.SetPosition(2);
    EXPECT_EQ(-1, s.Seek(-3, soFromCurrent));
    EXPECT_EQ(-1, s.Seek(INT_MAX, soFromCurrent));
    EXPECT_EQ(-1, s.Seek(INT_MAX - 3, soFromEnd));
    EXPECT_EQ(-1, s.Seek(0, 7));
    EXPECT_EQ(2, s.GetPosition());
    EXPECT_EQ(0, s.Seek(-4, soFromEnd));
    EXPECT_EQ(INT_MAX, s.Seek(INT_MAX, soFromBeginning));
}

TEST(MemoryStream, NegativeAndWrappingCountsMoveNothing)
{
    TMemoryStream s;
    s.WriteBuffer("abcd", 4);
    s.SetPosition(0);
    char buffer[4];
    EXPECT_EQ(0, s.Read(buffer, -1));
    EXPECT_EQ(0, s.Write(buffer, -1));
    EXPECT_THROW(s.ReadBuffer(buffer, -1), EReadError);
    EXPECT_THROW(s.WriteBuffer(buffer, INT_MIN), EWriteError);
    // position + count would wrap past INT_MAX: refused before any allocation.
    s.Seek(INT_MAX - 2, soFromBeginning);
    EXPECT_THROW(s.Write(buffer, 4), EOutOfMemory);
    EXPECT_EQ(4, s.GetSize());
    s.SetPosition(2);
    EXPECT_EQ(2, s.Read(buffer, INT_MAX));
}

TEST(MemoryStream, ReadBufferPastTheEndRaises)
{
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    s.SetPosition(1);
    char buffer[3];
    EXPECT_THROW(s.ReadBuffer(buffer, 3), EReadError);
    s.SetPosition(3);
    EXPECT_THROW(s.ReadBuffer(buffer, 1), EReadError);
    s.ReadBuffer(buffer, 0);
}

TEST(MemoryStream, SetSizeZeroesGrowthAndPullsPositionBack)
{
    TMemoryStream s;
    s.WriteBuffer("abcdef", 6);
    s.SetSize(3);
    EXPECT_EQ(3, s.GetPosition());
    s.SetSize(5);
    EXPECT_EQ((std::vector<char>{'a', 'b', 'c', 0, 0}), Contents(s));
    EXPECT_THROW(s.SetSize(-1), EStreamError);
    EXPECT_EQ(5, s.GetSize());
    s.Clear();
    EXPECT_EQ(0, s.GetSize());
    EXPECT_EQ(0, s.GetPosition());
    EXPECT_EQ(nullptr, s.GetMemory());
}

TEST(MemoryStream, SmallWritesGrowInWholeSteps)
{
    TMemoryStream s;
    int reallocations = 0;
    void* last = nullptr;
    for (int i = 0; i < 100000; i++) {
        s.WriteBuffer(&i, 1);
        if (s.GetMemory() != last) reallocations++;
        last = s.GetMemory();
    }
    EXPECT_EQ(0, s.GetCapacity() % 0x2000);
    EXPECT_GE(s.GetCapacity(), s.GetSize());
    EXPECT_LT(reallocations, 20);
}

TEST(StreamCopy, CountZeroCopiesAllOfTheSourceFromItsStart)
{
    TMemoryStream source, target;
    std::vector<char> data = Pattern(40000);  // more than one copy buffer
    source.WriteBuffer(data.data(), 40000);
    source.SetPosition(123);
    EXPECT_EQ(40000, target.CopyFrom(&source, 0));
    EXPECT_EQ(data, Contents(target));
}

TEST(StreamCopy, CountIsTakenFromTheSourcePosition)
{
    TMemoryStream source, target;
    source.WriteBuffer("abcdef", 6);
    source.SetPosition(2);
    EXPECT_EQ(3, target.CopyFrom(&source, 3));
    EXPECT_EQ((std::vector<char>{'c', 'd', 'e'}), Contents(target));
    EXPECT_THROW(target.CopyFrom(&source, 5), EReadError);
    EXPECT_THROW(target.CopyFrom(&source, -1), EReadError);
}

TEST(StreamCopy, ShortWriteRaisesWriteError)
{
    TMemoryStream source;
    source.WriteBuffer("abcdef", 6);
    FullStream full(4);
    EXPECT_THROW(full.CopyFrom(&source, 0), EWriteError);
    FullStream full2(2);
    EXPECT_THROW(full2.WriteBuffer("abc", 3), EWriteError);
}

TEST(StreamCopy, LoadAndSaveWholeStreams)
{
    TMemoryStream source, loaded, saved;
    std::vector<char> data = Pattern(300);
    source.WriteBuffer(data.data(), 300);
    loaded.WriteBuffer("old contents", 12);
    loaded.LoadFromStream(&source);
    EXPECT_EQ(data, Contents(loaded));
    EXPECT_EQ(0, loaded.GetPosition());
    loaded.SaveToStream(&saved);
    EXPECT_EQ(data, Contents(saved));
}

TEST(StreamBase, SizeComesFromSeekingAndKeepsThePosition)
{
    TMemoryStream inner;
    inner.WriteBuffer("abcdefgh", 8);
    SeekOnlyStream s(&inner);
    s.SetPosition(3);
    EXPECT_EQ(8, s.GetSize());
    EXPECT_EQ(3, s.GetPosition());
    s.SetSize(2);  // the base class cannot change a size
    EXPECT_EQ(8, inner.GetSize());
}
