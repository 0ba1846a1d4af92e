// The process-wide registry of raster-font faces, and its building blocks.
#ifndef PIXMILL_RFONT_REGISTRY_H
#define PIXMILL_RFONT_REGISTRY_H

#include <stddef.h>

#include <memory>
#include <vector>

#include "rfont.h"

// The DESC bytes the registry keeps.
struct FaceDesc {
    unsigned char size, rowBytes, first, last, spacing, spaceWidth, extra;
};

class FontRegistry {
public:
    FontRegistry() = default;
    FontRegistry(const FontRegistry&) = delete;
    FontRegistry& operator=(const FontRegistry&) = delete;
    FontRegistry(FontRegistry&&) = default;
    // Frees the prepared data of the entries it replaces.
    FontRegistry& operator=(FontRegistry&& other);
    ~FontRegistry() { FreeAllPrepared(); }

    // Entries point into files: reserve room for every file before adding.
    std::vector<RFontFile> files;
    std::vector<RFontEntry> entries;

    RFontFile& AddFile(const char* name, unsigned long size, unsigned long timeLow, unsigned long timeHigh,
                       int version);
    // At its sorted place: after the families that sort before it (ignoring
    // case), and before any face of its family with the same size or larger.
    void AddFace(const char* family, int fileIndex, int offset, const FaceDesc& d);
    // Appends an entry read back from the cache, in stored order.
    RFontEntry& AppendEntry();
    char* KeepName(const char* s, size_t length);
    void FreeAllPrepared();

private:
    std::vector<std::unique_ptr<char[]>> names_;
};

// The process's registry; built by RFont::InitReg.
FontRegistry& TheRegistry();
bool RegistryBuilt();
void SetRegistry(FontRegistry&& r);
// Forgets the registry so that the next InitReg builds it again. Every RFont
// must have released its entry first.
void ResetRegistry();

// ASCII case-insensitive, as family names are compared.
int CompareFamily(const char* a, const char* b);
// Index of the first entry of e's family.
int FamilyStart(const FontRegistry& r, const RFontEntry* e);
void FreePrepared(RFontEntry& e);

#endif
