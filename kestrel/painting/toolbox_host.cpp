#include "toolbox_host.h"

ToolBoxHostServices ToolBoxHost;

GridSettings CurrentGridSettings() { return ToolBoxHost.gridSettings ? ToolBoxHost.gridSettings() : GridSettings(); }
