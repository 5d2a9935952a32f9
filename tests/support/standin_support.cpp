#include "standin_support.h"

#include <windows.h>

#include "platform/ansi.h"
#include "start_process.h"
#include "../standins/utf8_text.h"
#include "test_support.h"

namespace {

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
    WriteBytes(WithExtension(programPath, ".plan"), ToUtf8(ToWide(planText)));
}

std::string StandinRecordPath(std::string_view programPath) { return WithExtension(programPath, ".record"); }

std::vector<StandinRecord> StandinRecords(std::string_view programPath) {
    std::string text = ToAnsi(FromUtf8(ReadBytes(StandinRecordPath(programPath))));
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
    StartedProcess started = StartProcess(commandLine, ToWide(folder_.Path()).c_str());
    if (!started) return;
    process_.Reset(started.Release());
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
