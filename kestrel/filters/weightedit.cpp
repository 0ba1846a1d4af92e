#include "weightedit.h"

#include "convolve.h"

std::string FilterWeightText(const std::string& text, int& caret)
{
    std::string kept;
    const int oldCaret = caret;
    for (size_t i = 0; i < text.size(); i++) {
        const char c = text[i];
        const bool sign = (c == '+' || c == '-') && kept.empty();
        if ((c >= '0' && c <= '9') || sign) {
            kept += c;
        } else if (int(i) < oldCaret) {
            caret--;
        }
    }
    return kept;
}

int WeightOfText(const std::string& text)
{
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
    long v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; i++) {
        v = v * 10 + (text[i] - '0');
        if (v > ConvolveMaxWeight) v = ConvolveMaxWeight + 1;  // saturate: a long run of digits must not wrap
    }
    if (negative) v = -v;
    return v < ConvolveMinWeight ? ConvolveMinWeight : v > ConvolveMaxWeight ? ConvolveMaxWeight : int(v);
}

std::string WeightText(int weight) { return weight == 0 ? std::string() : std::to_string(weight); }

std::string NormaliseWeightText(const std::string& text) { return WeightText(WeightOfText(text)); }
