#include "platform/responsive_wait.h"

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
              wait_rules::kHtMinButton == HTMINBUTTON && wait_rules::kHtClose == HTCLOSE,
              "the wait rules use Windows' own message numbers");

namespace {

// One running wait; a window procedure could, in principle, start another inside it.
struct RunningWait {
    HANDLE process;
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
    if (TreatQueuedDuringWait(message.message, message.wParam) == QueuedDuringWait::Drop) return;
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

}  // namespace

bool LaunchWaitInProgress() { return innermost != nullptr; }

std::string WaitedCommandLine() { return innermost ? innermost->commandLine : std::string(); }

void EndWaitedProgram() {
    if (!innermost) return;
    innermost->endedByUser = true;
    TerminateProcess(innermost->process, ERROR_CANCELLED);
}

WaitEnd WaitAnsweringMessages(HANDLE process, std::string_view commandLine) {
    RunningWait wait{process, std::string(commandLine), false, false, 0, innermost};
    innermost = &wait;
    HCURSOR previousCursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    for (;;) {
        // Messages already there count too: the wait below wakes only for new ones.
        TakeMessages(wait);
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &process, INFINITE, QS_ALLINPUT, 0);
        if (woke == WAIT_OBJECT_0) break;
        if (woke == WAIT_FAILED) {
            // Never seen; without a working message wait, a plain one still ends with the program.
            WaitForSingleObject(process, INFINITE);
            break;
        }
    }
    // What came while the program was ending belongs to the wait too.
    TakeMessages(wait);
    innermost = wait.outer;
    SetCursor(previousCursor);
    if (wait.quit) PostQuitMessage(static_cast<int>(wait.quitCode));
    return wait.endedByUser ? WaitEnd::EndedByUser : WaitEnd::ProgramEnded;
}
