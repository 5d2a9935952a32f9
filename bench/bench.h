#pragma once
// The benchmark of Test Builder (`make bench`): what the tool costs its user, measured side by
// side with the cheapest program that does the same job. It measures; it never fails on a timing.
#include <windows.h>

#include <string>
#include <vector>

// Seconds on the performance counter.
double Now();
double Median(std::vector<double> values);
// The value a `fraction` of the way up the sorted values (0.25: the lower quartile), interpolated
// between the two nearest ones.
double Quantile(std::vector<double> values, double fraction);

// A folder of its own under the system's temporary folder (with a trailing "\"), and its removal.
std::wstring FreshFolder(const wchar_t* purpose);
void RemoveTree(const std::wstring& folder);

// Stops the benchmark with a message: a measurement that did not happen must not look like one.
[[noreturn]] void Fail(const std::string& what);

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
ProcessResults MeasureProcesses(const Programs& programs, int startPairs, int idleRuns, double idleSeconds,
                                int waitRuns, double waitSeconds);

// One file operation against reading the same bytes with one ReadFile call.
struct FileResult {
    std::string operation;  // "LoadSettings", "GeneratedTestSourcePath", "ReadWholeFile"
    double megabytes = 0;   // the file's actual size
    int runs = 0;
    double operationSeconds = 0;  // medians
    double readFileSeconds = 0;
    // The same ReadFile into a buffer that is already allocated and touched: what is left of the
    // baseline when taking fresh memory from the system costs nothing.
    double warmReadFileSeconds = 0;
};
std::vector<FileResult> MeasureFiles(const std::vector<int>& megabytes, bool quick);

// An operation on an input of any size against one ReadFile of what it has to read, with the
// most memory the operation added to the process (its peak working set over the one before it).
struct LargeInputResult {
    std::string measure;
    std::string baseline;
    int runs = 0;
    double operationSeconds = 0;  // medians
    double readFileSeconds = 0;
    double addedBytes = 0;
};
// Runs before anything else that reads large files, so that its memory is its own.
std::vector<LargeInputResult> MeasureLargeInputs(bool quick);
