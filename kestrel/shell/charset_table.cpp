#include "charset_table.h"

namespace {

struct LayoutCharset {
    unsigned short language;
    unsigned char charset;
};

const unsigned char Cyrillic = 204, EastEurope = 238, Greek = 161, Turkish = 162, Baltic = 186;

const LayoutCharset Table[] = {
    {1026, Cyrillic},   {1049, Cyrillic},   {1058, Cyrillic},   {1059, Cyrillic},   {3098, Cyrillic},
    {1029, EastEurope}, {1038, EastEurope}, {1045, EastEurope}, {1048, EastEurope}, {1050, EastEurope},
    {1051, EastEurope}, {1052, EastEurope}, {1060, EastEurope}, {1032, Greek},      {1055, Turkish},
    {1061, Baltic},     {1062, Baltic},     {1063, Baltic},
};

}  // namespace

int CharsetForLayout(unsigned long layout)
{
    unsigned short language = static_cast<unsigned short>(layout & 0xFFFF);
    for (const LayoutCharset& entry : Table)
        if (entry.language == language) return entry.charset;
    return 0;
}
