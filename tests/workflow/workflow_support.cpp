#include "workflow_support.h"

#include <shlobj.h>

#include "workflow/settings_file.h"
#include "platform/ansi.h"
#include "ui/control_ids.h"
#include "test_support.h"
#include "ui/feedback.h"
#include "workflow/drop.h"

namespace {

std::vector<FeedbackEvent> events;
HWND observed = nullptr;

bool ObservedVisible() { return observed != nullptr && IsWindowVisible(observed); }

void RecordMessage(std::string_view text) { events.push_back({false, std::string(text), ObservedVisible()}); }
void RecordBeep() { events.push_back({true, {}, ObservedVisible()}); }

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        // As the main window does: the label shows the current test file once a drop set it.
        WindowFeedback screen(window);
        HandleDrop(reinterpret_cast<HDROP>(wParam), TestSettings, screen);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* TestWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"TbWorkflowTestWindow";
        RegisterClassW(&windowClass);
        registered = true;
    }
    return L"TbWorkflowTestWindow";
}

}  // namespace

FeedbackRecorder::FeedbackRecorder() {
    events.clear();
    observed = nullptr;
    SetMessageStandIn(MessageStandIn{RecordMessage, RecordBeep});
}

FeedbackRecorder::~FeedbackRecorder() {
    SetMessageStandIn(MessageStandIn{});
    observed = nullptr;
}

void FeedbackRecorder::Observe(HWND window) { observed = window; }
const std::vector<FeedbackEvent>& FeedbackRecorder::Events() const { return events; }

std::vector<std::string> FeedbackRecorder::Messages() const {
    std::vector<std::string> texts;
    for (const FeedbackEvent& event : events)
        if (!event.beep) texts.push_back(event.text);
    return texts;
}

int FeedbackRecorder::Beeps() const {
    int beeps = 0;
    for (const FeedbackEvent& event : events) beeps += event.beep ? 1 : 0;
    return beeps;
}

void FeedbackRecorder::Clear() { events.clear(); }

TestMainWindow::TestMainWindow(bool visible) {
    window_ = CreateWindowExW(0, TestWindowClass(), L"Test Builder", WS_OVERLAPPEDWINDOW, 100, 100, 300, 160, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 260, 20, window_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TEST_FILE)), GetModuleHandleW(nullptr), nullptr);
    screen_ = WindowFeedback(window_);
    if (visible) {
        ShowWindow(window_, SW_SHOWNORMAL);
        UpdateWindow(window_);
    }
}

TestMainWindow::~TestMainWindow() { DestroyWindow(window_); }

std::string TestMainWindow::LabelText() const {
    HWND label = GetDlgItem(window_, IDC_TEST_FILE);
    int length = GetWindowTextLengthW(label);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(label, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied));
    return ToAnsi(text);
}

void TestMainWindow::SetLabelText(std::string_view text) {
    SetWindowTextW(GetDlgItem(window_, IDC_TEST_FILE), ToWide(text).c_str());
}

HDROP MakeDrop(const std::vector<std::string>& names) {
    std::vector<std::wstring> wide;
    for (const std::string& name : names) wide.push_back(ToWide(name));
    return MakeWideDrop(wide);
}

HDROP MakeWideDrop(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names) {
        list += name;
        list += L'\0';
    }
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    CopyMemory(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void DeliverDrop(HWND window, const std::vector<std::string>& names) {
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(names)), 0);
}

void DeliverWideDrop(HWND window, const std::vector<std::wstring>& names) {
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeWideDrop(names)), 0);
}
