#pragma once
// Inputs of any size: a compiler log far longer than a screen, and a settings file with a line
// of 1 GB, each against one ReadFile of what it has to read, with the memory it added.
#include <string>
#include <vector>

struct LargeInputResult {
    std::string measure;
    std::string baseline;
    int runs = 0;
    double operationSeconds = 0;  // medians
    double readFileSeconds = 0;
    double addedBytes = 0;  // the process's peak working set after the first run over the one before
};
// Runs before anything else that reads large files, so that its memory is its own.
std::vector<LargeInputResult> MeasureLargeInputs(bool quick);
