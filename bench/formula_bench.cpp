// Throughput of compiled formulas over a 4096 x 4096 picture, beside the same
// formulas written by hand in C++ and the tests' tree-walking interpreter,
// all in the same run. The interpreter works on a band of the picture: its
// rate is what counts.
#include <stdio.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "../tests/filters/formula_oracle.h"
#include "bench_ratio.h"
#include "bench_timer.h"
#include "buffer.h"
#include "formula_code.h"

namespace {

const int W = 4096, H = 4096, InterpretedRows = 64;

inline unsigned long Clamp(int v) { return static_cast<unsigned long>(v < 0 ? 0 : v > 255 ? 255 : v); }
inline unsigned long Grey(int v) { return Clamp(v) * 0x010101u; }

int Red(unsigned long p) { return p >> 16 & 255; }
int Green(unsigned long p) { return p >> 8 & 255; }

void HandIdentity(Buffer& s, Buffer& t)
{
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++)
            *t.At(x, y) = Grey(Red(*s.At(x, y)));
}

void HandProduct(Buffer& s, Buffer& t)
{
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            unsigned long p = *s.At(x, y);
            *t.At(x, y) = Grey(Red(p) * Green(p) / 255);
        }
}

void HandChain(Buffer& s, Buffer& t)
{
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            int r = Red(*s.At(x, y));
            *t.At(x, y) = Grey(r > 200 ? 255 : r > 100 ? 128 : r > 50 ? 64 : 0);
        }
}

void HandConvolve(Buffer& s, Buffer& t)
{
    static const int kWeight[3][3] = {{1, 2, 1}, {2, 4, 2}, {1, 2, 1}};
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            unsigned long out = 0;
            for (int shift = 16; shift >= 0; shift -= 8) {
                int sum = 0;
                for (int dy = -1; dy <= 1; dy++)
                    for (int dx = -1; dx <= 1; dx++) {
                        int xx = x + dx < 0 || x + dx >= W ? x : x + dx;
                        int yy = y + dy < 0 || y + dy >= H ? y : y + dy;
                        sum += kWeight[dy + 1][dx + 1] * static_cast<int>(*s.At(xx, yy) >> shift & 255);
                    }
                out = out << 8 | Clamp(sum / 16);
            }
            *t.At(x, y) = out;
        }
}

void HandSource(Buffer& s, Buffer& t, const int* sine)
{
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            int xx = std::min(std::max(x + sine[y & 1023] / 64, 0), W - 1);
            *t.At(x, y) = Grey(Red(*s.At(xx, y)));
        }
}

struct Case {
    const char* formula;
    std::function<void(Buffer&, Buffer&)> hand;
};

}  // namespace

int main()
{
    Buffer src, dst;
    src.Alloc({W, H});
    dst.Alloc({W, H});
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) *src.At(x, y) = unsigned((x * 7) ^ (y * 13)) * 0x00030507u & 0x00FFFFFF;
    const int* sine = ProgramFormulaContext().sine;
    const Case cases[] = {
        {"r", HandIdentity},
        {"r*g/255", HandProduct},
        {"r > 200 ? 255 : r > 100 ? 128 : r > 50 ? 64 : 0", HandChain},
        {"cnv(1,2,1,2,4,2,1,2,1,16)", HandConvolve},
        {"src(x+sin(y)/64,y,0)", [sine](Buffer& s, Buffer& t) { HandSource(s, t, sine); }},
    };
    oracle::Picture band{W, InterpretedRows, std::vector<uint32_t>(src.pixels, src.pixels + W * InterpretedRows)};
    const int ctl[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    FormulaCode code;
    printf("%dx%d picture; Mpx/s of compiled formulas, hand-written C++ and the interpreter\n", W, H);
    for (const Case& c : cases) {
        const char* const texts[3] = {c.formula, c.formula, c.formula};
        FormulaCompilation compiled;
        CompileFormulas(code, texts, compiled);
        double tCompiled = BestTime([&] { RunCompiledFormulas(code, ctl, src, dst, false, nullptr); }, 3);
        double tHand = BestTime([&] { c.hand(src, dst); }, 3);
        oracle::Tree trees[3];
        for (auto& t : trees)
            t = oracle::Parser(c.formula).Parse();
        std::vector<uint32_t> out(band.pixels.size());
        double tInterp = BestTime([&] { oracle::Evaluator(ProgramFormulaContext(), band, ctl).Run(trees, false, out); }, 2);
        double px = double(W) * H, compiledRate = px / tCompiled / 1e6, handRate = px / tHand / 1e6;
        double interpRate = double(W) * InterpretedRows / tInterp / 1e6;
        printf("%-50s compiled %7.1f  hand %7.1f  interpreter %6.2f\n", c.formula, compiledRate, handRate,
               interpRate);
        char operation[64];
        snprintf(operation, sizeof operation, "formula %.36s", c.formula);  // the summary's column
        Ratio(operation, "hand-written C++, -O2", 1 / compiledRate, 1 / handRate);
        Ratio(operation, "the tests' interpreter", 1 / compiledRate, 1 / interpRate);
    }
    return 0;
}
