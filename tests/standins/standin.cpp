// The stand-in for every outside program (framework tool, compilers, test program); see README.md.
// It records how it was started beside itself, then does what its plan file says.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "read_shared_file.h"
#include "utf8_text.h"

namespace {

std::wstring OwnPath() {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length);
}

// The path with everything from the last "." of its name replaced by the extension.
std::wstring WithExtension(const std::wstring& path, const wchar_t* extension) {
    size_t slash = path.find_last_of(L"\\/");
    size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return path + extension;
    return path.substr(0, dot) + extension;
}

std::wstring CurrentDirectory() {
    std::vector<wchar_t> buffer(32768);
    DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    return std::wstring(buffer.data(), length);
}

// Appends in one write, so blocks of programs running at the same time do not mix.
void AppendRecord(const std::wstring& path, const std::string& block) {
    for (int attempt = 0; attempt < 500; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, block.data(), static_cast<DWORD>(block.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(10);
    }
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

struct Plan {
    std::wstring hold;
    std::wstring holding;
    long long exitCode = 0;
    DWORD sleepMs = 0;
    std::wstring waitFor;
    std::wstring write;
    std::string content;
    std::wstring copySelf;
    std::wstring start;
    std::wstring thenWaitFor;
    bool crash = false;
};

Plan ReadPlan(const std::wstring& path) {
    Plan plan;
    std::string bytes = ReadSharedFile(path);
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (key == "hold") plan.hold = FromUtf8(value);
        else if (key == "holding") plan.holding = FromUtf8(value);
        else if (key == "exit") plan.exitCode = std::strtoll(value.c_str(), nullptr, 0);
        else if (key == "sleep") plan.sleepMs = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 10));
        else if (key == "waitfor") plan.waitFor = FromUtf8(value);
        else if (key == "write") plan.write = FromUtf8(value);
        else if (key == "content") plan.content += value;
        else if (key == "contentline") plan.content += value + "\r\n";
        else if (key == "copyself") plan.copySelf = FromUtf8(value);
        else if (key == "start") plan.start = FromUtf8(value);
        else if (key == "thenwaitfor") plan.thenWaitFor = FromUtf8(value);
        else if (key == "crash") plan.crash = value == "1";
    }
    return plan;
}

// The last double-quoted argument of the command line (the compiler's source file).
std::wstring LastQuotedArgument(const std::wstring& commandLine) {
    size_t close = commandLine.rfind(L'"');
    if (close == std::wstring::npos || close == 0) return {};
    size_t open = commandLine.rfind(L'"', close - 1);
    if (open == std::wstring::npos) return {};
    return commandLine.substr(open + 1, close - open - 1);
}

std::wstring Substitute(std::wstring text, const std::wstring& name, const std::wstring& value) {
    for (size_t at = text.find(name); at != std::wstring::npos; at = text.find(name, at + value.size()))
        text.replace(at, name.size(), value);
    return text;
}

std::wstring Expand(const std::wstring& text, const std::wstring& source) {
    std::wstring base = WithExtension(source, L"");
    return Substitute(Substitute(text, L"{source-base}", base), L"{source}", source);
}

// At most a minute, so a test that forgets to release it does not hang for ever.
void WaitUntilExists(const std::wstring& path) {
    for (int i = 0; i < 6000 && GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(10);
}

// Starts a program the way the outside programs start their own helpers, without waiting.
void StartProgram(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return;
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

LONG WINAPI EndQuietly(EXCEPTION_POINTERS*) { return EXCEPTION_EXECUTE_HANDLER; }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::wstring self = OwnPath();
    std::wstring commandLine = GetCommandLineW();

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    UINT errorMode = SetErrorMode(0);
    SetErrorMode(errorMode);

    std::string block = "[launch]\r\n";
    block += "command=" + ToUtf8(commandLine) + "\r\n";
    block += "directory=" + ToUtf8(CurrentDirectory()) + "\r\n";
    block += "show=" + std::to_string(startup.wShowWindow) + "\r\n";
    block += std::string("useshowwindow=") + ((startup.dwFlags & STARTF_USESHOWWINDOW) ? "1" : "0") + "\r\n";
    block += "errormode=" + std::to_string(errorMode) + "\r\n";
    block += "process=" + std::to_string(GetCurrentProcessId()) + "\r\n";
    block += "end\r\n";
    AppendRecord(WithExtension(self, L".record"), block);

    Plan plan = ReadPlan(WithExtension(self, L".plan"));
    std::wstring source = LastQuotedArgument(commandLine);
    // Holding a file open with share mode 0 is what another program does that makes every open
    // of it by the tool fail. Kept open until the process ends.
    HANDLE held = INVALID_HANDLE_VALUE;
    if (!plan.hold.empty()) {
        held = CreateFileW(Expand(plan.hold, source).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (held == INVALID_HANDLE_VALUE) ExitProcess(GetLastError());
        if (!plan.holding.empty()) WriteFileBytes(plan.holding, {});
    }
    if (!plan.waitFor.empty()) WaitUntilExists(plan.waitFor);
    if (plan.sleepMs) Sleep(plan.sleepMs);
    if (!plan.write.empty()) WriteFileBytes(Expand(plan.write, source), plan.content);
    if (!plan.copySelf.empty()) CopyFileW(self.c_str(), Expand(plan.copySelf, source).c_str(), FALSE);
    if (!plan.start.empty()) StartProgram(Expand(plan.start, source));
    if (!plan.thenWaitFor.empty()) WaitUntilExists(plan.thenWaitFor);
    if (plan.crash) {
        // Nothing handles the exception, so the process ends with its code as exit code. The
        // filter keeps the system's crash box and debugger away (Wine would ignore the error mode).
        SetErrorMode(errorMode | SEM_NOGPFAULTERRORBOX);
        SetUnhandledExceptionFilter(EndQuietly);
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    ExitProcess(static_cast<UINT>(plan.exitCode));
}
