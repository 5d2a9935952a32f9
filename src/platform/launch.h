#pragma once
// Starting the outside programs.
#include <cstdint>
#include <string>
#include <string_view>

struct LaunchResult {
    bool started = false;    // false: no process was created (see error)
    int32_t exitCode = 0;    // after a wait: the program's exit code
    uint32_t processId = 0;  // without a wait: the running program's process ID
    uint32_t error = 0;      // the system's error code when nothing started
};

// Starts the whole command line (program path first) with the show state, inheriting this
// process's environment and current directory; waits for the end when asked to.
//
// The wait has no time limit and acts on no input: clicks, keys and posted messages stay in the
// queue for the loop that runs after it. Meanwhile the thread's windows are repainted and
// messages sent to them are answered (so the system never counts them as not responding), and
// the wait cursor shows over them. A WM_QUIT it comes across is posted again once it ends.
LaunchResult LaunchProgram(std::string_view commandLine, int showState, bool wait);

// True while a LaunchProgram of this thread waits. A window that is sent a command, a click, a
// drop or a system command then must not act on it inside the wait: it posts it to itself
// again, so that it runs after the wait, behind the input that came before it.
bool LaunchWaitInProgress();
