#include "convolve.h"

#include <emmintrin.h>
#include <math.h>

namespace {

int ClampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

bool RingPosition(int i)
{
    const int row = i / 5, col = i % 5;
    return row == 0 || row == 4 || col == 0 || col == 4;
}

}  // namespace

ConvolveKernel DefaultConvolveKernel()
{
    ConvolveKernel k{};
    for (int i = 0; i < 25; i++) k.weights[i] = RingPosition(i) ? 0 : 1;
    k.div = 1;
    k.bias = 0;
    return k;
}

bool InsignificantWeight(int weight, int div)
{
    return fabsf(float(weight) / float(ClampInt(div, ConvolveMinDiv, ConvolveMaxDiv))) <= 0.0039062f;
}

bool UsesInnerKernel(const ConvolveKernel& k)
{
    for (int i = 0; i < 25; i++)
        if (RingPosition(i) && !InsignificantWeight(k.weights[i], k.div)) return false;
    return true;
}

Convolver::Convolver(Buffer& saved, const ConvolveKernel& k) : saved_(saved)
{
    size_ = UsesInnerKernel(k) ? 3 : 5;
    radius_ = size_ / 2;
    const float div = float(ClampInt(k.div, ConvolveMinDiv, ConvolveMaxDiv));
    const int skip = (5 - size_) / 2;
    for (int r = 0; r < size_; r++)
        for (int c = 0; c < size_; c++) coeffs_[r * size_ + c] = float(k.weights[(r + skip) * 5 + c + skip]) / div;
    bias_ = float(k.bias);
    width_ = saved.Width();
    rows_.assign(size_t(size_) * (width_ + 2 * radius_) * 4, 0.0f);
    rowOfSlot_.assign(size_, -1);
}

const float* Convolver::SourceRow(int y)
{
    const int slot = (y - saved_.top) % size_;
    const int padded = width_ + 2 * radius_;
    float* row = &rows_[size_t(slot) * padded * 4];
    if (rowOfSlot_[slot] == y) return row;
    const unsigned long* src = saved_.At(saved_.left, y);
    for (int i = 0; i < padded; i++) {
        const unsigned long p = src[ClampInt(i - radius_, 0, width_ - 1)];
        row[4 * i] = float((p >> 16) & 0xFF);
        row[4 * i + 1] = float((p >> 8) & 0xFF);
        row[4 * i + 2] = float(p & 0xFF);
        row[4 * i + 3] = 0.0f;
    }
    rowOfSlot_[slot] = y;
    return row;
}

void Convolver::Row(Buffer& out, int y, int x0, int x1, bool selectedOnly)
{
    if (y < saved_.top || y > saved_.bottom) return;
    x0 = x0 < saved_.left ? saved_.left : x0;
    x1 = x1 > saved_.right ? saved_.right : x1;
    if (x0 > x1) return;
    const float* src[5];
    for (int r = 0; r < size_; r++) src[r] = SourceRow(ClampInt(y - radius_ + r, saved_.top, saved_.bottom));
    const bool innerRow = y - radius_ >= saved_.top && y + radius_ <= saved_.bottom;
    const unsigned long* savedRow = saved_.At(saved_.left, y);
    unsigned long* outRow = out.At(out.left, y);
    const __m128 bias = _mm_set1_ps(bias_);
    // The four lanes are R, G, B and an unused 0, so one vector sum is one
    // pixel; every lane repeats the scalar rule's operations in its order.
    for (int x = x0; x <= x1; x++) {
        const int i = x - saved_.left;
        const unsigned long old = savedRow[i];
        if (selectedOnly && (old & 0xFF000000) == 0) continue;
        __m128 sum = _mm_setzero_ps();
        const float* c = coeffs_;
        for (int r = 0; r < size_; r++) {
            const float* p = src[r] + 4 * i;  // padding shifts column i - radius to slot i
            for (int k = 0; k < size_; k++, c++)
                sum = _mm_add_ps(sum, _mm_mul_ps(_mm_set1_ps(*c), _mm_loadu_ps(p + 4 * k)));
        }
        sum = _mm_add_ps(sum, bias);
        const bool inner = innerRow && i >= radius_ && i < width_ - radius_;
        const __m128i v = inner ? _mm_cvtps_epi32(sum) : _mm_cvttps_epi32(sum);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(v, v), _mm_setzero_si128());
        const unsigned long rgb = (unsigned long)_mm_cvtsi128_si32(bytes);
        // Lanes land as bytes R, G, B in memory order; the pixel wants them
        // as 0x00RRGGBB.
        outRow[i] = (old & 0xFF000000) | (rgb & 0xFF) << 16 | (rgb & 0xFF00) | (rgb >> 16 & 0xFF);
    }
}

void Convolver::Run(Buffer& out, Rect r, bool selectedOnly)
{
    for (int y = r.top; y <= r.bottom; y++) Row(out, y, r.left, r.right, selectedOnly);
}
