// Builds a component from the template library beside the program, loads it
// as the host does and runs it over a picture.
#ifndef KESTREL_TESTS_COMPONENT_HARNESS_H
#define KESTREL_TESTS_COMPONENT_HARNESS_H

#include "formula_component.h"
#include "formula_files.h"
#include "formula_harness.h"

#include "winapi.h"

typedef const char* (*GetDescriptor)();
typedef int(__stdcall* ProcessFunction)(void*, int);

struct ComponentProcessBlock {
    uint32_t window;
    const uint32_t* source;
    uint32_t* destination;
    int width, height, left, top, right, bottom, hasSelection, preview;
    uint32_t rest[9];
};

template <class F> F Export(HMODULE dll, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

inline std::string TemplatePath() { return std::string(KESTREL_BINARY_DIR) + "/bin/ffksc.dll"; }

inline std::string TempFile(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

// The built file's path, or "" when Make refused.
inline std::string BuildComponent(FormulaCode& code, const FormulaCompilation& compiled, const FormulaSet& set)
{
    FormulaComponentCode parts;
    const int order[4] = {CODE_SETUP, CODE_RED, CODE_GREEN, CODE_BLUE};
    for (int k = 0; k < 4; ++k) {
        parts.code[k] = code.Code(order[k]);
        parts.size[k] = compiled.size[order[k]];
    }
    // One name per process: ctest runs the tests of this file side by side.
    std::string name = "formula_test_" + std::to_string(GetCurrentProcessId()) + ".ksc";
    std::string templ, built, path = TempFile(name.c_str());
    if (!ReadWholeFile(TemplatePath(), templ) || !BuildFormulaComponent(templ, set, parts, built) ||
        !WriteWholeFile(path, built))
        return "";
    return path;
}

// Runs the component over the whole picture; values are the value block
// (one slot per named slider). desc receives the descriptor.
inline std::vector<uint32_t> RunComponent(const std::string& path, const oracle::Picture& pic, bool hasSelection,
                                          std::vector<int> values, std::string* desc = nullptr)
{
    std::vector<uint32_t> out(pic.pixels.size(), kUntouched);
    HMODULE dll = LoadLibraryA(path.c_str());
    if (!dll)
        return {};
    auto describe = Export<GetDescriptor>(dll, "KSCGETDESC");
    auto process = Export<ProcessFunction>(dll, "KSCPROCESS");
    if (describe && process) {
        if (desc)
            *desc = describe();
        ComponentProcessBlock block{0, pic.pixels.data(), out.data(), pic.width, pic.height, 0, 0,
                                    pic.width - 1, pic.height - 1, hasSelection, 1, {}};
        process(&block, 4493);
        process(values.data(), 4494);
        process(&block, 4496);
        process(nullptr, 4497);
    }
    FreeLibrary(dll);
    DeleteFileA(path.c_str());
    return out;
}

#endif
