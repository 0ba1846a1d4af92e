#include "language_file_decode.h"

#include <cstring>

namespace {

const int MaxLevels = 4;

struct DecodeTable {
    signed char length[MaxLevels][256];
    unsigned char symbol[MaxLevels][256];
    int levels;
};

// Reads the code description bytes in order, refusing to run past the end.
class ByteCursor {
public:
    ByteCursor(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    unsigned char Next()
    {
        if (pos_ >= size_) throw ELanguageFile("Language file ends inside its code description");
        return data_[pos_++];
    }
    std::size_t Position() const { return pos_; }

private:
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

int LeadingOnes(int byte)
{
    int k = 0;
    for (int bit = 0x80; bit && (byte & bit); bit >>= 1) k++;
    return k;
}

// filled is counted as a real 0..256 value: a new level may start at 0 and
// list no symbol for its first length, which a count modulo 256 would take
// for a full table.
void BuildTable(ByteCursor& in, int firstLength, DecodeTable& table)
{
    std::memset(&table, 0, sizeof table);
    int level = 0, n = firstLength, filled = 0;
    table.levels = 1;
    for (;;) {
        int width = 256 >> n;
        int count = in.Next();
        for (int i = 0; i < count; i++) {
            unsigned char symbol = in.Next();
            if (filled + width > 256) throw ELanguageFile("Language file codes overfill the code space");
            for (int e = filled; e < filled + width; e++) {
                table.length[level][e] = static_cast<signed char>(n);
                table.symbol[level][e] = symbol;
            }
            filled += width;
        }
        if (filled == 256) return;
        if (width >= 2) {
            n++;
            continue;
        }
        // Codes longer than this level: the rest of it points to the next.
        int k = LeadingOnes(filled);
        if (k == 0) throw ELanguageFile("Language file codes cannot fill the code space");
        if (level + 1 >= MaxLevels) throw ELanguageFile("Language file codes are too long");
        for (int e = filled; e < 256; e++) table.length[level][e] = static_cast<signed char>(-k);
        level++;
        table.levels = level + 1;
        filled = (filled << k) & 0xFF;
        n = 9 - k;
    }
}

// An 8-bit window over the stream; past the end it shifts in zeros, and
// the caller checks afterwards that no decoded code used them.
class BitReader {
public:
    BitReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
    void Shift(int bits)
    {
        for (int i = 0; i < bits; i++) window_ = ((window_ << 1) | NextBit()) & 0xFF;
    }
    int Window() const { return window_; }

private:
    int NextBit()
    {
        if (pos_ >= size_) return 0;
        int bit = (data_[pos_] >> (7 - bitInByte_)) & 1;
        if (++bitInByte_ == 8) {
            bitInByte_ = 0;
            pos_++;
        }
        return bit;
    }
    const unsigned char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    int bitInByte_ = 0;
    int window_ = 0;
};

void DecodeStream(const DecodeTable& table, const unsigned char* data, std::size_t size, std::string& out)
{
    BitReader reader(data, size);
    unsigned long long bitsUsed = 0;
    int lastLength = 8;
    for (std::size_t i = 0; i < out.size(); i++) {
        reader.Shift(lastLength);
        int level = 0;
        int length = table.length[0][reader.Window()];
        while (length < 0) {
            reader.Shift(-length);
            bitsUsed += static_cast<unsigned>(-length);
            if (++level >= table.levels) throw ELanguageFile("Language file holds an invalid code");
            length = table.length[level][reader.Window()];
        }
        out[i] = static_cast<char>(table.symbol[level][reader.Window()]);
        bitsUsed += static_cast<unsigned>(length);
        lastLength = length;
    }
    if (bitsUsed > static_cast<unsigned long long>(size) * 8)
        throw ELanguageFile("Language file is truncated");
}

}  // namespace

std::string ExpandLanguageFile(const unsigned char* data, std::size_t size)
{
    if (size < 5) throw ELanguageFile("Language file is too short");
    unsigned long n = static_cast<unsigned long>(data[0]) | static_cast<unsigned long>(data[1]) << 8 |
                      static_cast<unsigned long>(data[2]) << 16 | static_cast<unsigned long>(data[3]) << 24;
    if (n > MaxLanguageTextSize) throw ELanguageFile("Language file is too large");
    int firstLength = data[4];
    if (firstLength > 8) throw ELanguageFile("Language file has an invalid code length");
    ByteCursor description(data + 5, size - 5);
    if (firstLength == 0) return std::string(n, static_cast<char>(description.Next()));

    DecodeTable table;
    BuildTable(description, firstLength, table);
    std::string text(n, '\0');
    std::size_t start = 5 + description.Position();
    DecodeStream(table, data + start, size - start, text);
    return text;
}
