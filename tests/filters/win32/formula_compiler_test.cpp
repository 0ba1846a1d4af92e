// The formula compiler's fixed cases: exact values, syntax errors and where
// they are reported, the limits, the trap cases and register hygiene.
#include "formula_harness.h"
#include "formula_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Calls code with EAX and EDX loaded and ESI, EDI, EBP, EBX holding
// sentinels; records the registers, ESP around the call, the x87
// environment and the flags after it.
struct AbiRecord {
    uint32_t esi, edi, ebp, espBefore, espAfter, ebx;
    uint16_t env[14];
    uint32_t flags;
    uint32_t result;
};

extern "C" void AbiProbeCall(const void* code, uint32_t eax, uint32_t edx, AbiRecord* out);
asm(".text\n"
    ".globl _AbiProbeCall\n"
    "_AbiProbeCall:\n"
    "  push %ebp\n  push %esi\n  push %edi\n  push %ebx\n"
    "  mov 32(%esp), %ecx\n"
    "  push %ecx\n"
    "  mov %esp, 12(%ecx)\n"
    "  mov 28(%esp), %eax\n"
    "  mov 32(%esp), %edx\n"
    "  mov 24(%esp), %ecx\n"
    "  mov $0x5E5E5E5E, %esi\n  mov $0xD1D1D1D1, %edi\n  mov $0xBFBFBFBF, %ebp\n  mov $0xB8B8B8B8, %ebx\n"
    "  call *%ecx\n"
    "  mov (%esp), %ecx\n"
    "  mov %eax, 56(%ecx)\n"
    "  mov %esp, 16(%ecx)\n"
    "  mov %esi, 0(%ecx)\n  mov %edi, 4(%ecx)\n  mov %ebp, 8(%ecx)\n  mov %ebx, 20(%ecx)\n"
    "  pushf\n  pop %eax\n  mov %eax, 52(%ecx)\n"
    "  fnstenv 24(%ecx)\n"
    "  fldcw 24(%ecx)\n"
    "  pop %ecx\n"
    "  pop %ebx\n  pop %edi\n  pop %esi\n  pop %ebp\n"
    "  ret\n");

const int kNoControls[8] = {0, 0, 0, 0, 0, 0, 0, 0};

// The red formula's raw value at (x, y) of a picture of pixel, before clamping.
int RawValue(const std::string& formula, int width, int height, uint32_t pixel, int x, int y)
{
    FormulaCode code;
    FormulaTriple f{{formula, "0", "0"}};
    oracle::Picture pic = FlatPicture(width, height, pixel);
    RunCompiled(code, f, pic, false, kNoControls);
    FormulaContext& ctx = ProgramFormulaContext();
    ctx.x = x;
    ctx.y = y;
    AbiRecord rec;
    AbiProbeCall(code.Code(CODE_SETUP), reinterpret_cast<uint32_t>(&pic.pixels[y * width + x]),
                 reinterpret_cast<uint32_t>(&ctx), &rec);
    AbiProbeCall(code.Code(CODE_RED), reinterpret_cast<uint32_t>(&ctx), 0, &rec);
    return static_cast<int>(rec.result);
}

}  // namespace

TEST(FormulaCompiler, ExactValues)
{
    const struct {
        const char* formula;
        int width, height, x, y;
        int expected;
    } cases[] = {
        {"r/0", 3, 3, 1, 1, 0},
        {"-7/2", 3, 3, 1, 1, -3},
        {"-7%2", 3, 3, 1, 1, -1},
        {"1&&2", 3, 3, 1, 1, 0},
        {"1||0", 3, 3, 1, 1, 1},
        {"4294967297 + 0x1f", 3, 3, 1, 1, 32},  // decimal wraps
        {"-2147483648/7 + 2147483647/-3 + -2147483648/-2147483648", 3, 3, 1, 1, -1022611259},
        {"-1000/6 + 1000/-6 + 5/1 + 5/-1 + (r+1)/0", 3, 3, 1, 1, -332},
        {"-1000/64 + 1000/-64 + -2147483647/1073741824 + -5/2", 3, 3, 1, 1, -33},
        {"-1000%7*1000 + 1000%-64*10 + -2147483648%3 + 2147483647%0x80000000", 3, 3, 1, 1, 2147478045},
        {"(-1000%1 + 7%-1 + 7%0)*9 + -2147483648%-64 + -2147483648%0x80000000 + -100%-3*2", 3, 3, 1, 1, -2},
        {"-1>>28", 3, 3, 1, 1, 15},
        {"(r, g)", 3, 3, 1, 1, 0x22},
        {"c2d(0,-5)", 3, 3, 1, 1, -256},
        {"d", 4, 4, 3, 2, 0},
        {"d", 4, 4, 2, 3, 256},
        {"src(x-1,y,0)", 3, 3, 0, 1, 0x11},
        {"0x10 + 010", 3, 3, 0, 0, 26},
        {"4294967297", 3, 3, 0, 0, 1},
        {"-2147483648/-1", 3, 3, 0, 0, INT_MIN},
        {"-2147483648%-1", 3, 3, 0, 0, 0},
        {"1<<32", 3, 3, 0, 0, 1},
        {"1<<-1", 3, 3, 0, 0, INT_MIN},
        {"sqr(-1)", 3, 3, 0, 0, INT_MIN},
        {"sqr(6)", 3, 3, 0, 0, 2},
        {"c2m(3,4)", 3, 3, 0, 0, 5},
        {"mix(2147483647,-2147483648,2147483647,1)", 3, 3, 0, 0, 1},
        {"mix(10,0,1,2)", 3, 3, 0, 0, 5},
        {"scl(5,3,3,10,20)", 3, 3, 0, 0, 10},
        {"scl(128,0,255,0,100)", 3, 3, 0, 0, 50},
        {"sin(256) + cos(0)", 3, 3, 0, 0, 1024},
        {"tan(128)", 3, 3, 0, 0, 1024},
        {"r2x(0, 512)", 3, 3, 0, 0, 512},
        {"a ? 1 : 2 ? 3 : 4", 3, 3, 0, 0, 3},
        {"1 ? 5, 6 : 7", 3, 3, 0, 0, 6},
        {"put(7, 1025), get(1)", 3, 3, 0, 0, 7},
        {"dminimum + mminimum + 5", 3, 3, 0, 0, 5},
        {"cnv(1,0,0,0,0,0,0,0,0,0)", 3, 3, 1, 1, 0x11},
        {"cnv(0,1,0,0,0,0,0,0,0,0)", 3, 3, 1, 1, 0x11},
        {"cnv(0,0,0,0,0,0,0,0,1,0)", 3, 3, 1, 1, 0x11},
        {"cnv(1,1,1,1,1,1,1,1,1,0)", 3, 3, 1, 1, 0x99},
        {"cnv(1,1,1,1,1,1,1,1,1,0)", 1, 1, 0, 0, 0x99},
        {"cnv(1,1,1,1,1,1,1,1,1,3)", 1, 1, 0, 0, 0x33},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, RawValue(c.formula, c.width, c.height, 0x112233, c.x, c.y)) << c.formula;
}

// A written pixel keeps its flag byte: without its selection bit a second
// filter on the same selection would pass it over.
TEST(FormulaCompiler, ResultsAreClampedKeepTheirFlagsAndUnselectedPixelsAreKept)
{
    FormulaCode code;
    oracle::Picture pic = FlatPicture(3, 1, 0x05000000);
    pic.pixels[1] = 0x00404040;
    FormulaRunResult out = RunCompiled(code, FormulaTriple{{"300", "-4", "77"}}, pic, true, kNoControls);
    EXPECT_EQ(0x05FF004Du, out.pixels[0]);
    EXPECT_EQ(kUntouched, out.pixels[1]);
}

// One formula in all three channels: a channel may take the one before's
// result only when neither draws random numbers nor writes cells.
TEST(FormulaCompiler, TheSameFormulaInEveryChannelMatchesTheInterpreter)
{
    const char* const formulas[] = {
        "r*g/255 + x", "rnd(0, 255)", "put(get(0) + 7, 0)", "x*y/3 + c", "src(x+1, y, 0)/2", "get(5) + d + m",
        "src(x-2, y+4, 2) + src(x, y-1, -1) + src(x, y, z)",
    };
    oracle::Picture pic = FlatPicture(9, 6, 0);
    for (size_t k = 0; k < pic.pixels.size(); ++k)
        pic.pixels[k] = static_cast<uint32_t>(k * 2654435761u) & (k % 3 ? 0x04FFFFFFu : 0x00FFFFFFu);
    FormulaCode code;
    for (const char* f : formulas)
        for (bool sel : {false, true}) {
            FormulaTriple triple{{f, f, f}};
            oracle::Tree trees[3];
            EXPECT_EQ(RunOracle(triple, pic, sel, kNoControls, trees),
                      RunCompiled(code, triple, pic, sel, kNoControls).pixels)
                << f << (sel ? " with selection" : "");
        }
}

// A part of the picture, as components compute it: x starts at the part's
// left edge, and what stays the same along a row is worked out per row.
TEST(FormulaCompiler, APartOfThePictureGetsTheWholePicturesValues)
{
    const FormulaTriple triples[] = {
        {{"x*7 + y", "src(x-1, y, 1) + x", "c2d(y, 3) + x % 5"}},
        {{"x + sin(y)/64", "x + sin(y)/64", "x + sin(y)/64"}},
        {{"i + x", "y*Y/7 + x", "r"}},
    };
    oracle::Picture pic = FlatPicture(9, 6, 0);
    for (size_t k = 0; k < pic.pixels.size(); ++k)
        pic.pixels[k] = static_cast<uint32_t>(k * 2654435761u) & (k % 3 ? 0x04FFFFFFu : 0x00FFFFFFu);
    FormulaCode code;
    for (const FormulaTriple& t : triples)
        for (bool sel : {false, true}) {
            std::vector<uint32_t> whole = RunCompiled(code, t, pic, sel, kNoControls).pixels;
            std::vector<uint32_t> part(pic.pixels.size(), kUntouched);
            FormulaPixels p = PixelsOf(pic, part, sel);
            p.left = 3, p.top = 1, p.right = 7, p.bottom = 4;
            RunFormulaPixels(code.Routines(), ProgramFormulaContext(), kNoControls, p, nullptr);
            for (int y = 0; y < pic.height; ++y)
                for (int x = 0; x < pic.width; ++x) {
                    bool inside = x >= 3 && x <= 7 && y >= 1 && y <= 4;
                    size_t at = static_cast<size_t>(y * pic.width + x);
                    ASSERT_EQ(inside ? whole[at] : kUntouched, part[at]) << t.text[0] << " at " << x << ", " << y;
                }
        }
}

TEST(FormulaCompiler, SyntaxErrorsGiveZeroAndThePlaceOfTheError)
{
    const struct {
        const char* formula;
        int offset, length;
    } cases[] = {
        {"r+", 2, 1},        {"r g", 3, 1},     {"add(r, g)", 9, 1}, {"=", 1, 1},
        {"1=2", 2, 1},       {"(r", 2, 1},      {"abs r", 5, 1},     {"foo+1", 3, 3},
        {"", 0, 0},          {"r ? g", 5, 1},   {"ctl", 3, 3},       {"r(1)", 2, 1},
        {"add(r,g,b,a)", 10, 1}, {"2x", 2, 1},      {"0x", 2, 1},
    };
    FormulaCode code;
    for (const auto& c : cases) {
        FormulaRunResult out = RunCompiled(code, FormulaTriple{{c.formula, "99", "r"}}, FlatPicture(2, 2, 0x123456),
                                           false, kNoControls);
        const FormulaChannelResult& red = out.compilation.channel[0];
        EXPECT_FALSE(red.ok) << c.formula;
        EXPECT_EQ(c.offset, red.errorOffset) << c.formula;
        EXPECT_EQ(c.length, red.errorLength) << c.formula;
        EXPECT_EQ(0x00006312u, out.pixels[3]) << c.formula;
    }
}

TEST(FormulaCompiler, LimitsRefuseInsteadOfOverflowing)
{
    auto repeat = [](const std::string& s, int n) {
        std::string out;
        for (int k = 0; k < n; ++k)
            out += s;
        return out;
    };
    const struct {
        std::string formula;
        bool ok, codeFull;
    } cases[] = {
        {repeat("1?", 128) + "1" + repeat(":0", 128), true, false},
        {repeat("1?", 129) + "1" + repeat(":0", 129), false, false},
        {repeat("-", 128) + "1", true, false},
        {repeat("-", 129) + "1", false, false},
        {repeat("(", 64) + repeat("1+", 64) + "1" + repeat(")", 64), true, false},
        {repeat("r/g+", 250) + "r", false, true},  // divisions by a variable stay long
    };
    for (const auto& c : cases) {
        unsigned char buffer[kFormulaCodeSize + 64];
        std::memset(buffer, 0xCC, sizeof buffer);
        unsigned usage = 0;
        int size = 0;
        FormulaChannelResult r = CompileFormula(c.formula.c_str(), 0, buffer, kFormulaCodeSize, usage, size);
        EXPECT_EQ(c.ok, r.ok) << c.formula.substr(0, 40);
        EXPECT_EQ(c.codeFull, r.codeFull) << c.formula.substr(0, 40);
        for (int k = kFormulaCodeSize; k < kFormulaCodeSize + 64; ++k)
            ASSERT_EQ(0xCC, buffer[k]) << "written past the buffer";
    }
}

// Each case runs under the interpreter too; a processor exception would end
// the test process.
TEST(FormulaCompiler, TrapCasesRunAndMatchTheInterpreter)
{
    const char* const formulas[] = {
        "-2147483648/-1",
        "-2147483648%-1 + r % 0",
        "mix(2147483647,-2147483648,2147483647,1)",
        "scl(r, 0, -1, -2147483648, 2147483647)",
        "scl(-2147483648, 2147483647, -2147483648, -2147483648, 2147483647)",
        "cnv(-2147483648,0,0,0,0,0,0,0,0,-1)",
        "cnv(2147483647,2147483647,2147483647,2147483647,2147483647,2147483647,2147483647,2147483647,2147483647,-1)",
        "(r << 32) + (r >> -1) + (1 << 31)",
        "map(2147483647, 0) + map(-2147483648, 1) + val(3, -2147483648, 2147483647)",
        "c2m(2147483647, -2147483648) + sqr(2147483647) + c2d(-2147483648, -2147483648)",
        "rad(x * 1000, 2147483647, 3) + src(-2147483648, 2147483647, -1) + r2y(7, -2147483648)",
        "rnd(-2147483648, 2147483647) + rnd(5, 4)",
    };
    int ctl[8] = {255, 0, 200, 100, 1, 255, 0, 0};
    FormulaCode code;
    oracle::Picture pic = FlatPicture(4, 3, 0x01010101);
    pic.pixels[5] = 0x00FF80FF;
    for (const char* f : formulas) {
        FormulaTriple t{{f, std::string("(") + f + ") >> 24", std::string("(") + f + ") & 255"}};
        FormulaRunResult out = RunCompiled(code, t, pic, false, ctl);
        oracle::Tree trees[3];
        EXPECT_TRUE(out.compilation.channel[0].ok) << f;
        EXPECT_EQ(RunOracle(t, pic, false, ctl, trees), out.pixels) << f;
    }
}

// The second triple takes the loop's other ways: x counted in ESI, the
// results gathered on the stack, and code run once per row on the x87.
// The setup routine loads only what the formulas use, after the pixel's
// place: the fields nobody asked for keep whatever they held.
TEST(FormulaCompiler, TheSetupRoutineWritesOnlyTheFieldsItsFormulasUse)
{
    enum { PIXEL, R, G, B, I, U, V, D, M, EDGE, FIELDS };
    const struct {
        const char* formula;
        std::vector<int> written;
    } cases[] = {
        {"r", {PIXEL, R}},
        {"x + y + X + ctl(2) + src(x, y, 1)", {PIXEL}},
        {"c2m(g, b) + i", {PIXEL, G, B, I}},
        {"u + v", {PIXEL, U, V}},
        {"d", {PIXEL, D}},
        {"m + d", {PIXEL, D, M}},
        {"cnv(1,1,1,1,1,1,1,1,1,9)", {PIXEL, EDGE}},
    };
    for (const auto& c : cases) {
        FormulaCode code;
        oracle::Picture pic = FlatPicture(4, 4, 0x00336699);
        RunCompiled(code, FormulaTriple{{c.formula, "0", "0"}}, pic, false, kNoControls);
        FormulaContext& ctx = ProgramFormulaContext();
        int* const fields[FIELDS] = {reinterpret_cast<int*>(&ctx.pixel), &ctx.r, &ctx.g, &ctx.b, &ctx.i, &ctx.u,
                                     &ctx.v, &ctx.d, &ctx.m, &ctx.edge};
        const int kPoison = 0x5A5A5A5A;
        for (int* f : fields) *f = kPoison;
        ctx.x = 1;
        ctx.y = 2;
        AbiRecord rec;
        AbiProbeCall(code.Code(CODE_SETUP), reinterpret_cast<uint32_t>(&pic.pixels[9]),
                     reinterpret_cast<uint32_t>(&ctx), &rec);
        for (int k = 0; k < FIELDS; ++k) {
            bool written = std::find(c.written.begin(), c.written.end(), k) != c.written.end();
            EXPECT_EQ(written, *fields[k] != kPoison) << c.formula << ", field " << k;
        }
    }
}

TEST(FormulaCompiler, RoutinesKeepTheCallersRegistersAndAnEmptyFpuStack)
{
    const char* const triples[2][3] = {
        {
            "cnv(1,2,3,4,5,6,7,8,9,0) + c2d(x, y) + c2m(r, g) + sqr(b) + mix(r,g,b,3)",
            "rad(d, m, 1) + src(x, y, 2) + r2x(d, m) + rnd(0, 9) + scl(r, 0, 255, 3, 9) + map(r, 1)",
            "i + u + v + val(1, 0, 255) + (r / (g - 1)) + (b % 7) + put(r, 3) + get(3) ? 1 : 2",
        },
        {"x * 3 + sqr(y * Y) + src(x, y + 1, 0)", "r > 9 ? x : c2m(y, X) / 7", "(g, x) % 5 + c2d(y, 3)"},
    };
    for (const auto& triple : triples) {
        FormulaCode code;
        FormulaCompilation compiled;
        CompileFormulas(code, triple, compiled);
        for (int c = 0; c < 3; ++c)
            ASSERT_TRUE(compiled.channel[c].ok) << triple[c];
        oracle::Picture pic = FlatPicture(5, 5, 0x00336699);
        std::vector<uint32_t> out(25);
        RunFormulaPixels(code.Routines(), ProgramFormulaContext(), kNoControls, PixelsOf(pic, out, false), nullptr);
        FormulaContext& ctx = ProgramFormulaContext();
        ctx.x = 2;
        ctx.y = 3;
        // The fifth is the row loop, over row 3 of the picture.
        FormulaRow row;
        row.first = reinterpret_cast<const unsigned long*>(&pic.pixels[15]);
        row.end = row.first + 5;
        row.delta = reinterpret_cast<unsigned long>(out.data()) - reinterpret_cast<unsigned long>(pic.pixels.data());
        row.keep = 0xFF000000;
        for (int routine = 0; routine < 5; ++routine) {
            const unsigned char* entry = routine < 4 ? code.Code(routine) : code.Routines().loop;
            for (int n = 0; n < 1000; ++n) {
                AbiRecord rec;
                uint32_t eax = routine == CODE_SETUP ? reinterpret_cast<uint32_t>(&pic.pixels[17])
                                                     : reinterpret_cast<uint32_t>(&ctx);
                uint32_t edx = routine == 4 ? reinterpret_cast<uint32_t>(&row) : reinterpret_cast<uint32_t>(&ctx);
                ctx.x = routine == 4 ? 0 : 2;  // the loop starts at the row's first pixel
                AbiProbeCall(entry, eax, edx, &rec);
                ASSERT_EQ(0x5E5E5E5Eu, rec.esi) << routine;
                ASSERT_EQ(0xD1D1D1D1u, rec.edi) << routine;
                ASSERT_EQ(0xBFBFBFBFu, rec.ebp) << routine;
                ASSERT_EQ(0xB8B8B8B8u, rec.ebx) << routine;
                ASSERT_EQ(rec.espBefore, rec.espAfter) << routine;
                ASSERT_EQ(0xFFFF, rec.env[4]) << "x87 tag word, routine " << routine;
                ASSERT_EQ(0u, rec.flags & 0x400) << "direction flag, routine " << routine;
            }
        }
    }
}
