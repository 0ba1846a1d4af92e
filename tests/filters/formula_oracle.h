// An independent reading of the formula language for the tests: its own
// tokenizer, a recursive-descent parser into a tree, and a tree-walking
// evaluator over a whole picture. It shares nothing with the compiler but
// the constant tables, so a disagreement points at one of the two.
#ifndef KESTREL_TESTS_FORMULA_ORACLE_H
#define KESTREL_TESTS_FORMULA_ORACLE_H

#include "formula_context.h"

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace oracle {

enum Kind { CONST, VAR, UNARY, BINARY, COND, COMMA, CALL };

struct Node {
    Kind kind;
    std::string name;  // variable, function or operator spelling
    int32_t value;
    std::vector<int> kids;
};

struct Tree {
    std::vector<Node> nodes;
    int root = -1;  // -1: syntax error
};

// ---- Tokens: a vector of spellings; numbers are kept as their text.
inline bool Space(char c) { return std::strchr(" \t\r\n\v\f", c) && c; }
inline bool OpChar(char c) { return c && std::strchr("|&^=!<>+-*/%", c); }
inline bool Single(char c) { return c && std::strchr("()?:,~", c); }

struct Tok {
    std::string s;  // "" marks the end
    bool number = false, name = false, bad = false;
    uint32_t value = 0;
};

inline std::vector<Tok> Tokenize(const std::string& text)
{
    std::vector<Tok> out;
    size_t k = 0, n = text.size();
    while (true) {
        while (k < n && Space(text[k]))
            k++;
        Tok t;
        if (k >= n) {
            out.push_back(t);
            return out;
        }
        char c = text[k];
        if (isdigit(static_cast<unsigned char>(c))) {
            t.number = true;
            if (c == '0' && k + 2 < n && (text[k + 1] | 0x20) == 'x' && isxdigit(static_cast<unsigned char>(text[k + 2]))) {
                k += 2;
                while (k < n && isxdigit(static_cast<unsigned char>(text[k]))) {
                    char h = static_cast<char>(tolower(text[k++]));
                    t.value = t.value * 16 + static_cast<uint32_t>(h <= '9' ? h - '0' : h - 'a' + 10);
                }
            } else {
                while (k < n && isdigit(static_cast<unsigned char>(text[k])))
                    t.value = t.value * 10 + static_cast<uint32_t>(text[k++] - '0');
            }
            t.s = "#";
        } else if (Single(c)) {
            t.s = std::string(1, c);
            k++;
        } else if (OpChar(c)) {
            std::string two = text.substr(k, 2);
            static const char* const kTwo[] = {"||", "&&", "==", "!=", "<=", ">=", "<<", ">>"};
            bool found = false;
            for (const char* p : kTwo)
                if (two == p) {
                    t.s = two;
                    found = true;
                }
            if (!found) {
                t.s = std::string(1, c);
                t.bad = c == '=';
            }
            k += t.s.size();
        } else {
            size_t start = k;
            while (k < n && !Space(text[k]) && !OpChar(text[k]) && !Single(text[k]))
                k++;
            t.s = text.substr(start, std::min<size_t>(k - start, 4));
            t.name = true;
        }
        out.push_back(t);
    }
}

// ---- Parser.
inline int Arity(const std::string& f)
{
    static const struct { const char* n; int a; } kTable[] = {
        {"abs", 1}, {"add", 3}, {"sub", 3}, {"dif", 2}, {"min", 2}, {"max", 2}, {"mix", 4},
        {"scl", 5}, {"val", 3}, {"ctl", 1}, {"map", 2}, {"put", 2}, {"get", 1}, {"rnd", 2},
        {"sqr", 1}, {"src", 3}, {"rad", 3}, {"cnv", 10}, {"c2d", 2}, {"c2m", 2}, {"sin", 1},
        {"cos", 1}, {"tan", 1}, {"r2x", 2}, {"r2y", 2}};
    for (auto& e : kTable)
        if (f == e.n)
            return e.a;
    return -1;
}

inline bool IsVariable(const std::string& v)
{
    static const char* const kNames[] = {"r", "g", "b", "c", "a", "x", "y", "X", "Y", "i", "u",
                                         "v", "z", "Z", "d", "dmin", "D", "m", "mmin", "M"};
    for (const char* p : kNames)
        if (v == p)
            return true;
    return false;
}

inline int LevelOf(const std::string& op)
{
    static const char* const kLevels[] = {"||", "&&", "|", "^", "&", "== !=", "< <= > >=", "<< >>", "+ -", "* / %"};
    for (int l = 0; l < 10; ++l) {
        std::string words = std::string(" ") + kLevels[l] + " ";
        if (words.find(" " + op + " ") != std::string::npos)
            return l + 1;
    }
    return 0;
}

class Parser {
public:
    explicit Parser(const std::string& text) : toks_(Tokenize(text)) {}

    Tree Parse()
    {
        int root = List();
        if (ok_ && !toks_[at_].s.empty())
            ok_ = false;
        tree_.root = ok_ ? root : -1;
        return tree_;
    }

private:
    std::vector<Tok> toks_;
    size_t at_ = 0;
    bool ok_ = true;
    int pending_ = 0, conditionals_ = 0;
    Tree tree_;

    const Tok& Cur() const { return toks_[at_]; }
    bool At(const char* s) const { return !Cur().number && !Cur().name && Cur().s == s; }
    void Skip()
    {
        if (!Cur().s.empty())
            at_++;
    }
    int Add(Kind kind, const std::string& name, int32_t value, std::vector<int> kids)
    {
        tree_.nodes.push_back(Node{kind, name, value, kids});
        return static_cast<int>(tree_.nodes.size()) - 1;
    }
    int Error()
    {
        ok_ = false;
        return -1;
    }
    bool Pend()
    {
        if (pending_ == 128)
            return false;
        pending_++;
        return true;
    }

    int List()
    {
        int left = Cond();
        while (ok_ && At(",")) {
            Skip();
            int right = Cond();
            left = Add(COMMA, ",", 0, {left, right});
        }
        return left;
    }

    int Cond()
    {
        int c = Bin(1);
        if (!ok_ || !At("?"))
            return c;
        if (conditionals_ == 128)
            return Error();
        conditionals_++;
        Skip();
        int t = List();
        if (!ok_ || !At(":"))
            return Error();
        Skip();
        int e = Cond();
        conditionals_--;
        return Add(COND, "?", 0, {c, t, e});
    }

    int Bin(int level)
    {
        if (level == 11)
            return Unary();
        int left = Bin(level + 1);
        while (ok_ && !Cur().number && !Cur().name && !Cur().bad && LevelOf(Cur().s) == level) {
            std::string op = Cur().s;
            if (!Pend())
                return Error();
            Skip();
            int right = Bin(level + 1);
            pending_--;
            left = Add(BINARY, op, 0, {left, right});
        }
        return left;
    }

    int Unary()
    {
        if (!ok_)
            return -1;
        if (At("+")) {
            Skip();
            return Unary();
        }
        if (At("-") || At("!") || At("~")) {
            std::string op = Cur().s;
            if (!Pend())
                return Error();
            Skip();
            int operand = Unary();
            pending_--;
            return Add(UNARY, op, 0, {operand});
        }
        return Primary();
    }

    int Primary()
    {
        Tok t = Cur();
        if (t.number) {
            Skip();
            return Add(CONST, "#", static_cast<int32_t>(t.value), {});
        }
        if (At("(")) {
            Skip();
            int inner = List();
            if (!ok_ || !At(")"))
                return Error();
            Skip();
            return inner;
        }
        if (!t.name)
            return Error();
        Skip();
        if (IsVariable(t.s))
            return Add(VAR, t.s, 0, {});
        int arity = Arity(t.s);
        if (arity < 0 || !At("("))
            return Error();
        Skip();
        std::vector<int> args;
        for (int k = 0; k < arity; ++k) {
            if (k > 0) {
                if (!At(","))
                    return Error();
                Skip();
            }
            args.push_back(Cond());
            if (!ok_)
                return -1;
        }
        if (!At(")"))
            return Error();
        Skip();
        return Add(CALL, t.s, 0, args);
    }
};

// ---- Evaluation.
struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;  // row-major, 0xFFRRGGBB with flags on top
};

inline int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }
inline int32_t Add32(int32_t a, int32_t b) { return Wrap(static_cast<int64_t>(a) + b); }
inline int32_t Sub32(int32_t a, int32_t b) { return Wrap(static_cast<int64_t>(a) - b); }

// x87 rounding: to nearest, ties to even; a value out of range gives INT_MIN.
inline int32_t RoundX87(long double v)
{
    long double r = nearbyintl(v);
    if (!(r >= -2147483648.0L && r <= 2147483647.0L))
        return INT32_MIN;
    return static_cast<int32_t>(r);
}

inline int32_t Quotient64(int64_t n, int32_t d) { return Wrap(n / d); }

class Evaluator {
public:
    Evaluator(const FormulaContext& tables, const Picture& pic, const int ctl[8])
        : t_(tables), pic_(pic)
    {
        std::memcpy(ctl_, ctl, sizeof ctl_);
        std::memset(cell_, 0, sizeof cell_);
    }

    // Runs the three trees (null root: syntax error, value 0) over the picture
    // into out, which keeps unselected pixels; written pixels keep the
    // source's flag byte.
    void Run(const Tree trees[3], bool hasSelection, std::vector<uint32_t>& out)
    {
        fesetround(FE_TONEAREST);
        for (y_ = 0; y_ < pic_.height; ++y_)
            for (x_ = 0; x_ < pic_.width; ++x_) {
                uint32_t p = pic_.pixels[y_ * pic_.width + x_];
                if (hasSelection && !(p >> 24))
                    continue;
                LoadPixel(p);
                uint32_t result = 0;
                for (channel_ = 0; channel_ < 3; ++channel_) {
                    const Tree& tree = trees[channel_];
                    int32_t v = tree.root < 0 ? 0 : Eval(tree, tree.root);
                    v = v < 0 ? 0 : v > 255 ? 255 : v;
                    result = result << 8 | static_cast<uint32_t>(v);
                }
                out[y_ * pic_.width + x_] = (p & 0xFF000000) | result;
            }
    }

private:
    const FormulaContext& t_;
    const Picture& pic_;
    int ctl_[8];
    int32_t cell_[1024];
    uint32_t seed_ = 0;
    int x_ = 0, y_ = 0, channel_ = 0;
    int32_t rgb_[3] = {0, 0, 0}, i_ = 0, u_ = 0, v_ = 0, d_ = 0, m_ = 0;

    static int32_t FloorDiv256(int32_t n) { return n >= 0 ? n / 256 : -((-n + 255) / 256); }

    long double Angle(int32_t y, int32_t x) const
    {
        return atan2l(static_cast<long double>(y), static_cast<long double>(x)) *
               static_cast<long double>(t_.angleScale);
    }
    static int32_t Length(int32_t x, int32_t y)
    {
        long double lx = x, ly = y;
        return RoundX87(sqrtl(ly * ly + lx * lx));
    }

    void LoadPixel(uint32_t p)
    {
        rgb_[0] = p >> 16 & 255;
        rgb_[1] = p >> 8 & 255;
        rgb_[2] = p & 255;
        i_ = (76 * rgb_[0] + 150 * rgb_[1] + 29 * rgb_[2]) >> 8;
        u_ = FloorDiv256(56 * rgb_[2] - 37 * rgb_[1] - 19 * rgb_[0]);
        v_ = FloorDiv256(78 * rgb_[0] - 65 * rgb_[1] - 13 * rgb_[2]);
        int32_t dx = 2 * x_ - pic_.width, dy = 2 * y_ - pic_.height;
        d_ = RoundX87(Angle(dy, dx));
        m_ = Length(dx, dy) >> 1;
    }

    int32_t Sine(int32_t a) const { return t_.sine[a & 1023]; }
    int32_t Cosine(int32_t a) const { return t_.sine[(a & 1023) + 256]; }

    int32_t Source(int32_t x, int32_t y, int32_t z) const
    {
        x = x < 0 ? 0 : x >= pic_.width ? pic_.width - 1 : x;
        y = y < 0 ? 0 : y >= pic_.height ? pic_.height - 1 : y;
        uint32_t p = pic_.pixels[y * pic_.width + x];
        static const int kShift[4] = {16, 8, 0, 24};
        return static_cast<int32_t>(p >> kShift[z & 3] & 255);
    }

    int32_t Variable(const std::string& n) const
    {
        const char* names = "rgb";
        if (n == "c")
            return rgb_[channel_];
        if (n.size() == 1 && std::strchr(names, n[0]))
            return rgb_[std::strchr(names, n[0]) - names];
        if (n == "x") return x_;
        if (n == "y") return y_;
        if (n == "X") return pic_.width;
        if (n == "Y") return pic_.height;
        if (n == "i") return i_;
        if (n == "u") return u_;
        if (n == "v") return v_;
        if (n == "z") return channel_;
        if (n == "Z") return 3;
        if (n == "d") return d_;
        if (n == "D") return 1024;
        if (n == "m") return m_;
        if (n == "M") return static_cast<int32_t>(std::sqrt(double(pic_.width) * pic_.width + double(pic_.height) * pic_.height) * 0.5);
        return 0;  // a, dmin, mmin
    }

    static int32_t Binary(const std::string& op, int32_t a, int32_t b)
    {
        uint32_t ua = static_cast<uint32_t>(a), ub = static_cast<uint32_t>(b);
        if (op == "||") return (a | b) != 0;
        if (op == "&&") return (a & b) != 0;
        if (op == "|") return a | b;
        if (op == "^") return a ^ b;
        if (op == "&") return a & b;
        if (op == "==") return a == b;
        if (op == "!=") return a != b;
        if (op == "<") return a < b;
        if (op == "<=") return a <= b;
        if (op == ">") return a > b;
        if (op == ">=") return a >= b;
        if (op == "<<") return static_cast<int32_t>(ua << (ub & 31));
        if (op == ">>") return static_cast<int32_t>(ua >> (ub & 31));
        if (op == "+") return Add32(a, b);
        if (op == "-") return Sub32(a, b);
        if (op == "*") return Wrap(static_cast<int64_t>(a) * b);
        if (op == "/") return b == 0 ? 0 : b == -1 ? Sub32(0, a) : a / b;
        if (op == "%") return b == 0 || b == -1 ? 0 : a % b;
        return 0;
    }

    int32_t Call(const std::string& f, const std::vector<int32_t>& a)
    {
        if (f == "abs") return a[0] < 0 ? Sub32(0, a[0]) : a[0];
        if (f == "add") return std::min(Add32(a[0], a[1]), a[2]);
        if (f == "sub") return std::max(Sub32(a[0], a[1]), a[2]);
        if (f == "dif") { int32_t d = Sub32(a[0], a[1]); return d < 0 ? Sub32(0, d) : d; }
        if (f == "min") return std::min(a[0], a[1]);
        if (f == "max") return std::max(a[0], a[1]);
        if (f == "mix") {
            int64_t p = static_cast<int64_t>(Sub32(a[0], a[1])) * a[2];
            if (a[3] == 0)
                return Wrap(p);
            return Add32(a[1], Quotient64(p + (a[3] >> 1), a[3]));
        }
        if (f == "scl") {
            int32_t span = Sub32(a[2], a[1]);
            if (span == 0)
                return Sub32(a[4], a[3]);
            int64_t p = static_cast<int64_t>(Sub32(a[0], a[1])) * Sub32(a[4], a[3]);
            return Add32(a[3], Quotient64(p + (span >> 1), span));
        }
        if (f == "val") {
            int64_t p = static_cast<int64_t>(Sub32(a[2], a[1])) * ctl_[a[0] & 7];
            return Add32(a[1], Quotient64(p + 127, 255));
        }
        if (f == "ctl") return ctl_[a[0] & 7];
        if (f == "map") {
            int k = (a[1] * 2) & 7;
            int32_t lo = ctl_[k + 1], hi = ctl_[k];
            if (a[0] <= lo) return 0;
            if (a[0] >= hi) return 255;
            return Quotient64(static_cast<int64_t>(Sub32(a[0], lo)) * 255, Sub32(hi, lo));
        }
        if (f == "put") { cell_[a[1] & 1023] = a[0]; return a[0]; }
        if (f == "get") return cell_[a[0] & 1023];
        if (f == "rnd") {
            seed_ = seed_ * 1103515245u + 12345u;
            int64_t k = (seed_ >> 16) & 0x7FFF;
            return Add32(a[0], Wrap((static_cast<int64_t>(Add32(Sub32(a[1], a[0]), 1)) * k) >> 15));
        }
        if (f == "sqr") return a[0] < 0 ? INT32_MIN : RoundX87(sqrtl(static_cast<long double>(a[0])));
        if (f == "src") return Source(a[0], a[1], a[2]);
        if (f == "rad") {
            int32_t x = Add32(Wrap((static_cast<int64_t>(a[1]) * Cosine(a[0])) >> 8), pic_.width) >> 1;
            int32_t y = Add32(Wrap((static_cast<int64_t>(a[1]) * Sine(a[0])) >> 8), pic_.height) >> 1;
            return Source(x, y, a[2]);
        }
        if (f == "cnv") return Convolve(a);
        if (f == "c2d") {
            if (a[0] == 0)
                return a[1] == 0 ? 0 : a[1] > 0 ? 256 : -256;
            return RoundX87(Angle(a[1], a[0]));
        }
        if (f == "c2m") return Length(a[0], a[1]);
        if (f == "sin") return Sine(a[0]);
        if (f == "cos") return Cosine(a[0]);
        if (f == "tan") return t_.tangent[a[0] & 1023];
        if (f == "r2x") return Wrap((static_cast<int64_t>(a[1]) * Cosine(a[0]) + 256) >> 9);
        if (f == "r2y") return Wrap((static_cast<int64_t>(a[1]) * Sine(a[0]) + 256) >> 9);
        return 0;
    }

    int32_t Convolve(const std::vector<int32_t>& a) const
    {
        // Weights: current row, the row above, the row below; left, centre, right.
        static const int kRow[3] = {0, -1, 1};
        static const int kColumn[3] = {-1, 0, 1};
        int32_t sum = 0;
        for (int k = 0; k < 9; ++k) {
            int x = x_ + kColumn[k % 3], y = y_ + kRow[k / 3];
            if (x < 0 || x >= pic_.width)
                x = x_;
            if (y < 0 || y >= pic_.height)
                y = y_;
            sum = Add32(sum, Wrap(static_cast<int64_t>(a[k]) * Source(x, y, channel_)));
        }
        int32_t d = a[9];
        return d == 0 ? sum : d == -1 ? Sub32(0, sum) : sum / d;
    }

    int32_t Eval(const Tree& t, int n)
    {
        const Node& node = t.nodes[n];
        switch (node.kind) {
        case CONST: return node.value;
        case VAR: return Variable(node.name);
        case UNARY: {
            int32_t v = Eval(t, node.kids[0]);
            return node.name == "-" ? Sub32(0, v) : node.name == "~" ? ~v : v == 0;
        }
        case BINARY: {
            int32_t a = Eval(t, node.kids[0]);
            int32_t b = Eval(t, node.kids[1]);
            return Binary(node.name, a, b);
        }
        case COND: return Eval(t, node.kids[0]) ? Eval(t, node.kids[1]) : Eval(t, node.kids[2]);
        case COMMA: Eval(t, node.kids[0]); return Eval(t, node.kids[1]);
        case CALL: {
            std::vector<int32_t> args;
            for (int k : node.kids)
                args.push_back(Eval(t, k));
            return Call(node.name, args);
        }
        }
        return 0;
    }
};

}  // namespace oracle

#endif
