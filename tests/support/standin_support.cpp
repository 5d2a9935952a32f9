#include "standin_support.h"

#include <windows.h>

#include "platform/ansi.h"
#include "test_support.h"

namespace {

std::wstring Utf8ToWide(std::string_view bytes) {
    if (bytes.empty()) return {};
    int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::string WideToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

std::string WithExtension(std::string_view path, std::string_view extension) {
    size_t slash = path.rfind('\\');
    size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return std::string(path) + std::string(extension);
    return std::string(path.substr(0, dot)) + std::string(extension);
}

}  // namespace

std::string StandinPath() { return ExecutableFolder() + "standin.exe"; }

void InstallStandin(std::string_view programPath) {
    CopyFileW(ToWide(StandinPath()).c_str(), ToWide(programPath).c_str(), FALSE);
}

void WriteStandinPlan(std::string_view programPath, std::string_view planText) {
    WriteBytes(WithExtension(programPath, ".plan"), WideToUtf8(ToWide(planText)));
}

std::string StandinRecordPath(std::string_view programPath) { return WithExtension(programPath, ".record"); }

std::vector<StandinRecord> StandinRecords(std::string_view programPath) {
    std::string text = ToAnsi(Utf8ToWide(ReadBytes(StandinRecordPath(programPath))));
    std::vector<StandinRecord> records;
    StandinRecord current;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) break;  // a block still being written
        std::string line = text.substr(start, end - start);
        start = end + 2;
        if (line == "[launch]") {
            current = StandinRecord{};
        } else if (line == "end") {
            records.push_back(current);
        } else if (line.rfind("command=", 0) == 0) {
            current.command = line.substr(8);
        } else if (line.rfind("directory=", 0) == 0) {
            current.directory = line.substr(10);
        } else if (line.rfind("show=", 0) == 0) {
            current.show = std::stoi(line.substr(5));
        } else if (line.rfind("useshowwindow=", 0) == 0) {
            current.useShowWindow = line.substr(14) == "1";
        } else if (line.rfind("errormode=", 0) == 0) {
            current.errorMode = static_cast<unsigned>(std::stoul(line.substr(10)));
        } else if (line.rfind("process=", 0) == 0) {
            current.processId = static_cast<unsigned>(std::stoul(line.substr(8)));
        }
    }
    return records;
}

std::vector<StandinRecord> WaitForStandinRecords(std::string_view programPath, size_t count) {
    std::vector<StandinRecord> records = StandinRecords(programPath);
    for (int i = 0; i < 3000 && records.size() < count; ++i) {
        Sleep(10);
        records = StandinRecords(programPath);
    }
    return records;
}

void WaitUntilDeletable(std::string_view programPath) {
    std::wstring path = ToWide(programPath);
    for (int i = 0; i < 3000; ++i) {
        if (DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND) return;
        Sleep(10);
    }
}

HeldByAnotherProcess::HeldByAnotherProcess(std::string_view path) {
    std::string holder = folder_ / "holder.exe";
    std::string holding = folder_ / "holding";
    InstallStandin(holder);
    WriteStandinPlan(holder, "hold=" + std::string(path) + "\r\nholding=" + holding + "\r\nwaitfor=" +
                                 (folder_ / "release") + "\r\n");
    std::wstring commandLine = L"\"" + ToWide(holder) + L"\"";
    // Started in its own folder, so that it keeps no folder of the test from being removed.
    std::wstring directory = ToWide(folder_.Path());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &started))
        return;
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
    // Until the hold is in place, or the holder has given up (it ends when it cannot open the file).
    for (int i = 0; i < 3000 && !held_; ++i) {
        held_ = PathExists(holding);
        if (!held_ && WaitForSingleObject(process_.Get(), 10) == WAIT_OBJECT_0) break;
    }
}

HeldByAnotherProcess::~HeldByAnotherProcess() { Release(); }

void HeldByAnotherProcess::Release() {
    if (!process_.Valid()) return;
    WriteBytes(folder_ / "release", "");
    if (WaitForSingleObject(process_.Get(), 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), 30000);
    }
    process_.Reset();
    held_ = false;
}
