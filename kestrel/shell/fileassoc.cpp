#include "fileassoc.h"

const char* KestrelProgId = "Kestrel";

AnsiString SplitExtensionList(AnsiString& list)
{
    int semicolon = list.Pos(";");
    AnsiString item = semicolon ? list.SubString(1, semicolon - 1) : list;
    list = semicolon ? list.SubString(semicolon + 1, list.Length() - semicolon) : AnsiString();
    return item.Length() > 1 ? item.SubString(2, item.Length() - 1) : AnsiString();
}
