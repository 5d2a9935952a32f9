#include "report.h"

#include <windows.h>

#include <algorithm>

#include "bench_support.h"
#include "machine.h"

namespace {

struct Row {
    std::string measure, tool, baseline, ratio, target, met;
};

std::string Milliseconds(double seconds) {
    return seconds >= 0.1 ? Format("%.0f ms", seconds * 1000) : Format("%.2f ms", seconds * 1000);
}

std::string Yes(bool met) { return met ? "yes" : "**no**"; }

Row RatioRow(std::string measure, double tool, double baseline, std::string baselineName, double target) {
    double ratio = tool / baseline;
    return {std::move(measure), Milliseconds(tool), Milliseconds(baseline) + " " + baselineName,
            Format("%.2fx", ratio), Format("<= %gx", target), Yes(ratio <= target)};
}

// A start row: the median of the pairs' ratios, with the middle half of them (the lower to the
// upper quartile) beside it; the target is met by that median. The times are each side's median.
Row PairedRow(std::string measure, const StartPairs& pairs, std::string baselineName, double target) {
    std::vector<double> ratios = pairs.Ratios();
    double ratio = Median(ratios);
    return {std::move(measure), Milliseconds(Median(pairs.tool)),
            Milliseconds(Median(pairs.baseline)) + " " + baselineName,
            Format("%.2fx (middle half %.2fx to %.2fx)", ratio, Quantile(ratios, 0.25), Quantile(ratios, 0.75)),
            Format("<= %gx", target), Yes(ratio <= target)};
}

// A baseline below one tick is counted as one tick, so "1.5x" then reads "within one and a half
// ticks of an idle blocking loop"; the absolute values stand beside the ratio.
Row CpuRow(std::string measure, double tool, double baseline, std::string baselineName, double target,
           double tick) {
    double counted = std::max(baseline, tick);
    double ratio = tool / counted;
    std::string ratioText = Format("%.2fx", ratio);
    if (baseline < tick) ratioText += Format(" (baseline counted as %.0f ms)", tick * 1000);
    return {std::move(measure), Milliseconds(tool), Milliseconds(baseline) + " " + baselineName, ratioText,
            target >= 1 ? Format("<= %gx", target) : Format("<= %gx (a fifth)", target), Yes(ratio <= target)};
}

const FileResult* Find(const std::vector<FileResult>& results, const std::string& operation, int megabytes) {
    for (const FileResult& result : results)
        if (result.operation == operation && static_cast<int>(result.megabytes) == megabytes) return &result;
    return nullptr;
}

Row FileRow(const std::vector<FileResult>& results, const std::string& operation, int megabytes,
            const char* what, double target) {
    std::string measure = Format("`%s` of a %d MB %s", operation.c_str(), megabytes, what);
    const FileResult* result = Find(results, operation, megabytes);
    if (!result) return {measure, "not measured", "", "", Format("<= %gx", target), ""};
    Row row = RatioRow(measure, result->operationSeconds, result->readFileSeconds, "(one ReadFile)", target);
    row.measure += Format(" (median of %d)", result->runs);
    return row;
}

std::string Table(const std::vector<Row>& rows) {
    std::string text = "| Measure | Test Builder | Baseline | Ratio | Target | Met |\n"
                       "|---|---:|---:|---:|---|---|\n";
    for (const Row& row : rows)
        text += "| " + row.measure + " | " + row.tool + " | " + row.baseline + " | " + row.ratio + " | " + row.target +
                " | " + row.met + " |\n";
    return text;
}

std::string SizeTable(const std::vector<FileResult>& results, const std::vector<int>& sizes) {
    std::string text = "| Operation |";
    std::string rule = "|---|";
    for (int size : sizes) {
        text += Format(" %d MB |", size);
        rule += "---:|";
    }
    text += " ms per MB, largest / smallest | ratio, largest / smallest |\n" + rule + "---:|---:|\n";
    for (const char* operation :
         {"LoadSettings", "GeneratedTestSourcePath", "ReadWholeFile", "one ReadFile", "one ReadFile, touched buffer"}) {
        std::string name = operation;
        bool baseline = name.rfind("one ReadFile", 0) == 0;
        bool warm = name == "one ReadFile, touched buffer";
        text += baseline ? "| " + name + " (of the log) |" : "| `" + name + "` |";
        double first = 0, last = 0, firstRatio = 0, lastRatio = 0;
        for (int size : sizes) {
            const FileResult* result = Find(results, baseline ? "ReadWholeFile" : operation, size);
            if (!result) {
                text += " - |";
                continue;
            }
            double seconds = warm ? result->warmReadFileSeconds
                                  : baseline ? result->readFileSeconds : result->operationSeconds;
            double perMegabyte = seconds * 1000 / result->megabytes;
            if (first == 0) first = perMegabyte;
            last = perMegabyte;
            double ratio = seconds / result->readFileSeconds;
            if (firstRatio == 0) firstRatio = ratio;
            lastRatio = ratio;
            text += baseline ? Format(" %.1f ms (%.2f ms/MB) |", seconds * 1000, perMegabyte)
                             : Format(" %.1f ms (%.2f ms/MB, %.2fx) |", seconds * 1000, perMegabyte,
                                      seconds / result->readFileSeconds);
        }
        text += first > 0 ? Format(" %.2f |", last / first) : " - |";
        text += firstRatio > 0 && !baseline ? Format(" %.2f |\n", lastRatio / firstRatio) : " - |\n";
    }
    return text;
}

}  // namespace

std::string ReportText(const std::vector<FileResult>& files, const std::vector<int>& sizes,
                       const ProcessResults& processes, const ProcessPlan& plan, bool quick) {
    double tick = CpuTickSeconds();
    std::vector<Row> rows;
    rows.push_back(PairedRow(Format("Start to visible window (median of %d pairs' ratios)", plan.startPairs),
                             processes.bareStart, "(bare dialog)", 1.3));
    rows.push_back(PairedRow(Format("Start to visible window, against the same start-up calls (median of %d pairs' "
                                    "ratios)",
                                    plan.startPairs),
                             processes.startupStart, "(bare dialog with the start-up calls)", 1.05));
    std::string idle = Format("CPU time of the idle window over %.0f s (median of %d%s)", plan.idleSeconds,
                              plan.idleRuns, processes.fromHost ? "; host process, see Method" : "");
    rows.push_back(CpuRow(idle + ", against a blocking loop", Median(processes.toolCpu),
                          Median(processes.blockingCpu), "(bare dialog, blocking loop)", 1.5, tick));
    rows.push_back(CpuRow(idle + ", against a 1 ms sleep loop", Median(processes.toolCpu),
                          Median(processes.sleepingCpu), "(bare dialog, 1 ms sleep loop)", 0.2, tick));
    rows.push_back(CpuRow(Format("CPU time while an outside program runs for %.0f s (median of %d%s)",
                                 plan.waitSeconds, plan.waitRuns, processes.fromHost ? "; host process, see Method" : ""),
                          Median(processes.toolWaitCpu), Median(processes.plainWaitCpu),
                          "(bare dialog, WaitForSingleObject)", 1.5, tick));
    rows.push_back(FileRow(files, "LoadSettings", 10, "settings file", 3));
    rows.push_back(FileRow(files, "GeneratedTestSourcePath", 10, "test file", 3));
    rows.push_back(FileRow(files, "ReadWholeFile", 50, "log", 1.5));
    double toolPrivate = Median(processes.toolPrivate), barePrivate = Median(processes.barePrivate);
    rows.push_back({Format("Private memory after start (median of %d%s)", plan.idleRuns,
                           processes.fromHost ? "; RssAnon of the host process, see Method" : ""),
                    Format("%.0f KiB", toolPrivate / 1024), Format("%.0f KiB (bare dialog)", barePrivate / 1024),
                    barePrivate > 0 ? Format("%.2fx", toolPrivate / barePrivate) : "-", "-", "-"});

    SYSTEMTIME now;
    GetLocalTime(&now);
    std::string text = "# Performance\n\n";
    text += Format("Measured %04d-%02d-%02d by `make bench`%s, on the %s under Wine (build and loader: see "
                   "Machine). The tool against the cheapest program that does the same job; see Method below.\n\n",
                   now.wYear, now.wMonth, now.wDay, quick ? " (quick mode: fewer, shorter runs)" : "", BuildName());
    text += Table(rows);
    if (processes.toolForcedEnds)
        text += Format("\nThe tool did not end on the system close command in %d of its runs and was terminated.\n",
                       processes.toolForcedEnds);
    text += "\n## Cost against file size\n\nMedian time of each reader, its cost per MB and its ratio to one "
            "ReadFile of the same file. A reader whose cost grows linearly with the size keeps its cost per MB "
            "level from the smallest file to the largest. The one ReadFile's own cost per MB drifts with the "
            "size too (caches hold 1 MB, not 100 MB; opening and closing weigh more in a small file); the "
            "last column compares the ratios to it, which takes that drift out.\n\n";
    text += SizeTable(files, sizes);
    text += "\n## Start to visible window, each pair\n\nThe tool and its baseline started in turn, pair by "
            "pair; the first row's pairs are all taken before the second row's. The ratio is the tool's time over "
            "its baseline's in the same pair.\n\n| Pair | Test Builder | Bare dialog | Ratio | Test Builder | Bare "
            "dialog with the start-up calls | Ratio |\n|---:|---:|---:|---:|---:|---:|---:|\n";
    std::vector<double> bareRatios = processes.bareStart.Ratios(), startupRatios = processes.startupStart.Ratios();
    for (size_t pair = 0; pair < bareRatios.size() && pair < startupRatios.size(); ++pair)
        text += Format("| %zu | %s | %s | %.2fx | %s | %s | %.2fx |\n", pair + 1,
                       Milliseconds(processes.bareStart.tool[pair]).c_str(),
                       Milliseconds(processes.bareStart.baseline[pair]).c_str(), bareRatios[pair],
                       Milliseconds(processes.startupStart.tool[pair]).c_str(),
                       Milliseconds(processes.startupStart.baseline[pair]).c_str(), startupRatios[pair]);
    text += "\n## Idle CPU time, each run\n\n| Run | Test Builder | Bare dialog, blocking loop | Bare dialog, "
            "1 ms sleep loop |\n|---:|---:|---:|---:|\n";
    for (size_t run = 0; run < processes.toolCpu.size(); ++run)
        text += Format("| %zu | %s | %s | %s |\n", run + 1, Milliseconds(processes.toolCpu[run]).c_str(),
                       Milliseconds(processes.blockingCpu[run]).c_str(),
                       Milliseconds(processes.sleepingCpu[run]).c_str());
    text += "\n## CPU time while an outside program runs, each run\n\n| Run | Test Builder | Bare dialog, "
            "WaitForSingleObject |\n|---:|---:|---:|\n";
    for (size_t run = 0; run < processes.toolWaitCpu.size(); ++run)
        text += Format("| %zu | %s | %s |\n", run + 1, Milliseconds(processes.toolWaitCpu[run]).c_str(),
                       Milliseconds(processes.plainWaitCpu[run]).c_str());
    text += "\n";
    text += kMethodText;
    text += "\n## Machine\n\n" + MachineText();
    return text;
}
