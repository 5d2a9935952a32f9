#include "platform/responsive_wait.h"

#include "platform/system_functions.h"
#include "core/system_limits.h"
#include "core/wait_rules.h"

static_assert(wait_rules::kSetCursor == WM_SETCURSOR && wait_rules::kNcMouseMove == WM_NCMOUSEMOVE &&
              wait_rules::kNcXButtonDblClk == WM_NCXBUTTONDBLCLK && wait_rules::kKeyFirst == WM_KEYFIRST &&
              wait_rules::kSysKeyDown == WM_SYSKEYDOWN && wait_rules::kSysKeyUp == WM_SYSKEYUP &&
              wait_rules::kSysChar == WM_SYSCHAR && wait_rules::kKeyLast == WM_KEYLAST &&
              wait_rules::kCommand == WM_COMMAND && wait_rules::kSysCommand == WM_SYSCOMMAND &&
              wait_rules::kMouseFirst == WM_MOUSEFIRST && wait_rules::kMouseLast == WM_MOUSELAST &&
              wait_rules::kDropFiles == WM_DROPFILES && wait_rules::kScClose == SC_CLOSE &&
              wait_rules::kVkSpace == VK_SPACE && wait_rules::kVkF4 == VK_F4 &&
              wait_rules::kHtCaption == HTCAPTION && wait_rules::kHtSysMenu == HTSYSMENU &&
              wait_rules::kHtMinButton == HTMINBUTTON && wait_rules::kHtClose == HTCLOSE &&
              wait_rules::kVkEscape == VK_ESCAPE && wait_rules::kAskToStop >= WM_APP &&
              system_limits::kQsAllInputWindows7 == QS_ALLINPUT,
              "the wait rules use Windows' own message numbers");

namespace {

// One running wait; a window procedure could, in principle, start another inside it.
struct RunningWait {
    HANDLE process;
    const ProgramJob* job;
    std::string commandLine;
    bool endedByUser = false;
    bool quit = false;
    WPARAM quitCode = 0;
    RunningWait* outer;
};

thread_local RunningWait* innermost = nullptr;

// What the wait does with one message it took off the queue.
void Treat(RunningWait& wait, MSG& message) {
    if (message.message == WM_QUIT) {
        wait.quit = true;
        wait.quitCode = message.wParam;
        return;
    }
    switch (TreatQueuedDuringWait(message.message, message.wParam)) {
    case QueuedDuringWait::Drop: return;
    case QueuedDuringWait::AskToStop:
        // Esc: the window it was typed in asks whether to end the program.
        if (HWND window = GetAncestor(message.hwnd, GA_ROOT)) SendMessageW(window, wait_rules::kAskToStop, 0, 0);
        return;
    case QueuedDuringWait::Dispatch: break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// Takes every message off the queue: paint, timer and posted messages are dispatched (the
// windows hold what must not act now); input is dispatched only where it moves, minimises or
// closes a window or opens its window menu. Posted messages and input are taken before the
// messages sent meanwhile (a plain PeekMessageW answers those first), so that what another
// program posted before it sent something is also held before it.
void TakeMessages(RunningWait& wait) {
    MSG message;
    for (;;) {
        if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_INPUT | PM_QS_PAINT) ||
            PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            Treat(wait, message);
        else
            break;
    }
}

// Sleeps until the program ends (false) or a message comes (true). A mask the system refuses
// (Windows 7 and touch) is narrowed; without any, the wait looks at the queue every 50 ms,
// never sleeping through the user's input until the program ends.
bool SleepUntilMessage(HANDLE process, DWORD& mask) {
    for (;;) {
        DWORD woke =
            mask ? MsgWaitForMultipleObjectsEx(1, &process, INFINITE, mask, 0) : WaitForSingleObject(process, 50);
        if (woke == WAIT_OBJECT_0) return false;
        if (woke != WAIT_FAILED) return true;
        if (mask == 0) return false;  // the program's own handle refused: nothing to wait for
        mask = NarrowerWakeMask(mask);
    }
}

}  // namespace

bool LaunchWaitInProgress() { return innermost != nullptr; }

std::string WaitedCommandLine() { return innermost ? innermost->commandLine : std::string(); }

void EndWaitedProgram() {
    if (!innermost) return;
    innermost->endedByUser = true;
    innermost->job->End(innermost->process, ERROR_CANCELLED);
}

WaitEnd WaitAnsweringMessages(HANDLE process, const ProgramJob& job, std::string_view commandLine) {
    RunningWait wait{process, &job, std::string(commandLine), false, false, 0, innermost};
    innermost = &wait;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    // Touch and pen wake the wait only where the mask names them (Windows 8 and later).
    static const DWORD widest = WaitWakeMask(User32Function<void*>("GetPointerType") != nullptr);
    DWORD mask = widest;
    do {
        // Messages already there count too: the wait below wakes only for new ones.
        TakeMessages(wait);
    } while (SleepUntilMessage(process, mask));
    // What came while the program was ending belongs to the wait too.
    TakeMessages(wait);
    innermost = wait.outer;
    SetCursor(previousCursor);
    if (wait.quit) PostQuitMessage(static_cast<int>(wait.quitCode));
    return wait.endedByUser ? WaitEnd::EndedByUser : WaitEnd::ProgramEnded;
}
