#pragma once
// Command lines of the outside programs and the texts of the tool's reports.
// Free of the operating system, so the same rules build natively for fuzzing.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings_record.h"

// Show states the outside programs are started with.
constexpr int kShowHidden = 0;
constexpr int kShowNormal = 1;

// X with one double quote before and after it; nothing inside is escaped.
std::string Quoted(std::string_view text);
// A program path as a command line starts with it: quoted, unless the stored path already
// begins and ends with its own double quote (written by hand or by another version).
std::string QuotedProgram(std::string_view path);
// The path inside a program path's own quotes; the path itself when it has none.
std::string_view UnquotedProgram(std::string_view path);

std::string AddCommandLine(const SettingsRecord& record);
std::string SequenceCommandLine(const SettingsRecord& record);
std::string GenerateCommandLine(const SettingsRecord& record);
std::string CompileCommandLine(const SettingsRecord& record, std::string_view generatedSource);
std::string TestProgramCommandLine(std::string_view generatedSource);
// The test program: the generated source path with its name cut before the name's last ".";
// ".exe" is added where the name that remains still holds a ".", which the system would
// otherwise take for an extension of its own, and where the name had no extension at all, so
// that the source file itself is never the program started.
std::string TestProgramPath(std::string_view generatedSource);
// The compiler's log: the generated source's name with its extension replaced by ".log", or
// with ".log" added when it has none (resolved in the source's folder); "" for an empty name.
std::string CompilerLogName(std::string_view generatedSourceName);

// The lines of a compiler's log: a CR LF, a lone CR or a lone LF ends a line, and a line end at
// the very end of the log starts no further one. An empty log has no lines.
size_t LogLineCount(std::string_view log);
// A log too long for the screen, shortened to its last `linesShown` lines (their bytes as they
// stand, up to the log's end) after one first line that says how many earlier lines are left
// out and names the log file. A log of no more than `linesShown` lines comes back unchanged.
std::string ShortenedLog(std::string_view log, size_t linesShown, std::string_view logName);

// Why a path the user dropped or chose is not taken: the settings keep it neither whole nor by
// a short form. Wide, since the path may hold characters the ANSI code page lacks.
std::wstring UnusablePathReport(std::wstring_view path);

// The framework tool's exit codes 1 to 7 as text; "" for any other code.
std::string ToolExitMessage(int32_t exitCode);

// The lines naming each missing setting, joined by CR LF; "" when nothing is missing.
std::string MissingSettingsReport(const SettingsRecord& record, bool needsCompiler);
// A command's failure line, CR LF, and the exit code's text.
std::string ToolFailureReport(std::string_view failureLine, int32_t exitCode);
// A program that could not be started: the failure line (when there is one), CR LF,
// "Could not start " + program, and CR LF + the system's reason when there is one.
std::string NotStartedReport(std::string_view failureLine, std::string_view program,
                             std::string_view reason);

// The program a command line starts: its first argument, without its quotes.
std::string_view CommandLineProgram(std::string_view commandLine);
// The question asked when the user closes the tool while it waits for `program`.
std::string StillRunningQuestion(std::string_view program);
// The question asked when the user presses Esc while the tool waits for `program`.
std::string StopQuestion(std::string_view program);
// A generated source whose folder is too deep for the compiler, even by a short (8.3) form.
std::string TooDeepFolderReport(std::string_view folder);
