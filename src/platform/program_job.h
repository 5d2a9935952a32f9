#pragma once
// A job object of its own for each program the tool waits for, so that ending the program ends
// what it started too: a framework tool's or a compiler's helpers would otherwise run on,
// hidden, holding the test file, the generated source or the log.
#include <windows.h>

#include "platform/handles.h"

class ProgramJob {
public:
    // The creation flags of a program that goes into a job (JobCreationFlags): suspended, and
    // out of a job the tool runs in where that job lets it.
    static DWORD CreationFlags(bool waits);
    // Puts the program, created suspended, into a new job and lets its first thread run. Where
    // the system refuses (Windows 7 cannot put a program that is in a job into another), the
    // program runs without one.
    void Adopt(HANDLE process, HANDLE thread);
    // Ends every program in the job; the program alone where it is in none.
    void End(HANDLE process, UINT exitCode) const;

private:
    UniqueHandle job_;
};
