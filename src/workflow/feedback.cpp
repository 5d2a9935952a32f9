#include "workflow/feedback.h"

#include <windows.h>

#include "platform/ansi.h"

namespace {

FeedbackSink sink;

}  // namespace

void ShowMessage(std::string_view text) {
    if (sink.message) {
        sink.message(text);
        return;
    }
    ShowMessage(ToWide(text));
}

void ShowMessage(std::wstring_view text) {
    if (sink.message) {
        sink.message(ToAnsi(text));
        return;
    }
    MessageBoxW(nullptr, std::wstring(text).c_str(), L"PowerBASIC", MB_OK | MB_TASKMODAL | MB_SETFOREGROUND);
}

void DefaultBeep() {
    if (sink.beep) {
        sink.beep();
        return;
    }
    MessageBeep(0);
}

void SetFeedbackSink(const FeedbackSink& replacement) { sink = replacement; }
