#include "component_setparam.h"

#include <cstring>

namespace {

template <typename T>
bool Store(unsigned char* slot, T v)
{
    T old;
    std::memcpy(&old, slot, sizeof old);
    std::memcpy(slot, &v, sizeof v);
    return std::memcmp(&old, &v, sizeof v) != 0;
}

template <typename T>
T Within(T v, T low, T high)
{
    return v < low ? low : v > high ? high : v;
}

bool SetValue(const ComponentParam& p, unsigned char* slot, int value, double real, int pictureCount)
{
    switch (p.kind) {
    case CPK_INT:
    case CPK_SCROLL:
        return Store(slot, p.minimum <= p.maximum ? Within(value, p.minimum, p.maximum) : value);
    case CPK_FLOAT:
        return Store(slot, p.realMinimum <= p.realMaximum ? Within(real, p.realMinimum, p.realMaximum) : real);
    case CPK_CHECK:
        return Store(slot, value != 0 ? 1 : 0);
    case CPK_LIST:
        return value >= 1 && value <= static_cast<int>(p.items.size()) && Store(slot, value);
    case CPK_COLOUR:
        return Store(slot, value & 0xFFFFFF);
    case CPK_PICTURE:
        return value >= 1 && value <= pictureCount && Store(slot, value);
    }
    return false;
}

void SetLimit(ComponentParam& p, int command, int value, double real)
{
    bool isFloat = p.kind == CPK_FLOAT;
    if (p.kind != CPK_INT && p.kind != CPK_SCROLL && !isFloat)
        return;
    switch (command) {
    case CSP_MINIMUM:
        isFloat ? void(p.realMinimum = real) : void(p.minimum = value);
        break;
    case CSP_MAXIMUM:
        isFloat ? void(p.realMaximum = real) : void(p.maximum = value);
        break;
    case CSP_INCREMENT:
        isFloat ? void(p.increment = real) : void(p.increment = value);
        break;
    case CSP_DECIMALS:
        if (isFloat)
            p.decimals = Within(value, 0, 15);
        break;
    }
}

}  // namespace

bool SetComponentParam(ComponentParam& param, unsigned char* slot, int command, int value, double real,
                       int pictureCount)
{
    if (command == CSP_VALUE)
        return SetValue(param, slot, value, real, pictureCount);
    SetLimit(param, command, value, real);
    if (command != CSP_MINIMUM && command != CSP_MAXIMUM)
        return false;
    // New limits hold the current value too.
    int current = 0;
    double currentReal = 0;
    if (param.kind == CPK_FLOAT)
        std::memcpy(&currentReal, slot, sizeof currentReal);
    else if (param.kind == CPK_INT || param.kind == CPK_SCROLL)
        std::memcpy(&current, slot, sizeof current);
    else
        return false;
    return SetValue(param, slot, current, currentReal, pictureCount);
}
