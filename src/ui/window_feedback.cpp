#include "ui/window_feedback.h"

#include "ui/compiler_log_box.h"
#include "ui/control_ids.h"
#include "ui/dialog_frame.h"
#include "ui/feedback.h"

void WindowFeedback::Report(std::string_view text) { ShowMessage(text); }

void WindowFeedback::Report(std::wstring_view text) { ShowMessage(text); }

void WindowFeedback::Beep() { DefaultBeep(); }

void WindowFeedback::ShowCompilerLog(const std::string& logText, const std::string& logName) {
    ::ShowCompilerLog(mainWindow_, logText, logName);
}

void WindowFeedback::ShowCurrentTestFile(const std::string& path) { SetControlText(mainWindow_, IDC_TEST_FILE, path); }

bool WindowFeedback::Ask(std::string_view question) { return AskYesNo(question); }
