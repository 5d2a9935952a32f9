#pragma once
// What a running program costs: its CPU time and its private memory. On Windows, GetProcessTimes
// and GetProcessMemoryInfo. Under Wine both know nothing of another process (its times and
// PrivateUsage read 0), so there the benchmark asks the host system about the Unix process that
// runs the Windows one, through Wine's view of /proc.
#include <string>

#include "child_runs.h"

// "Z:\\proc\\" or the like under Wine; empty on Windows.
const std::wstring& HostProc();
// CPU time (user + kernel) so far, in seconds.
double CpuSeconds(Child& child);
// Private memory in bytes: PrivateUsage, or RssAnon of the host process under Wine.
double PrivateBytes(Child& child);
