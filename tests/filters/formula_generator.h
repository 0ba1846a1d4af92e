// Random formulas from the language's grammar, with edge-value constants,
// awkward divisors and shift counts, and now and then a broken variant (a
// dropped token, a wrong argument count, a lone "=").
#ifndef KESTREL_TESTS_FORMULA_GENERATOR_H
#define KESTREL_TESTS_FORMULA_GENERATOR_H

#include <random>
#include <string>
#include <vector>

class FormulaGenerator {
public:
    explicit FormulaGenerator(unsigned seed) : rng_(seed) {}

    std::string Formula()
    {
        tokens_.clear();
        List(Pick(3) + 1);
        if (Pick(10) == 0)
            Break();
        return Join();
    }

    int Pick(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }

private:
    std::mt19937 rng_;
    std::vector<std::string> tokens_;

    void Put(const std::string& t) { tokens_.push_back(t); }

    void Number()
    {
        // Divisors that the compiler turns into multiplications and shifts,
        // of both signs, among them.
        static const char* const kEdges[] = {"0", "1", "255", "256", "1023", "1024", "0x7FFFFFFF",
                                             "0x80000000", "0xFFFFFFFF", "2147483647", "2147483648",
                                             "4294967295", "31", "32", "0", "2", "3", "0x1f", "7",
                                             "64", "-1", "-3", "-7", "-64", "-255", "-2147483648"};
        if (Pick(3) == 0)
            Put(std::to_string(Pick(600)));
        else
            Put(kEdges[Pick(sizeof kEdges / sizeof *kEdges)]);
    }

    void Variable()
    {
        static const char* const kNames[] = {"r", "g", "b", "c", "a", "x", "y", "X", "Y", "i", "u",
                                             "v", "z", "Z", "d", "dmin", "D", "m", "mmin", "M",
                                             "red", "mminimum", "dminx"};
        Put(kNames[Pick(sizeof kNames / sizeof *kNames)]);
    }

    void Call(int depth)
    {
        static const struct { const char* name; int arguments; } kFunctions[] = {
            {"abs", 1}, {"add", 3}, {"sub", 3}, {"dif", 2}, {"min", 2}, {"max", 2}, {"mix", 4},
            {"scl", 5}, {"val", 3}, {"ctl", 1}, {"map", 2}, {"put", 2}, {"get", 1}, {"rnd", 2},
            {"sqr", 1}, {"src", 3}, {"rad", 3}, {"cnv", 10}, {"c2d", 2}, {"c2m", 2}, {"sin", 1},
            {"cos", 1}, {"tan", 1}, {"r2x", 2}, {"r2y", 2}};
        const auto& f = kFunctions[Pick(sizeof kFunctions / sizeof *kFunctions)];
        Put(f.name);
        Put("(");
        for (int k = 0; k < f.arguments; ++k) {
            if (k)
                Put(",");
            if ((f.arguments > 4 && Pick(2)) || tokens_.size() > 120)
                Simple();
            else
                Conditional(depth - 1);
        }
        Put(")");
    }

    void Simple()
    {
        if (Pick(2))
            Number();
        else
            Variable();
    }

    void Operand(int depth)
    {
        int kind = depth <= 0 || tokens_.size() > 150 ? Pick(2) : Pick(10);
        if (kind == 0)
            Number();
        else if (kind == 1 || kind == 2)
            Variable();
        else if (kind == 3) {
            static const char* const kPrefixes[] = {"-", "!", "~", "+"};
            Put(kPrefixes[Pick(4)]);
            Operand(depth - 1);
        } else if (kind == 4 || kind == 5) {
            Put("(");
            List(depth - 1);
            Put(")");
        } else {
            Call(depth);
        }
    }

    void Binary(int depth)
    {
        static const char* const kOps[] = {"||", "&&", "|", "^", "&", "==", "!=", "<", "<=", ">",
                                           ">=", "<<", ">>", "+", "-", "*", "/", "%"};
        Operand(depth);
        for (int n = Pick(4); n > 0; --n) {
            Put(kOps[Pick(sizeof kOps / sizeof *kOps)]);
            if (Pick(8) == 0)
                Put(Pick(2) ? "0" : "-1");  // divisors and shift counts that bite
            else
                Operand(depth);
        }
    }

    void Conditional(int depth)
    {
        Binary(depth);
        if (depth > 0 && Pick(6) == 0) {
            Put("?");
            List(depth - 1);
            Put(":");
            Conditional(depth - 1);
        }
    }

    void List(int depth)
    {
        Conditional(depth);
        if (Pick(8) == 0) {
            Put(",");
            Conditional(depth);
        }
    }

    void Break()
    {
        size_t at = static_cast<size_t>(Pick(static_cast<int>(tokens_.size())));
        switch (Pick(3)) {
        case 0: tokens_.erase(tokens_.begin() + static_cast<long>(at)); break;
        case 1: tokens_.insert(tokens_.begin() + static_cast<long>(at), "="); break;
        default:
            for (size_t k = at; k < tokens_.size(); ++k)
                if (tokens_[k] == ")") {
                    tokens_.insert(tokens_.begin() + static_cast<long>(k), {",", "1"});
                    break;
                }
        }
    }

    // Operators keep a space on both sides, so that "<" "<" never reads as "<<".
    std::string Join()
    {
        std::string out;
        for (size_t k = 0; k < tokens_.size(); ++k) {
            if (k && (Pick(3) || NeedsSpace(tokens_[k - 1], tokens_[k])))
                out += Pick(20) ? " " : "\n";
            out += tokens_[k];
        }
        return out;
    }

    static bool Word(const std::string& t) { return t != "(" && t != ")" && t != "," && t != "?" && t != ":"; }
    static bool NeedsSpace(const std::string& a, const std::string& b) { return Word(a) && Word(b); }
};

#endif
