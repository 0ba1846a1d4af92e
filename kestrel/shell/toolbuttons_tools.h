// The tools behind the tool buttons' glyph names, as far as the program has
// them yet.
#ifndef KESTREL_TOOLBUTTONS_TOOLS_H
#define KESTREL_TOOLBUTTONS_TOOLS_H

class P_icon;

// The tool of a glyph name of ToolButtonRows (or of a right-tool name);
// null for a name whose tool the program does not have.
P_icon* BuiltToolForName(const char* name);

#endif
