#pragma once
// Starting the outside programs.
#include <cstdint>
#include <string>
#include <string_view>

struct LaunchResult {
    bool started = false;  // false: no process was created (see error)
    int32_t value = 0;     // with wait: the exit code; without: the process ID
    uint32_t error = 0;    // the system's error code when nothing started
};

// Starts the whole command line (program path first) with the show state, inheriting this
// process's environment and current directory; waits for the end when asked to.
LaunchResult LaunchProgram(std::string_view commandLine, int showState, bool wait);

// The system's text for an error code, without a trailing line end.
std::string SystemErrorText(uint32_t error);
