#include "ui/during_wait.h"

#include "platform/held_messages.h"
#include "platform/responsive_wait.h"
#include "core/wait_rules.h"
#include "ui/frame_state.h"
#include "ui/feedback.h"
#include "core/command_lines.h"
#include "core/report_texts.h"

namespace {

// Asked once at a time: a second close, or an Esc, while a question is up (from the taskbar)
// is the same wish. The question is asked inside the wait, so the program may end while it is
// up: Yes then still acts, No goes on as if nothing was asked.
thread_local bool asking = false;

bool AskedToEnd(const std::string& question) {
    if (asking) return false;
    asking = true;
    bool endIt = AskYesNo(question);
    asking = false;
    return endIt && LaunchWaitInProgress();
}

std::string WaitedProgram() { return std::string(CommandLineProgram(WaitedCommandLine())); }

// Yes ends the program and the whole tool, the Configure dialog included (each modal loop ends
// on the quit, which the wait posts again once the program has ended).
void AskToEndWaitedProgram() {
    if (!AskedToEnd(StillRunningQuestion(WaitedProgram()))) return;
    EndWaitedProgram();
    // Nothing else is to run: what was held goes.
    DropHeldMessages();
    PostQuitMessage(0);
}

// Esc: Yes ends the program, the command stops where it is, and the tool goes on.
void AskToStopWaitedProgram() {
    if (AskedToEnd(StopQuestion(WaitedProgram()))) EndWaitedProgram();
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
        AskToEndWaitedProgram();
        return AnswerWith(dialog, 0);
    case FrameDuringWait::AskToStop:
        AskToStopWaitedProgram();
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
