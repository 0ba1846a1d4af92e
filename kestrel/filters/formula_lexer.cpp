// Splits a formula into numbers, names, operators and punctuation. Numbers
// wrap at 32 bits; a name runs up to white space, an operator character or
// punctuation.
#include "formula_lexer.h"

#include <cstring>

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOperatorChar(char c) { return c && std::strchr("|&^=!<>+-*/%", c); }
bool IsPunct(char c) { return c && std::strchr("()?:,~", c); }

int HexDigit(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

FormulaToken Make(FormulaTokenKind kind, int start, int end)
{
    FormulaToken t{};
    t.kind = kind;
    t.start = start;
    t.length = end - start;
    return t;
}

}  // namespace

FormulaToken FormulaLexer::Next()
{
    while (pos_ < length_ && IsSpace(text_[pos_]))
        ++pos_;
    int start = pos_;
    if (pos_ >= length_)
        return Make(TOK_END, start, start);
    char c = text_[pos_];
    if (IsDigit(c))
        return Number(start);
    if (IsOperatorChar(c))
        return Operator(start);
    if (IsPunct(c)) {
        ++pos_;
        FormulaToken t = Make(TOK_PUNCT, start, pos_);
        t.punct = c;
        return t;
    }
    return Name(start);
}

FormulaToken FormulaLexer::Number(int start)
{
    unsigned value = 0;
    // "0x" counts as hexadecimal only when a hexadecimal digit follows.
    if (text_[pos_] == '0' && pos_ + 2 < length_ && (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X') &&
        HexDigit(text_[pos_ + 2]) >= 0) {
        pos_ += 2;
        while (pos_ < length_ && HexDigit(text_[pos_]) >= 0)
            value = value * 16 + static_cast<unsigned>(HexDigit(text_[pos_++]));
    } else {
        while (pos_ < length_ && IsDigit(text_[pos_]))
            value = value * 10 + static_cast<unsigned>(text_[pos_++] - '0');
    }
    FormulaToken t = Make(TOK_NUMBER, start, pos_);
    t.value = value;
    return t;
}

FormulaToken FormulaLexer::Operator(int start)
{
    struct Spelling {
        const char* text;
        FormulaOp op;
    };
    // Two-character spellings first, so that the longest one wins.
    static const Spelling kSpellings[] = {
        {"||", OP_LOR}, {"&&", OP_LAND}, {"==", OP_EQ}, {"!=", OP_NE}, {"<=", OP_LE},
        {">=", OP_GE}, {"<<", OP_SHL}, {">>", OP_SHR}, {"|", OP_OR}, {"^", OP_XOR},
        {"&", OP_AND}, {"<", OP_LT}, {">", OP_GT}, {"+", OP_ADD}, {"-", OP_SUB},
        {"*", OP_MUL}, {"/", OP_DIV}, {"%", OP_MOD}, {"!", OP_NOT},
    };
    for (const Spelling& s : kSpellings) {
        int n = static_cast<int>(std::strlen(s.text));
        if (pos_ + n <= length_ && std::strncmp(text_ + pos_, s.text, n) == 0) {
            pos_ += n;
            FormulaToken t = Make(TOK_OPERATOR, start, pos_);
            t.op = s.op;
            return t;
        }
    }
    ++pos_;  // a lone '='
    return Make(TOK_BAD, start, pos_);
}

FormulaToken FormulaLexer::Name(int start)
{
    while (pos_ < length_ && !IsSpace(text_[pos_]) && !IsOperatorChar(text_[pos_]) &&
           !IsPunct(text_[pos_]))
        ++pos_;
    return Make(TOK_NAME, start, pos_);
}
