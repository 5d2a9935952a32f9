#include "platform/launch.h"

#include <windows.h>

#include <vector>

#include "platform/ansi.h"
#include "platform/handles.h"
#include "platform/program_job.h"
#include "platform/responsive_wait.h"

// The whole command line goes to the system: a cut one would run another command than the one
// built. The system's own limit (32,767 units) makes CreateProcessW fail, which is reported.
LaunchResult LaunchProgram(std::string_view commandLine, int showState, Wait wait) {
    std::wstring wide = ToWide(commandLine);
    // CreateProcessW may write into the command line, so it gets its own buffer.
    std::vector<wchar_t> buffer(wide.begin(), wide.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState & 0x7FFF);
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof security;
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = FALSE;
    PROCESS_INFORMATION process{};

    BOOL created = FALSE;
    DWORD error = 0;
    {
        // A drive without a medium named in the command line fails the start instead of
        // showing the system's critical-error box.
        QuietErrorMode quiet;
        SetLastError(0);
        // No application name: the system finds the program from the start of the command line,
        // adding ".exe" when the path has none (the test program is named without it).
        // A program waited for starts suspended, to be put in a job of its own first.
        created = CreateProcessW(nullptr, buffer.data(), &security, &security, FALSE,
                                 NORMAL_PRIORITY_CLASS | ProgramJob::CreationFlags(wait == Wait::UntilEnd), nullptr, nullptr, &startup,
                                 &process);
        if (!created) error = GetLastError();
    }
    LaunchResult result;
    if (!created) {
        result.error = error;
        return result;
    }

    UniqueHandle thread(process.hThread);
    UniqueHandle processHandle(process.hProcess);
    ProgramJob job;
    if (wait == Wait::UntilEnd) job.Adopt(processHandle.Get(), thread.Get());
    // Beyond that the tool never touches the child's first thread.
    thread.Reset();
    result.started = true;
    if (wait == Wait::UntilEnd) {
        // A program the user ended reports nothing.
        result.endedByUser = WaitAnsweringMessages(processHandle.Get(), job, commandLine) == WaitEnd::EndedByUser;
        DWORD exitCode = 0;
        GetExitCodeProcess(processHandle.Get(), &exitCode);
        result.exitCode = static_cast<int32_t>(exitCode);
    } else {
        result.processId = process.dwProcessId;
    }
    return result;
}
