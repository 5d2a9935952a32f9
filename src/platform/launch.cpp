#include "platform/launch.h"

#include <windows.h>

#include <vector>

#include "platform/ansi.h"
#include "platform/handles.h"

namespace {

// Waits that are running on this thread (a window procedure could, in principle, start another).
thread_local int waitsInProgress = 0;

class WaitInProgress {
public:
    WaitInProgress() { ++waitsInProgress; }
    ~WaitInProgress() { --waitsInProgress; }
    WaitInProgress(const WaitInProgress&) = delete;
    WaitInProgress& operator=(const WaitInProgress&) = delete;
};

// Takes off the queue what the wait handles itself: paint messages (dispatched, so the windows
// are drawn), mouse moves (so that the system asks the window under the pointer for its cursor,
// which is the wait cursor now; the moves themselves act on nothing). Sent messages are
// answered on the way. Clicks, keys and posted messages are left where they are. A WM_QUIT
// met here is kept for posting again after the wait.
void HandleWaitMessages(bool& quit, WPARAM& quitCode) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            quitCode = message.wParam;
        } else if (message.message == WM_PAINT) {
            DispatchMessageW(&message);
        }
    }
    for (UINT move : {WM_MOUSEMOVE, WM_NCMOUSEMOVE}) {
        while (PeekMessageW(&message, nullptr, move, move, PM_REMOVE)) {
        }
    }
}

// Blocks until the process ends; the thread sleeps between messages, so the wait costs no
// processor time.
void WaitAnsweringMessages(HANDLE process) {
    WaitInProgress waiting;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    bool quit = false;
    WPARAM quitCode = 0;
    for (;;) {
        // Messages already waiting count too: the wait below wakes only for new ones.
        HandleWaitMessages(quit, quitCode);
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_PAINT | QS_SENDMESSAGE | QS_MOUSEMOVE, 0);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_FAILED) {
            // Never seen; without a working message wait, a plain one still ends with the program.
            WaitForSingleObject(process, INFINITE);
            break;
        }
    }
    SetCursor(previousCursor);
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace

bool LaunchWaitInProgress() { return waitsInProgress > 0; }

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
    LaunchResult result;
    if (!created) {
        result.error = error;
        return result;
    }

    // The tool never touches the child's first thread.
    CloseHandle(process.hThread);
    UniqueHandle processHandle(process.hProcess);
    result.started = true;
    if (wait) {
        WaitAnsweringMessages(processHandle.Get());
        DWORD exitCode = 0;
        GetExitCodeProcess(processHandle.Get(), &exitCode);
        result.exitCode = static_cast<int32_t>(exitCode);
    } else {
        result.processId = process.dwProcessId;
    }
    return result;
}
