#include "core/report_texts.h"

#include <vector>

#include "core/log_excerpt.h"

size_t LogLineCount(std::string_view log) { return LogLines(log).size(); }

std::string ShortenedLog(std::string_view log, size_t linesShown, std::string_view logName) {
    std::vector<std::string_view> lines = LogLines(log);
    if (lines.size() <= linesShown) return std::string(log);
    size_t leftOut = lines.size() - linesShown;
    std::string text = std::to_string(leftOut) + (leftOut == 1 ? " earlier line is" : " earlier lines are") +
                       " not shown; the whole log is in " + std::string(logName);
    if (linesShown > 0) text += "\r\n" + std::string(lines[leftOut].data(), log.data() + log.size());
    return text;
}

std::wstring UnusablePathReport(std::wstring_view path) {
    static constexpr std::wstring_view kWhy =
        L"} cannot be used\r\n"
        L"The settings file keeps only paths written in the system's code page and without \"=\", "
        L"and this path has no short (8.3) form that is.";
    std::wstring report;
    report.reserve(1 + path.size() + kWhy.size());
    report.append(L"{", 1);
    report.append(path.data(), path.size());
    report.append(kWhy.data(), kWhy.size());
    return report;
}

std::string ToolExitMessage(int32_t exitCode) {
    switch (exitCode) {
    case 1: return "No parameters specified";
    case 2: return "Test file was not found";
    case 3: return "Test file did not include a [quarex] directive on the first line";
    case 4: return "Invalid parameter";
    case 5: return "Source file specified in the test file was not valid";
    case 6: return "Test file does not have a source= directive";
    case 7: return "Source file specified in the test file was not found";
    default: return {};
    }
}

namespace {

void AppendLine(std::string& report, std::string_view line) {
    if (!report.empty()) report += "\r\n";
    report += line;
}

}  // namespace

std::string MissingSettingsReport(const SettingsRecord& record, bool needsCompiler) {
    std::string report;
    if (record.active.empty()) AppendLine(report, "Please select a test file first");
    if (record.quarex.empty()) AppendLine(report, "Please configure Quarex directory first");
    if (needsCompiler && record.activeCompilerPath.empty())
        AppendLine(report, "Please configure active compiler first");
    return report;
}

std::string ToolFailureReport(std::string_view failureLine, int32_t exitCode) {
    return std::string(failureLine) + "\r\n" + ToolExitMessage(exitCode);
}

std::string NotStartedReport(std::string_view failureLine, std::string_view program,
                             std::string_view reason) {
    std::string report(failureLine);
    AppendLine(report, "Could not start " + std::string(program));
    if (!reason.empty()) report += "\r\n" + std::string(reason);
    return report;
}

std::string StillRunningQuestion(std::string_view program) {
    return std::string(program) + " is still running.\r\nEnd it and close Test Builder?";
}

std::string StopQuestion(std::string_view program) { return std::string(program) + " is still running.\r\nEnd it?"; }

std::string TooDeepFolderReport(std::string_view folder) {
    return "Compile failed\r\nThe folder " + std::string(folder) +
           " is too deep for the compiler: a path in it has 260 characters or more, and the folder has no short "
           "(8.3) form short enough.";
}

std::string UnusableGeneratedSourceReport(std::string_view testFile) {
    return "The generated source path in " + std::string(testFile) +
           " cannot be used\r\nIt holds a double quote, a line break or a NUL character, which no Windows path holds.";
}

std::wstring UnreadSettingsReport(std::wstring_view settingsFile) {
    return std::wstring(settingsFile) +
           L" could not be read when Test Builder started\r\n"
           L"The changes made since are not saved until Test Builder is started again.";
}
