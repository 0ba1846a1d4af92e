// The rules of the spin edit that need no window: reading and writing its
// value as text, which keystrokes it takes, which half of the spin button a
// point is in, and its minimum height.
#ifndef KESTREL_SPINEDIT_MODEL_H
#define KESTREL_SPINEDIT_MODEL_H

#include "ansistring.h"

enum TValueType { vtInt, vtFloat };
enum TSpinHalf { shNone, shTop, shBottom };

// Limits MinValue == MaxValue mean no limit, for reading and writing alike.
long double ClampSpinValue(long double Value, long double MinValue, long double MaxValue);

// The text as a number of the type (integers as the class library reads
// them, floats with DecimalSeparator); false when it is none.
bool ParseSpinText(const AnsiString& Text, TValueType Type, long double& Value);

// vtFloat: fixed notation, Decimal digits (0..18); vtInt: the nearest
// integer, halves to even. EConvertError for NaN or infinity.
AnsiString FormatSpinValue(long double Value, TValueType Type, int Decimal);

// Whether a typed character may reach the edit: control characters, signs,
// digits and (vtFloat) the decimal separator. Without EditorEnabled only
// control characters other than backspace pass.
bool IsSpinChar(char Key, TValueType Type, bool EditorEnabled, char Separator);

// The half under a point of a Width x Height button, split by the diagonal
// from bottom-left to top-right (the lower-right half steps down).
TSpinHalf SpinHalfAt(int X, int Y, int Width, int Height);

// 4 borders + the font's height + a quarter of the smaller of the system
// font's and the font's heights + 1.
int SpinEditMinHeight(int BorderHeight, int SystemFontHeight, int FontHeight);

#endif
