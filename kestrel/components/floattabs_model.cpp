#include "floattabs_model.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include "sysutils.h"

AnsiString InvalidPageIndexText(int index, int count)
{
    return Format("%d is an invalid PageIndex value.  PageIndex must be between 0 and %d", index, count - 1);
}

int NextPageIndex(const std::vector<bool>& eligible, int current, bool goForward)
{
    int n = static_cast<int>(eligible.size());
    if (n == 0) return -1;
    if (current < 0 || current >= n) current = goForward ? n - 1 : 0;
    int i = current;
    for (int step = 0; step < n; ++step) {
        i = goForward ? (i + 1) % n : (i + n - 1) % n;
        if (eligible[i]) return i;
    }
    return -1;
}

std::vector<int> StaticPageOrder(const std::vector<int>& staticIndex)
{
    std::vector<int> order(staticIndex.size());
    std::iota(order.begin(), order.end(), 0);
    auto key = [&](int pos) { return staticIndex[pos] >= 0 ? staticIndex[pos] : pos; };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        if (key(a) != key(b)) return key(a) < key(b);
        return staticIndex[a] >= 0 && staticIndex[b] < 0;
    });
    return order;
}

std::vector<TGripDot> GripDots(int stripLength)
{
    const int steps = 5;
    const int span = steps * 4;
    int start = std::max(0, (stripLength - span) / 2);
    std::vector<TGripDot> dots;
    for (int k = 0; k < steps; ++k) {
        dots.push_back(TGripDot{0, start + 4 * k});
        dots.push_back(TGripDot{2, start + 4 * k + 3});
    }
    return dots;
}

char AccelCharOf(const AnsiString& caption)
{
    const char* s = caption.c_str();
    for (int i = 0; s[i]; ++i) {
        if (s[i] != '&') continue;
        if (s[i + 1] == '&') {
            ++i;
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(s[i + 1])));
    }
    return 0;
}

bool IsAccelFor(char key, const AnsiString& caption)
{
    char accel = AccelCharOf(caption);
    return accel != 0 && accel == static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
}
