// The command lines of the outside programs and the texts of the tool's reports.
//
// Input: the settings fields the commands read (quarex, active, activeCompilerPath,
// activeIncludeDir), a generated test source path, a failure line, a program name and a reason
// (each ended by a backslash and one more byte, a doubled backslash standing for one), then an
// exit code taken from the input's last bytes (half the time from -1 to 9, else any 32-bit value).
//
// Properties: every command line starts with the quoted program path and holds each argument
// quoted at its place (its closing backslashes doubled), followed by its switches; split by the
// system's rules (CommandLineToArgvW's, backslashes before quotes included) it gives back exactly
// the program, the arguments and the switches, for stored paths without a double quote inside
// (a program path may stand in its own quotes) and for every generated source path that is not
// refused (one holding a double quote, NUL, CR or LF is). The test program
// is the generated source path with its name cut before the name's last "." (and ".exe" added
// where the name keeps a "."), and the log name the source name with ".log" for its last
// extension or added to a name without one. Reports are
// their lines joined by CR LF: the missing settings in their fixed order, the failure line and
// the exit code's text (which is empty outside 1 to 7), the "Could not start" report. A log
// (the reason and the failure line on two lines) cut to its last lines (exit code mod 16) keeps
// those lines' bytes after one line that counts the others and names the log. The reason read
// from its end gives its lines in the opposite order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "core/command_line_split.h"
#include "core/command_lines.h"
#include "core/generated_source_check.h"
#include "core/log_excerpt.h"
#include "core/report_texts.h"

namespace {

using Pieces = std::vector<std::string>;

std::string Joined(const Pieces& pieces) {
    std::string joined;
    for (const std::string& piece : pieces) joined += "[" + piece + "]";
    return joined;
}

// Whether the system's split of a command line can give a path back: no double quote inside it
// (a program path may stand in its own quotes). No Windows path holds one; a generated source
// path that does is refused before any command line is built.
bool Splittable(std::string_view path, bool program) {
    if (program) path = UnquotedProgram(path);
    return !fuzz::Contains(path, '"');
}

// A command line is the quoted program followed by exactly `rest`; a program path that comes
// with its own quotes at both ends stands as it is.
void RequireCommandLine(const std::string& line, const std::string& program, const std::string& rest) {
    bool ownQuotes = program.size() >= 2 && program.front() == '"' && program.back() == '"';
    std::string quotedProgram = ownQuotes ? program : Quoted(program);
    FUZZ_REQUIRE(fuzz::StartsWith(line, quotedProgram), line, program);
    FUZZ_REQUIRE(line.substr(quotedProgram.size()) == rest, line, rest);
}

void CheckCommandLines(const SettingsRecord& record, const std::string& source) {
    for (const std::string* text : {&record.quarex, &record.active, &source}) {
        std::string quoted = Quoted(*text);
        FUZZ_REQUIRE(quoted.size() == text->size() + 2 && quoted.front() == '"' && quoted.back() == '"' &&
                         quoted.substr(1, text->size()) == *text,
                     *text, quoted);
    }

    std::string add = AddCommandLine(record);
    std::string sequence = SequenceCommandLine(record);
    std::string generate = GenerateCommandLine(record);
    std::string compile = CompileCommandLine(record, source);
    RequireCommandLine(add, record.quarex, " " + QuotedArgument(record.active) + " /add");
    RequireCommandLine(sequence, record.quarex, " " + QuotedArgument(record.active) + " /seq");
    RequireCommandLine(generate, record.quarex, " " + QuotedArgument(record.active));
    RequireCommandLine(compile, record.activeCompilerPath,
                       " /I" + QuotedArgument(record.activeIncludeDir) + " /Q /L " + QuotedArgument(source));

    // Split by the system's rules, backslashes before quotes included, each command line gives
    // back exactly its program and arguments; a generated source that could not be given back
    // is refused.
    std::string quarex(UnquotedProgram(record.quarex)), compiler(UnquotedProgram(record.activeCompilerPath));
    if (Splittable(record.quarex, true) && Splittable(record.active, false)) {
        FUZZ_REQUIRE(SplitCommandLine(add) == (Pieces{quarex, record.active, "/add"}), add);
        FUZZ_REQUIRE(SplitCommandLine(sequence) == (Pieces{quarex, record.active, "/seq"}), sequence);
        FUZZ_REQUIRE(SplitCommandLine(generate) == (Pieces{quarex, record.active}), generate);
    }
    FUZZ_REQUIRE(GeneratedSourceUsable(source) == !(fuzz::Contains(source, '"') || fuzz::Contains(source, '\0') ||
                                                     fuzz::Contains(source, '\r') || fuzz::Contains(source, '\n')),
                 source);
    if (Splittable(record.activeCompilerPath, true) && Splittable(record.activeIncludeDir, false) &&
        GeneratedSourceUsable(source)) {
        Pieces expected{compiler, "/I" + record.activeIncludeDir, "/Q", "/L", source};
        FUZZ_REQUIRE(SplitCommandLine(compile) == expected, compile, Joined(SplitCommandLine(compile)));
    }

    // The test program: the source path with its name cut before the name's last "."; a name
    // that still holds a ".", or a non-empty name that had no extension, gets ".exe".
    std::string program = TestProgramPath(source);
    size_t slash = source.rfind('\\');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = source.rfind('.');
    if (dot != std::string::npos && dot < nameStart) dot = std::string::npos;
    std::string kept = source.substr(0, dot);
    if (kept.find('.', nameStart) != std::string::npos || (dot == std::string::npos && kept.size() > nameStart))
        kept += ".exe";
    FUZZ_REQUIRE(program == kept, source, program);
    FUZZ_REQUIRE(TestProgramCommandLine(source) == Quoted(program), source);
    if (GeneratedSourceUsable(source))
        FUZZ_REQUIRE(SplitCommandLine(TestProgramCommandLine(source)) == Pieces{program}, source);

    // The log (of a name): ".log" for its last extension, or added to a name without one; no
    // log for no name.
    std::string name = source.substr(nameStart);
    std::string log = CompilerLogName(name);
    size_t nameDot = name.rfind('.');
    FUZZ_REQUIRE(log == (name.empty() ? std::string() : name.substr(0, nameDot) + ".log"), name, log);
}

const char* const kExitTexts[] = {
    "No parameters specified",
    "Test file was not found",
    "Test file did not include a [quarex] directive on the first line",
    "Invalid parameter",
    "Source file specified in the test file was not valid",
    "Test file does not have a source= directive",
    "Source file specified in the test file was not found",
};

void CheckReports(const SettingsRecord& record, int32_t exitCode, const std::string& failureLine,
                  const std::string& program, const std::string& reason) {
    std::string exitText = ToolExitMessage(exitCode);
    std::string expectedText = exitCode >= 1 && exitCode <= 7 ? kExitTexts[exitCode - 1] : "";
    FUZZ_REQUIRE(exitText == expectedText, std::to_string(exitCode), exitText);

    std::string failure = ToolFailureReport(failureLine, exitCode);
    FUZZ_REQUIRE(failure == failureLine + "\r\n" + exitText, failure);
    if (failureLine.find("\r\n") == std::string::npos)
        FUZZ_REQUIRE(fuzz::SplitAt(failure, "\r\n") == (Pieces{failureLine, exitText}), failure);

    for (bool needsCompiler : {false, true}) {
        Pieces expected;
        if (record.active.empty()) expected.push_back("Please select a test file first");
        if (record.quarex.empty()) expected.push_back("Please configure Quarex directory first");
        if (needsCompiler && record.activeCompilerPath.empty())
            expected.push_back("Please configure active compiler first");
        std::string report = MissingSettingsReport(record, needsCompiler);
        if (expected.empty()) FUZZ_REQUIRE(report.empty(), report);
        else FUZZ_REQUIRE(fuzz::SplitAt(report, "\r\n") == expected, report);
    }

    Pieces expected;
    if (!failureLine.empty()) expected.push_back(failureLine);
    expected.push_back("Could not start " + program);
    if (!reason.empty()) expected.push_back(reason);
    std::string notStarted = NotStartedReport(failureLine, program, reason);
    std::string joined;
    for (size_t i = 0; i < expected.size(); ++i) joined += (i ? "\r\n" : "") + expected[i];
    FUZZ_REQUIRE(notStarted == joined, notStarted, joined);
    if (failureLine.find("\r\n") == std::string::npos &&
        program.find("\r\n") == std::string::npos && reason.find("\r\n") == std::string::npos)
        FUZZ_REQUIRE(fuzz::SplitAt(notStarted, "\r\n") == expected, notStarted, Joined(expected));
}

// A log (the reason and the failure line joined by a line end) shortened to some of its last
// lines: unchanged when it has no more; otherwise the count of the lines left out and the log's
// name on a first line, then the log's own bytes from the start of a line to its end, holding
// exactly the lines kept.
void CheckShortenedLog(const std::string& reason, const std::string& failureLine, const std::string& name,
                       int32_t exitCode) {
    std::string log = reason + "\r\n" + failureLine;
    size_t count = LogLineCount(log);
    size_t shown = static_cast<uint32_t>(exitCode) % 16;
    std::string text = ShortenedLog(log, shown, name);
    if (shown >= count) {
        FUZZ_REQUIRE(text == log, log, text);
        return;
    }
    size_t leftOut = count - shown;
    std::string first = std::to_string(leftOut) + (leftOut == 1 ? " earlier line is" : " earlier lines are") +
                        " not shown; the whole log is in " + name;
    FUZZ_REQUIRE(fuzz::StartsWith(text, first), text, first);
    if (shown == 0) {
        FUZZ_REQUIRE(text == first, text);
        return;
    }
    FUZZ_REQUIRE(fuzz::StartsWith(text.substr(first.size()), "\r\n"), text);
    std::string kept = text.substr(first.size() + 2);
    FUZZ_REQUIRE(fuzz::EndsWithText(log, kept), log, kept);
    FUZZ_REQUIRE(LogLineCount(kept) == shown, kept);
    std::string before = log.substr(0, log.size() - kept.size());
    FUZZ_REQUIRE(before.back() == '\r' || before.back() == '\n', log, kept);
    if (before.back() == '\r') FUZZ_REQUIRE(kept.front() != '\n', log, kept);
    FUZZ_REQUIRE(LogLineCount(before) == leftOut, before);
}

// The same log read from its end gives LogLines' lines in the opposite order (the first one left
// out of a tail that is not the whole log), until a line longer than the limit.
void CheckLinesFromTheEnd(const std::string& log, bool whole, size_t longest) {
    std::vector<std::string_view> forward = LogLines(log);
    if (!whole && !forward.empty()) forward.erase(forward.begin());
    LogLinesFromTheEnd backward(log, whole);
    for (auto line = forward.rbegin(); line != forward.rend(); ++line) {
        std::optional<std::string_view> given = backward.Previous(longest);
        if (line->size() > longest) {
            FUZZ_REQUIRE(!given && !backward.AllGiven(), log);
            return;
        }
        FUZZ_REQUIRE(given && given->data() == line->data() && given->size() == line->size(), log);
    }
    FUZZ_REQUIRE(!backward.Previous(longest) && (backward.AllGiven() || !whole), log);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    SettingsRecord record;
    record.quarex = input.ConsumeRandomLengthString(300);
    record.active = input.ConsumeRandomLengthString(300);
    record.activeCompilerPath = input.ConsumeRandomLengthString(300);
    record.activeIncludeDir = input.ConsumeRandomLengthString(300);
    std::string source = input.ConsumeRandomLengthString(300);
    std::string failureLine = input.ConsumeRandomLengthString(100);
    std::string program = input.ConsumeRandomLengthString(300);
    std::string reason = input.ConsumeRandomLengthString(200);
    int32_t exitCode = input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-1, 9)
                                           : input.ConsumeIntegral<int32_t>();

    CheckCommandLines(record, source);
    CheckReports(record, exitCode, failureLine, program, reason);
    CheckShortenedLog(reason, failureLine, program, exitCode);
    CheckLinesFromTheEnd(reason, exitCode % 2 == 0, static_cast<uint32_t>(exitCode) % 64);
    return 0;
}
