#include "startupsteps.h"

AnsiString ProgramDirOf(const AnsiString& argv0)
{
    for (int i = argv0.Length(); i >= 1; --i)
        if (argv0[i] == '\\' || argv0[i] == ':') return argv0.SubString(1, i);
    return AnsiString();
}

int ToolPanelButtonsHeight(int lastToolGroup, bool useComponents)
{
    int rows = (lastToolGroup + 2 + (useComponents ? 0 : 1)) / 2;
    return rows * 28;
}
