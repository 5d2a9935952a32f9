#pragma once
// The machine the figures come from, for the report.
#include <string>

// Which build the figures come from: the 32-bit release, or the 64-bit build of the same sources
// that machines without 32-bit support test instead.
const char* BuildName();
// The report's Machine section: the build, the processor and memory, Wine or Windows.
std::string MachineText();
// GetProcessTimes moves in whole ticks of the system clock (usually 15.6 ms on Windows).
double CpuTickSeconds();
