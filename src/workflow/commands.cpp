#include "workflow/commands.h"

#include <string>

#include "core/generated_source_check.h"
#include "core/log_excerpt.h"
#include "core/settings_record.h"
#include "platform/file_tail.h"
#include "platform/paths.h"
#include "platform/launch.h"
#include "platform/system_error.h"
#include "core/text.h"
#include "workflow/deep_paths.h"
#include "workflow/generated_path.h"
#include "core/command_lines.h"
#include "core/report_texts.h"

namespace {

// Shows what is missing for the command; true when something is.
bool ReportMissingSettings(const SettingsRecord& record, bool needsCompiler, FeedbackSink& feedback) {
    std::string report = MissingSettingsReport(record, needsCompiler);
    if (report.empty()) return false;
    feedback.Report(report);
    return true;
}

// Runs the framework tool hidden and waits for it. A tool that fails, or that could not even be
// started, is reported under the command's failure line; true only for exit code 0.
bool RunFrameworkTool(const SettingsRecord& record, const std::string& commandLine, std::string_view failureLine,
                      FeedbackSink& feedback) {
    LaunchResult run = LaunchProgram(commandLine, kShowHidden, Wait::UntilEnd);
    if (run.endedByUser) return false;
    if (!run.started) {
        feedback.Report(NotStartedReport(failureLine, record.quarex, SystemErrorText(run.error)));
        return false;
    }
    if (run.exitCode != 0) {
        feedback.Report(ToolFailureReport(failureLine, run.exitCode));
        return false;
    }
    return true;
}

void RunToolAndBeep(const SettingsRecord& record, const std::string& commandLine, std::string_view failureLine,
                    FeedbackSink& feedback) {
    if (RunFrameworkTool(record, commandLine, failureLine, feedback)) feedback.Beep();
}

// The compiler and the test program run in the generated source's folder, which stays the
// process's current directory afterwards.
void EnterGeneratedSourceFolder(const std::string& directory) {
    SetCurrentDir(directory);
    // Only a folder that names its drive ("D:\...") selects that drive: the first letter of a
    // relative folder such as "test\" is no drive.
    bool namesDrive = directory.size() >= 2 && directory[1] == ':' &&
                      ((directory[0] >= 'A' && directory[0] <= 'Z') || (directory[0] >= 'a' && directory[0] <= 'z'));
    if (namesDrive) SetCurrentDrive(directory);
}

}  // namespace

void AddRoutinesCommand(const SettingsRecord& record, FeedbackSink& feedback) {
    if (ReportMissingSettings(record, false, feedback)) return;
    RunToolAndBeep(record, AddCommandLine(WithCommandLinePaths(record)), "Add tests failed", feedback);
}

void SequenceTestsCommand(const SettingsRecord& record, FeedbackSink& feedback) {
    if (ReportMissingSettings(record, false, feedback)) return;
    RunToolAndBeep(record, SequenceCommandLine(WithCommandLinePaths(record)), "Sequence failed", feedback);
}

void RunTestsCommand(const SettingsRecord& record, FeedbackSink& feedback) {
    if (ReportMissingSettings(record, true, feedback)) return;
    SettingsRecord forms = WithCommandLinePaths(record);
    if (!RunFrameworkTool(record, GenerateCommandLine(forms), "Generate failed", feedback)) return;

    std::string generated = GeneratedTestSourcePath(record);
    if (!GeneratedSourceUsable(generated)) {
        feedback.Report(UnusableGeneratedSourceReport(record.active));
        return;
    }
    PathParts parts = SplitPath(generated);
    std::string logName = CompilerLogName(parts.name);
    CompilePlace place = CompilePlaceFor(parts, logName);
    if (!place.folder) {
        feedback.Report(TooDeepFolderReport(place.fullFolder));
        return;
    }
    EnterGeneratedSourceFolder(*place.folder);

    LaunchResult compile = LaunchProgram(CompileCommandLine(forms, place.source), kShowNormal, Wait::UntilEnd);
    if (compile.endedByUser) return;
    if (!compile.started) {
        feedback.Report(NotStartedReport("Compile failed", record.activeCompilerPath, SystemErrorText(compile.error)));
        return;
    }
    if (compile.exitCode != 0) {
        // A compiler that left no log gets an empty one, and an empty box.
        // No log name (no generated source): nothing to read, and no ".log" made.
        FileTail log = place.log.empty() ? FileTail{} : ReadFileTail(place.log, kLogTailBytes);
        feedback.ShowCompilerLog(log.bytes, log.whole, parts.directory + logName);
        return;
    }

    LaunchResult test = LaunchProgram(TestProgramCommandLine(place.source), kShowNormal, Wait::No);
    if (!test.started) feedback.Report(NotStartedReport("", TestProgramPath(generated), SystemErrorText(test.error)));
}
