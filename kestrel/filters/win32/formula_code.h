// Executable memory for the four compiled routines, with an inaccessible
// page after them, and the compile and run entry points of the program.
#ifndef KESTREL_FORMULA_CODE_H
#define KESTREL_FORMULA_CODE_H

#include "formula_compiler.h"
#include "formula_run.h"

class Buffer;

class FormulaCode {
public:
    FormulaCode();   // raises EOutOfMemory when no executable memory can be had
    ~FormulaCode();
    FormulaCode(const FormulaCode&) = delete;
    FormulaCode& operator=(const FormulaCode&) = delete;

    unsigned char* Code(int buffer) const { return block_ + buffer * kFormulaCodeSize; }
    FormulaRoutines Routines() const;

private:
    unsigned char* block_;
};

// The formula context with its tables filled, shared by all runs.
FormulaContext& ProgramFormulaContext();

void CompileFormulas(FormulaCode& code, const char* const texts[3], FormulaCompilation& out);

// Target has source's size; with hasSelection only pixels whose source top
// byte is set are written. Returns false when stopped through the hooks.
bool RunCompiledFormulas(FormulaCode& code, const int ctl[8], Buffer& source, Buffer& target,
                         bool hasSelection, FormulaRunHooks* hooks);

#endif
