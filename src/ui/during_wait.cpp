#include "ui/during_wait.h"

#include "platform/held_messages.h"
#include "platform/responsive_wait.h"
#include "core/wait_rules.h"
#include "ui/frame_state.h"
#include "ui/feedback.h"
#include "core/command_lines.h"
#include "core/report_texts.h"

namespace {

// Asked once at a time: a second close while the question is up (from the taskbar) is the same
// wish.
thread_local bool asking = false;

// The question is asked inside the wait, so the program may end while it is up: Yes then still
// closes the tool, No goes on as if nothing was asked.
void AskToEndWaitedProgram(HWND dialog, LPARAM lParam) {
    if (asking) return;
    asking = true;
    bool endIt = AskYesNo(StillRunningQuestion(CommandLineProgram(WaitedCommandLine())));
    asking = false;
    if (!endIt || !LaunchWaitInProgress()) return;
    EndWaitedProgram();
    // Nothing else is to run: the window closes as soon as the command has returned.
    DropHeldMessages();
    HoldMessage(MSG{dialog, WM_SYSCOMMAND, SC_CLOSE, lParam, static_cast<DWORD>(GetMessageTime()), {}});
}

}  // namespace

bool AnswerDuringWait(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool closingEndsTool) {
    switch (TreatFrameMessageDuringWait(message, wParam, closingEndsTool)) {
    case FrameDuringWait::Pass:
        return false;
    case FrameDuringWait::Hold:
        HoldMessage(MSG{dialog, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}});
        return AnswerWith(dialog, 0);
    case FrameDuringWait::AskToEnd:
        AskToEndWaitedProgram(dialog, lParam);
        return AnswerWith(dialog, 0);
    case FrameDuringWait::WaitCursor:
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return AnswerWith(dialog, TRUE);
    }
    return false;
}

bool DispatchHeldMessage() {
    MSG message;
    if (LaunchWaitInProgress() || !TakeHeldMessage(message)) return false;
    DispatchMessageW(&message);
    return true;
}
