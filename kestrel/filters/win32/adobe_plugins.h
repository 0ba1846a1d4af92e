// The plug-in filters found below the plug-in folder: the scan, the list,
// the "&Adobe" submenu of the Image menu, the failed list, and the menu
// command that runs one on the active picture.
#ifndef KESTREL_ADOBE_PLUGINS_H
#define KESTREL_ADOBE_PLUGINS_H

#include <functional>
#include <vector>

#include "ansistring.h"
#include "menus.h"

class TMainForm;
class TCustomTreeScanner;

// One found filter; its index in the list is its menu item's tag.
struct AdobePlugInDesc {
    AnsiString path;  // the file's path, "#", the entry point
    AnsiString name;
};

extern std::vector<AdobePlugInDesc> AdobePlugIns;
// Base names of the ".8bf" files that failed to load in the last scan.
extern std::vector<AnsiString> FailedAdobePlugIns;

using PlugInReport = std::function<void(const AnsiString& pathAndEntry, const AnsiString& category,
                                        const AnsiString& name)>;
// Every filter of one loaded file: its PiPL resources, or only when it has
// none its PIMI resources; entries the file does not export are left out.
void EnumPlugInFilters(HMODULE lib, const AnsiString& path, const PlugInReport& report);

// Rebuilds the list, the submenu and the failed list from folder (nothing
// with use off). imageMenu: the submenu goes after its first separator.
void ScanAdobePlugIns(TCustomTreeScanner* scanner, TMenuItem* imageMenu, bool use, const AnsiString& folder,
                      const TNotifyEvent& onClick);

// The n-th filter's texts, empty out of range.
AnsiString GetAdobePlugInPath(int n);
AnsiString GetAdobePlugInName(int n);

// The menu command's work for filter n on the current picture: a working
// copy, an undo step named after the filter, the run, the result copied
// back or the step dropped. The run's result, or -1 when nothing ran.
int RunAdobePlugIn(TMainForm* form, int n);

#endif
