#pragma once
// Waiting for an outside program on the user interface thread, without the windows ever
// counting as not responding and without anything the user does acting by surprise.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/program_job.h"

// How a wait ended.
enum class WaitEnd {
    ProgramEnded,  // the program ended by itself
    EndedByUser,   // the user chose to end it (EndWaitedProgram)
};

// Blocks until `process` (started from `commandLine`, in `job`) ends. Meanwhile the thread's windows are
// painted, messages sent to them are answered, the cursor over them is the wait cursor, and
// every message that reaches the queue is taken off it: clicks and keys meant for the tool are
// dropped (TreatQueuedDuringWait) but Esc, which asks the window it was typed in whether to end
// the program (wait_rules::kAskToStop); the rest is dispatched, where the windows hold what must wait
// for the command's end (HoldMessage). Uses no processor time while nothing happens. A WM_QUIT
// met during the wait is posted again after it.
WaitEnd WaitAnsweringMessages(HANDLE process, const ProgramJob& job, std::string_view commandLine);

// True while a LaunchProgram of this thread waits. A window must then not act inside the wait on
// what it is sent (TreatFrameMessageDuringWait says what it does instead).
bool LaunchWaitInProgress();

// The command line of the program the innermost running wait of this thread waits for; ""
// when none runs.
std::string WaitedCommandLine();
// Ends that program, and what it started, at the user's wish: the wait then ends with
// WaitEnd::EndedByUser, also when the program had ended by itself in the meantime.
void EndWaitedProgram();
