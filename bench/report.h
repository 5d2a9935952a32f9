#pragma once
// The report of a benchmark run: the table of measures against their baselines and targets, the
// cost against file size, each run, the method and the machine, in Markdown.
#include <string>
#include <vector>

#include "file_bench.h"
#include "process_bench.h"

std::string ReportText(const std::vector<FileResult>& files, const std::vector<int>& sizes,
                       const ProcessResults& processes, const ProcessPlan& plan, bool quick);

// The report's Method section (method.cpp).
extern const char* const kMethodText;
