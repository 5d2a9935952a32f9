#pragma once
// Starting a program from a test, the benchmark or a tool of the build (the product's own start
// is LaunchProgram): the command line in a buffer of its own, since CreateProcessW may write
// into it; the first thread's handle closed at once; the process handle owned by the result.
// Header only, so that programs that link nothing else (the bare dialog, the screenshot driver)
// take it too.
#include <windows.h>

#include <string>
#include <utility>

class StartedProcess {
public:
    StartedProcess() = default;
    StartedProcess(HANDLE process, DWORD id, DWORD error)
        : process_(process), id_(id), error_(error), started_(error == 0) {}
    StartedProcess(StartedProcess&& other) noexcept { *this = std::move(other); }
    StartedProcess& operator=(StartedProcess&& other) noexcept {
        if (this != &other) {
            Close();
            process_ = std::exchange(other.process_, nullptr);
            id_ = other.id_;
            error_ = other.error_;
            started_ = other.started_;
        }
        return *this;
    }
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;
    ~StartedProcess() { Close(); }

    // Whether the program started. Wine gives no process handle for a Unix program it starts.
    explicit operator bool() const { return started_; }
    HANDLE Handle() const { return process_; }
    DWORD Id() const { return id_; }
    // The system's error code when nothing started.
    DWORD Error() const { return error_; }
    // Hands the process handle to another owner.
    HANDLE Release() { return std::exchange(process_, nullptr); }
    void Close() {
        if (process_) CloseHandle(std::exchange(process_, nullptr));
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    DWORD error_ = 0;
    bool started_ = false;
};

// Starts the whole command line (program path first) in `folder` (this process's current one
// when null), with the creation `flags`.
inline StartedProcess StartProcess(std::wstring commandLine, const wchar_t* folder = nullptr, DWORD flags = 0) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr, folder, &startup,
                        &started))
        return StartedProcess(nullptr, 0, GetLastError());
    CloseHandle(started.hThread);
    return StartedProcess(started.hProcess, started.dwProcessId, 0);
}
