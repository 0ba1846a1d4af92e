// Shortcut keys and their names.
//
// Names come from a fixed table rather than the keyboard layout, so that a
// menu reads the same on every machine and in every test.
#include "menus.h"

namespace {

struct KeyName {
    WORD Key;
    const char* Name;
};

const KeyName Names[] = {
    {VK_BACK, "BkSp"},       {VK_TAB, "Tab"},         {VK_RETURN, "Enter"},    {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"},     {VK_PRIOR, "PgUp"},      {VK_NEXT, "PgDn"},       {VK_END, "End"},
    {VK_HOME, "Home"},       {VK_LEFT, "Left"},       {VK_UP, "Up"},           {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},       {VK_INSERT, "Ins"},      {VK_DELETE, "Del"},      {VK_MULTIPLY, "Num *"},
    {VK_ADD, "Num +"},       {VK_SUBTRACT, "Num -"},  {VK_DECIMAL, "Num Del"}, {VK_DIVIDE, "Num /"},
    {VK_OEM_PLUS, "+"},      {VK_OEM_MINUS, "-"},     {VK_OEM_COMMA, ","},     {VK_OEM_PERIOD, "."},
    {VK_OEM_2, "/"},         {VK_OEM_1, ";"},         {VK_OEM_4, "["},         {VK_OEM_6, "]"},
};

const struct {
    TShortCut Bit;
    const char* Prefix;
} Modifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

AnsiString KeyToText(WORD key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return AnsiString(char(key));
    if (key >= VK_F1 && key <= VK_F24) return AnsiString().sprintf("F%d", key - VK_F1 + 1);
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return AnsiString().sprintf("Num %d", key - VK_NUMPAD0);
    for (const KeyName& k : Names)
        if (k.Key == key) return k.Name;
    return AnsiString();
}

WORD TextToKey(const AnsiString& text)
{
    for (int key = 1; key < 256; ++key) {
        AnsiString name = KeyToText(WORD(key));
        if (!name.IsEmpty() && name.AnsiCompareIC(text) == 0) return WORD(key);
    }
    return 0;
}

}  // namespace

TShortCut ShortCut(WORD Key, TShiftState Shift)
{
    if (Key > 0xFF) return scNone;
    TShortCut s = Key;
    if (Shift & ssShift) s |= scShift;
    if (Shift & ssCtrl) s |= scCtrl;
    if (Shift & ssAlt) s |= scAlt;
    return s;
}

void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift)
{
    Key = ShortCut & 0xFF;
    Shift = 0;
    if (ShortCut & scShift) Shift |= ssShift;
    if (ShortCut & scCtrl) Shift |= ssCtrl;
    if (ShortCut & scAlt) Shift |= ssAlt;
}

AnsiString ShortCutToText(TShortCut ShortCut)
{
    AnsiString name = KeyToText(ShortCut & 0xFF);
    if (name.IsEmpty()) return name;
    AnsiString text;
    for (const auto& m : Modifiers)
        if (ShortCut & m.Bit) text += m.Prefix;
    return text + name;
}

TShortCut TextToShortCut(const AnsiString& Text)
{
    AnsiString rest = Text;
    TShortCut bits = 0;
    // "Ctrl++" is Ctrl with the plus key: a prefix needs something after it.
    for (bool found = true; found;) {
        found = false;
        for (const auto& m : Modifiers) {
            int n = AnsiString(m.Prefix).Length();
            if (rest.Length() > n && rest.SubString(1, n).AnsiCompareIC(m.Prefix) == 0) {
                bits |= m.Bit;
                rest = rest.SubString(n + 1, rest.Length());
                found = true;
            }
        }
    }
    WORD key = TextToKey(rest);
    if (!key) return scNone;
    return TShortCut(key | bits);
}

AnsiString StripHotkey(const AnsiString& Text)
{
    AnsiString out;
    for (int i = 1; i <= Text.Length(); ++i) {
        if (Text[i] == '&') {
            if (i == Text.Length()) break;
            ++i;
        }
        out += Text[i];
    }
    return out;
}

EMenuError::EMenuError(const AnsiString& msg) : Exception(msg) {}
