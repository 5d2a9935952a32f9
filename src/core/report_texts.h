#pragma once
// The texts of the tool's reports to the user, and the shortening of a compiler log too long for
// the screen. Free of the operating system, so the same rules build natively for fuzzing.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings_record.h"

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

// The question asked when the user closes the tool while it waits for `program`.
std::string StillRunningQuestion(std::string_view program);
// The question asked when the user presses Esc while the tool waits for `program`.
std::string StopQuestion(std::string_view program);
// A generated source whose folder is too deep for the compiler, even by a short (8.3) form.
std::string TooDeepFolderReport(std::string_view folder);
// The box shown instead of compiling a test file whose generated source path cannot be used.
std::string UnusableGeneratedSourceReport(std::string_view testFile);
// Said once in a run whose settings file could not be read at start-up, at the first save it
// leaves out: the file by its path, and that this run's changes are not saved.
std::wstring UnreadSettingsReport(std::wstring_view settingsFile);
