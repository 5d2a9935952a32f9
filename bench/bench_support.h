#pragma once
// What every measurement of the benchmark uses: the clock, the statistics, folders of its own, a
// stop with a message, and printf-style texts.
#include <string>
#include <vector>

// Seconds on the performance counter.
double Now();
double Median(std::vector<double> values);
// The value a `fraction` of the way up the sorted values (0.25: the lower quartile), interpolated
// between the two nearest ones.
double Quantile(std::vector<double> values, double fraction);

// The benchmark's own folder under the system's temporary folder (with a trailing "\\"), named
// after its process; a fresh folder of its own inside it; and the removal of a folder.
std::wstring BenchFolder();
std::wstring FreshFolder(const wchar_t* purpose);
void RemoveTree(const std::wstring& folder);

// Stops the benchmark with a message: a measurement that did not happen must not look like one.
[[noreturn]] void Fail(const std::string& what);

// A text as printf writes it (at most 1023 bytes).
std::string Format(const char* format, ...);
// A wide text with every character outside ASCII as "?", for the report and messages.
std::string Narrow(const std::wstring& text);
