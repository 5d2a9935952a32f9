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
    bool endedByUser = false;  // after a wait: the user ended the program (the command stops)
};

// Whether LaunchProgram waits for the program's end.
enum class Wait { UntilEnd, No };

// Starts the whole command line (program path first) with the show state, inheriting this
// process's environment and current directory; waits for the end when asked to.
//
// The wait has no time limit and is the one in responsive_wait.h: the windows are painted and
// answer, clicks and keys meant for the tool are dropped, drops and commands wait for the end of
// the command, and the user may end the program (the result then says endedByUser). A program
// waited for runs in a job object of its own (ProgramJob): ending it ends what it started.
LaunchResult LaunchProgram(std::string_view commandLine, int showState, Wait wait);
