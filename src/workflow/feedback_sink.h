#pragma once
// What the commands and the drop tell the user, and ask: the one way out of the workflow to the
// screen. The windows implement it (ui/window_feedback.h); the workflow takes it as a parameter.
#include <string>
#include <string_view>

class FeedbackSink {
public:
    // A report in the tool's one kind of message box.
    virtual void Report(std::string_view text) = 0;
    // The same for a text the ANSI code page may not spell (a path it cannot hold).
    virtual void Report(std::wstring_view text) = 0;
    // The default beep: a success of Add routines or Sequence tests, a file of another type.
    virtual void Beep() = 0;
    // The compiler's log after a failed compile, with the main window hidden while it shows;
    // `logName` is where the whole log is, for a log too long for the screen.
    virtual void ShowCompilerLog(const std::string& logText, const std::string& logName) = 0;
    // The label of a new current test file, shown before the settings are saved.
    virtual void ShowCurrentTestFile(const std::string& path) = 0;
    // A question with Yes and No, No the default; true for Yes.
    virtual bool Ask(std::string_view question) = 0;

protected:
    ~FeedbackSink() = default;
};
