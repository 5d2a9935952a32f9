#pragma once
// The file measurements: the tool's readers on large files against one ReadFile.
#include <string>
#include <vector>

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
