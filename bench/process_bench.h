#pragma once
// The process measurements: start to a visible window, idle CPU time and memory, and CPU time
// while an outside program runs, each against its baseline.
#include <string>
#include <vector>

// The programs the process measurements start.
struct Programs {
    std::wstring tool;        // TestBuilder.exe
    std::wstring bare;        // bare_dialog.exe
    std::wstring startup;     // startup_dialog.exe: the bare dialog making the tool's start-up calls
    std::wstring outside;     // outside_program.exe: sleeps, standing for the framework tool
};

// Seconds from CreateProcess to a visible window, started in turn: the tool, then the baseline,
// then the tool again, and so on. Entry i of each side belongs to pair i.
struct StartPairs {
    std::vector<double> tool, baseline;
    std::vector<double> Ratios() const;  // the tool's time over the baseline's, pair by pair
};

// Start and idle cost of the tool and of the bare dialogs, and the tool's cost while it waits for
// an outside program, each started as a separate process from a copy in a fresh folder.
struct ProcessResults {
    // The tool against the bare dialog, and against the bare dialog making the tool's start-up calls.
    StartPairs bareStart, startupStart;
    // CPU time (user + kernel) of the open, idle window over the idle period, in seconds.
    std::vector<double> toolCpu, blockingCpu, sleepingCpu;
    // PrivateUsage in bytes once the window is up and settled.
    std::vector<double> toolPrivate, barePrivate;
    // CPU time while an outside program runs for waitSeconds: the tool running "&Add routines",
    // and the bare dialog waiting for the same program with a plain WaitForSingleObject.
    std::vector<double> toolWaitCpu, plainWaitCpu;
    double idleSeconds = 0;
    double waitSeconds = 0;
    bool fromHost = false;   // CPU and memory read from the host's /proc (under Wine)
    int toolForcedEnds = 0;  // runs in which the tool did not end on the system close command
};
// How many runs each process measurement makes, and how long the idle and waiting ones last.
struct ProcessPlan {
    int startPairs = 0;
    int idleRuns = 0;
    double idleSeconds = 0;
    int waitRuns = 0;
    double waitSeconds = 0;
};
ProcessResults MeasureProcesses(const Programs& programs, const ProcessPlan& plan);
