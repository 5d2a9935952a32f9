#pragma once
// The workflow's feedback on the screen, for one main window: the tool's message box and beep,
// the compiler log with the window hidden around it, and the window's label 1060.
#include <windows.h>

#include "workflow/feedback_sink.h"

class WindowFeedback final : public FeedbackSink {
public:
    explicit WindowFeedback(HWND mainWindow) : mainWindow_(mainWindow) {}

    void Report(std::string_view text) override;
    void Report(std::wstring_view text) override;
    void Beep() override;
    void ShowCompilerLog(const std::string& logText, const std::string& logName) override;
    void ShowCurrentTestFile(const std::string& path) override;
    bool Ask(std::string_view question) override;

private:
    HWND mainWindow_;
};
