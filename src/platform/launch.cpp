#include "platform/launch.h"

#include <windows.h>

#include <vector>

#include "platform/ansi.h"
#include "platform/handles.h"
#include "platform/responsive_wait.h"

// The whole command line goes to the system: a cut one would run another command than the one
// built. The system's own limit (32,767 units) makes CreateProcessW fail, which is reported.
LaunchResult LaunchProgram(std::string_view commandLine, int showState, bool wait) {
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
    if (!created) return LaunchResult{false, 0, error};

    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    LaunchResult result{true, 0, 0};
    if (wait) {
        // A program the user ended (the tool then closes) reports nothing.
        result.endedByUser = WaitAnsweringMessages(processHandle.Get(), commandLine) == WaitEnd::EndedByUser;
        DWORD exitCode = 0;
        GetExitCodeProcess(processHandle.Get(), &exitCode);
        result.value = static_cast<int32_t>(exitCode);
    } else {
        result.value = static_cast<int32_t>(process.dwProcessId);
    }
    processHandle.Reset();
    threadHandle.Reset();
    return result;
}

std::string SystemErrorText(uint32_t error) {
    wchar_t* text = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr) return {};
    std::wstring message(text, length);
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return ToAnsi(message);
}
