#include "workflow/commands.h"

#include <algorithm>
#include <string>

#include "app/settings_record.h"
#include "platform/ansi.h"
#include "platform/files.h"
#include "platform/launch.h"
#include "platform/text.h"
#include "workflow/feedback.h"
#include "workflow/generated_path.h"
#include "workflow/tool_contract.h"

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
    if (run.value != 0) {
        ShowMessage(ToolFailureReport(failureLine, run.value));
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

void RedrawAll(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Room a message box needs besides its text, in pixels at 96 DPI: caption, frame, the margins
// around the text and the band with the OK button, with some to spare.
constexpr int kMessageBoxFrameHeight = 160;

// How a message box's text is laid out: in the system's message font, broken into lines no
// wider than a box may grow (measured as narrow as any system makes it, so never too short).
class MessageTextMeasure {
public:
    explicit MessageTextMeasure(int maximumWidth) : width_(maximumWidth), dc_(GetDC(nullptr)) {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            font_ = CreateFontIndirectW(&metrics.lfMessageFont);
        if (dc_) previous_ = SelectObject(dc_, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    }
    ~MessageTextMeasure() {
        if (dc_) {
            SelectObject(dc_, previous_);
            ReleaseDC(nullptr, dc_);
        }
        if (font_) DeleteObject(font_);
    }
    MessageTextMeasure(const MessageTextMeasure&) = delete;
    MessageTextMeasure& operator=(const MessageTextMeasure&) = delete;

    int LineHeight() const {
        TEXTMETRICW text = {};
        return dc_ && GetTextMetricsW(dc_, &text) && text.tmHeight > 0 ? text.tmHeight : 16;
    }
    int Height(const std::string& text) const {
        if (!dc_) return 0;
        std::wstring wide = ToWide(text);
        RECT rect = {0, 0, width_, 0};
        DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &rect,
                  DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX);
        return rect.bottom - rect.top;
    }

private:
    int width_;
    HDC dc_;
    HFONT font_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// The log as the box shows it: whole where its box fits the work area of the main window's
// monitor, otherwise its last lines that fit, after a line that says where the rest is.
std::string LogTextThatFits(HWND mainWindow, const std::string& logText, const std::string& logName) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor)) return logText;
    const RECT& work = monitor.rcWork;
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    int room = work.bottom - work.top - MulDiv(kMessageBoxFrameHeight, dpi > 0 ? dpi : 96, 96);
    MessageTextMeasure measure((work.right - work.left) / 2);

    // Every line of the log takes at least one line of the box: a log with more lines than
    // the box has room for cannot fit, whatever it says, and needs no measuring.
    size_t roomInLines = room > 0 ? static_cast<size_t>(room / measure.LineHeight()) : 0;
    size_t lines = LogLineCount(logText);
    if (lines <= roomInLines && measure.Height(logText) <= room) return logText;

    // The most last lines that fit beside the first line; more lines never take less room.
    size_t fewest = 0, most = std::min(lines, roomInLines);
    while (fewest < most) {
        size_t middle = (fewest + most + 1) / 2;
        if (measure.Height(ShortenedLog(logText, middle, logName)) <= room) fewest = middle;
        else most = middle - 1;
    }
    return ShortenedLog(logText, fewest, logName);
}

// The compiler's messages, shown with the main window out of the way.
void ShowCompilerLog(HWND mainWindow, const std::string& logText, const std::string& logName) {
    std::string shown = LogTextThatFits(mainWindow, logText, logName);
    ShowWindow(mainWindow, SW_HIDE);
    RedrawAll(mainWindow);
    ShowMessage(shown);
    ShowWindow(mainWindow, SW_SHOWNORMAL);
    RedrawAll(mainWindow);
}

}  // namespace

void AddRoutinesCommand(HWND) {
    if (ReportMissingSettings(false)) return;
    RunToolAndBeep(AddCommandLine(Settings), "Add tests failed");
}

void SequenceTestsCommand(HWND) {
    if (ReportMissingSettings(false)) return;
    RunToolAndBeep(SequenceCommandLine(Settings), "Sequence failed");
}

void RunTestsCommand(HWND mainWindow) {
    if (ReportMissingSettings(true)) return;
    if (!RunFrameworkTool(GenerateCommandLine(Settings), "Generate failed")) return;

    std::string generated = GeneratedTestSourcePath();
    PathParts parts = SplitPath(generated);
    // Resolved in the folder entered below (or the unchanged current directory if that fails).
    std::string logName = CompilerLogName(parts.name);
    EnterGeneratedSourceFolder(parts.directory);

    LaunchResult compile = LaunchProgram(CompileCommandLine(Settings, generated), kShowNormal, true);
    if (compile.endedByUser) return;
    if (!compile.started) {
        ShowMessage(NotStartedReport("Compile failed", Settings.activeCompilerPath, SystemErrorText(compile.error)));
        return;
    }
    if (compile.value != 0) {
        // A compiler that left no log gets an empty one, and an empty box.
        ShowCompilerLog(mainWindow, ReadWholeFile(logName), parts.directory + logName);
        return;
    }

    LaunchResult test = LaunchProgram(TestProgramCommandLine(generated), kShowNormal, false);
    if (!test.started) ShowMessage(NotStartedReport("", TestProgramPath(generated), SystemErrorText(test.error)));
}
