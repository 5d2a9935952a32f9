#include "platform/launch.h"

#include <windows.h>

#include <vector>

#include "platform/ansi.h"
#include "platform/handles.h"
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
        created = CreateProcessW(nullptr, buffer.data(), &security, &security, FALSE, NORMAL_PRIORITY_CLASS,
                                 nullptr, nullptr, &startup, &process);
        if (!created) error = GetLastError();
    }
    LaunchResult result;
    if (!created) {
        result.error = error;
        return result;
    }

    // The tool never touches the child's first thread.
    CloseHandle(process.hThread);
    UniqueHandle processHandle(process.hProcess);
    result.started = true;
    if (wait == Wait::UntilEnd) {
        // A program the user ended (the tool then closes) reports nothing.
        result.endedByUser = WaitAnsweringMessages(processHandle.Get(), commandLine) == WaitEnd::EndedByUser;
        DWORD exitCode = 0;
        GetExitCodeProcess(processHandle.Get(), &exitCode);
        result.exitCode = static_cast<int32_t>(exitCode);
    } else {
        result.processId = process.dwProcessId;
    }
    return result;
}
