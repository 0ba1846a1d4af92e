// The host callbacks a running plug-in filter calls: the buffer, handle,
// image services and property suites, colour services, and the record's
// other procs. The callbacks carry no context, so they work on the one run
// in progress (CurrentPlugInRun); the program runs one filter at a time.
#ifndef KESTREL_PLUGIN_SERVICES_H
#define KESTREL_PLUGIN_SERVICES_H

#include <functional>
#include <string>
#include <vector>

#include "buffer.h"
#include "plugin_api.h"
#include "plugin_tiles.h"

const int PlugInHandleSlots = 1024;

// A handle is the address of its slot's block pointer, so *h is the block.
struct PSHandleSlot {
    char* block = nullptr;
    int32_t size = 0;
    bool used = false;
};

struct PlugInRun {
    Buffer* input = nullptr;
    PlugInTiles* tiles = nullptr;
    FilterRecord* record = nullptr;
    bool interpolation = true;
    // Colour picker: takes 0x00RRGGBB and a prompt, answers the chosen colour.
    std::function<unsigned long(unsigned long colour, const std::string& prompt)> pickColour;
    std::function<bool()> abort;                   // true: the user cancelled
    std::function<void(int32_t done, int32_t total)> progress;
    DisplayPixelsProc displayPixels = nullptr;
    std::vector<PSHandleSlot> handles = std::vector<PSHandleSlot>(PlugInHandleSlots);

    PlugInRun() = default;
    PlugInRun(const PlugInRun&) = delete;
    PlugInRun& operator=(const PlugInRun&) = delete;
    // Frees every block the filter left in the table.
    ~PlugInRun();
};

extern PlugInRun* CurrentPlugInRun;

// Points the record's suites and procs at the host's.
void InstallHostProcs(FilterRecord& r);

// The suites themselves, for tests and for the fixture-free checks.
extern BufferProcs HostBufferProcs;
extern HandleProcs HostHandleProcs;
extern ImageServicesProcs HostImageServicesProcs;
extern PropertyProcs HostPropertyProcs;
OSErr HostColorServices(ColorServicesInfo* info);
OSErr HostAdvanceState();

#endif
