#include "spinedit_model.h"

#include <algorithm>
#include <cmath>

#include "exceptions.h"
#include "sysutils.h"

long double ClampSpinValue(long double Value, long double MinValue, long double MaxValue)
{
    if (MinValue == MaxValue) return Value;
    if (Value < MinValue) return MinValue;
    if (Value > MaxValue) return MaxValue;
    return Value;
}

bool ParseSpinText(const AnsiString& Text, TValueType Type, long double& Value)
{
    if (Type == vtFloat) {
        double d = 0;
        if (!TryStrToFloat(Text, d) || !std::isfinite(d)) return false;
        Value = d;
        return true;
    }
    int i = 0;
    if (!TryStrToInt(Text, i)) return false;
    Value = i;
    return true;
}

AnsiString FormatSpinValue(long double Value, TValueType Type, int Decimal)
{
    if (!std::isfinite(static_cast<double>(Value))) throw EConvertError("Invalid spin edit value");
    if (Type == vtFloat) return FloatToStrF(static_cast<double>(Value), ffFixed, 15, std::clamp(Decimal, 0, 18));
    // nearbyint rounds halves to even under the default rounding mode.
    long double r = std::nearbyint(Value);
    if (std::fabs(r) < 9.0e18L) return Format("%lld", static_cast<long long>(r));
    return FloatToStrF(static_cast<double>(r), ffFixed, 15, 0);
}

bool IsSpinChar(char Key, TValueType Type, bool EditorEnabled, char Separator)
{
    auto c = static_cast<unsigned char>(Key);
    bool valid = c < 32 || Key == '+' || Key == '-' || (Key >= '0' && Key <= '9') ||
                 (Type == vtFloat && Key == Separator);
    if (!EditorEnabled && valid && (c >= 32 || c == 8)) valid = false;
    return valid;
}

TSpinHalf SpinHalfAt(int X, int Y, int Width, int Height)
{
    if (Width <= 0 || Height <= 0) return shTop;
    // Y > H - (H / W) * X, in integers: Y * W > H * (W - X).
    long long lhs = static_cast<long long>(Y) * Width;
    long long rhs = static_cast<long long>(Height) * (Width - X);
    return lhs > rhs ? shBottom : shTop;
}

int SpinEditMinHeight(int BorderHeight, int SystemFontHeight, int FontHeight)
{
    return 4 * BorderHeight + FontHeight + std::min(SystemFontHeight, FontHeight) / 4 + 1;
}
