#include "workflow/commands.h"

#include <string>

#include "core/settings_record.h"
#include "platform/files.h"
#include "platform/launch.h"
#include "platform/system_error.h"
#include "core/text.h"
#include "workflow/compiler_log_box.h"
#include "workflow/deep_paths.h"
#include "workflow/feedback.h"
#include "workflow/generated_path.h"
#include "core/tool_contract.h"

namespace {

// Shows what is missing for the command; true when something is.
bool ReportMissingSettings(bool needsCompiler) {
    std::string report = MissingSettingsReport(Settings, needsCompiler);
    if (report.empty()) return false;
    ShowMessage(report);
    return true;
}

// Runs the framework tool hidden and waits for it. A tool that fails, or that could not even be
// started, is reported under the command's failure line; true only for exit code 0.
bool RunFrameworkTool(const std::string& commandLine, std::string_view failureLine) {
    LaunchResult run = LaunchProgram(commandLine, kShowHidden, true);
    if (run.endedByUser) return false;
    if (!run.started) {
        ShowMessage(NotStartedReport(failureLine, Settings.quarex, SystemErrorText(run.error)));
        return false;
    }
    if (run.exitCode != 0) {
        ShowMessage(ToolFailureReport(failureLine, run.exitCode));
        return false;
    }
    return true;
}

void RunToolAndBeep(const std::string& commandLine, std::string_view failureLine) {
    if (RunFrameworkTool(commandLine, failureLine)) DefaultBeep();
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

void AddRoutinesCommand(HWND) {
    if (ReportMissingSettings(false)) return;
    RunToolAndBeep(AddCommandLine(WithCommandLinePaths(Settings)), "Add tests failed");
}

void SequenceTestsCommand(HWND) {
    if (ReportMissingSettings(false)) return;
    RunToolAndBeep(SequenceCommandLine(WithCommandLinePaths(Settings)), "Sequence failed");
}

void RunTestsCommand(HWND mainWindow) {
    if (ReportMissingSettings(true)) return;
    SettingsRecord forms = WithCommandLinePaths(Settings);
    if (!RunFrameworkTool(GenerateCommandLine(forms), "Generate failed")) return;

    std::string generated = GeneratedTestSourcePath();
    PathParts parts = SplitPath(generated);
    std::string logName = CompilerLogName(parts.name);
    CompilePlace place = CompilePlaceFor(parts, logName);
    if (!place.folder) {
        ShowMessage(TooDeepFolderReport(place.fullFolder));
        return;
    }
    EnterGeneratedSourceFolder(*place.folder);

    LaunchResult compile = LaunchProgram(CompileCommandLine(forms, place.source), kShowNormal, true);
    if (compile.endedByUser) return;
    if (!compile.started) {
        ShowMessage(NotStartedReport("Compile failed", Settings.activeCompilerPath, SystemErrorText(compile.error)));
        return;
    }
    if (compile.exitCode != 0) {
        // A compiler that left no log gets an empty one, and an empty box.
        // No log name (no generated source): nothing to read, and no ".log" made.
        ShowCompilerLog(mainWindow, place.log.empty() ? std::string() : ReadWholeFile(place.log),
                        parts.directory + logName);
        return;
    }

    LaunchResult test = LaunchProgram(TestProgramCommandLine(place.source), kShowNormal, false);
    if (!test.started) ShowMessage(NotStartedReport("", TestProgramPath(generated), SystemErrorText(test.error)));
}
