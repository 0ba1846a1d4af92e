// Tokens of the formula language.
#ifndef KESTREL_FORMULA_LEXER_H
#define KESTREL_FORMULA_LEXER_H

#include "formula_x86.h"

enum FormulaTokenKind {
    TOK_END, TOK_NUMBER, TOK_NAME, TOK_OPERATOR, TOK_PUNCT, TOK_BAD
};

struct FormulaToken {
    FormulaTokenKind kind;
    int start, length;
    unsigned value;     // a number's value
    FormulaOp op;       // an operator (binary reading; '-' and '!' also prefix)
    char punct;         // ( ) ? : , ~ and the prefix '+' and '!'
};

class FormulaLexer {
public:
    FormulaLexer(const char* text, int length) : text_(text), length_(length) {}
    FormulaToken Next();
    int Position() const { return pos_; }

private:
    const char* text_;
    int length_;
    int pos_ = 0;

    FormulaToken Number(int start);
    FormulaToken Operator(int start);
    FormulaToken Name(int start);
};

#endif
