#include "pageprinter_rows.h"

namespace {

bool IsBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

// The longest prefix length whose width fits (binary search: widths grow
// with length).
int FittingLength(const AnsiString& text, int width, const TextMeasure& measure)
{
    int low = 0, high = text.Length();
    while (low < high) {
        int mid = (low + high + 1) / 2;
        if (measure(text.SubString(1, mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

int LastBlank(const AnsiString& text, int length)
{
    for (int i = length; i >= 1; i--)
        if (text[i] == ' ') return i;
    return 0;
}

int FirstLineFeed(const AnsiString& text, int length)
{
    for (int i = 1; i <= length; i++)
        if (text[i] == '\n') return i;
    return 0;
}

AnsiString Rest(const AnsiString& text, int from)
{
    return from > text.Length() ? AnsiString() : text.SubString(from, text.Length() - from + 1);
}

// One blank between the two, unless one of them already has it there.
AnsiString JoinWithBlank(const AnsiString& first, const AnsiString& second)
{
    if (first.IsEmpty() || second.IsEmpty()) return first + second;
    if (first[first.Length()] == ' ' || second[1] == ' ') return first + second;
    return first + " " + second;
}

}  // namespace

AnsiString TakeLine(AnsiString& text, int width, bool wrap, const TextMeasure& measure)
{
    if (text.IsEmpty()) return text;
    int length = FittingLength(text, width, measure);
    if (!wrap) {
        AnsiString line = text.SubString(1, length);
        text = "";
        return line;
    }
    // An empty prefix would leave the text as it was, and the row would
    // ask for new lines for ever.
    if (length == 0) length = 1;
    if (length < text.Length() && !IsBlankOrControl(text[length + 1])) {
        int blank = LastBlank(text, length);
        if (blank > 0) length = blank;
    }
    AnsiString line = text.SubString(1, length);
    AnsiString rest = Rest(text, length + 1);
    int feed = FirstLineFeed(line, length);
    if (feed > 0) {
        AnsiString after = Rest(line, feed + 1);
        line = line.SubString(1, feed - 1);
        rest = JoinWithBlank(after, rest);
    }
    text = rest;
    return line;
}

namespace {

int TextOffset(const RowColumn& column, int textWidth, int padding)
{
    int room = column.width - textWidth;
    int offset = column.align == caRight ? room : column.align == caCenter ? room / 2 : 0;
    if (room > padding) {
        if (column.align == caRight) offset -= padding;
        if (column.align == caLeft) offset += padding;
    }
    return offset;
}

bool AnyLeft(const std::vector<AnsiString>& texts)
{
    for (const AnsiString& t : texts)
        if (!t.IsEmpty()) return true;
    return false;
}

}  // namespace

std::vector<std::vector<RowCell>> LayOutRow(const std::vector<RowColumn>& columns, std::vector<AnsiString> texts,
                                            bool wrap, int padding, const TextMeasure& measure)
{
    texts.resize(columns.size());
    std::vector<std::vector<RowCell>> lines;
    do {
        std::vector<RowCell> line;
        int left = 0;
        for (size_t i = 0; i < columns.size(); i++) {
            RowCell cell;
            cell.left = left;
            cell.width = columns[i].width;
            cell.grid = columns[i].grid;
            cell.text = TakeLine(texts[i], columns[i].width, wrap, measure);
            cell.textWidth = cell.text.IsEmpty() ? 0 : measure(cell.text);
            cell.offset = TextOffset(columns[i], cell.textWidth, padding);
            line.push_back(cell);
            left += columns[i].width;
        }
        lines.push_back(line);
    } while (AnyLeft(texts));
    return lines;
}
