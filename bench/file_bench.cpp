// The tool's readers on large files, called in-process, against the least a program can do to
// get the same bytes: open, one ReadFile into a buffer of the file's size, close. Both sides
// include opening, closing and freeing their memory; the files sit in the system's cache, so
// this measures the work of the readers, not the disk.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "workflow/settings_file.h"
#include "core/settings_record.h"
#include "bench_support.h"
#include "file_bench.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/text_files.h"
#include "workflow/generated_path.h"

namespace {

constexpr size_t kMegabyte = 1024 * 1024;

// Lines as the real files hold them, repeated until the size is reached. Each generator tells
// what the reader must come up with, so a reader that skipped its work would be noticed.

std::string SettingsContent(size_t bytes, std::string& lastActive) {
    std::string text;
    text.reserve(bytes + 1024);
    for (int block = 0; text.size() < bytes; ++block) {
        lastActive = "C:\\Users\\dev\\Projects\\Ledger\\tests\\ledger_" + std::to_string(block) + ".test";
        text += "active=" + lastActive + "\r\n";
        text += "directory=specific\r\n"
                "output=C:\\Users\\dev\\Projects\\Ledger\\generated\\\r\n"
                "compiler=PBWin\r\n"
                "pbwin=C:\\PBWin10\\bin\\Pbwin.exe\r\n"
                "pbcc=C:\\PBCC60\\bin\\pbcc.exe\r\n"
                "quarex=C:\\Tools\\Quarex\\quarex.exe\r\n"
                "include=2\r\n"
                "incl1=C:\\PBWin10\\WinAPI\\\r\n"
                "incl2=C:\\Users\\dev\\Projects\\Ledger\\include\\\r\n"
                "incl3=\r\n"
                "incl4=\r\n";
    }
    return text;
}

std::string TestFileContent(size_t bytes, std::string& expected) {
    std::string text = "[quarex]\r\n";
    text.reserve(bytes + 1024);
    for (int line = 0; text.size() < bytes; ++line) {
        if (line % 1000 == 0) {
            // A later source line replaces an earlier one: the last one names the result.
            std::string name = "ledger" + std::to_string(line / 1000);
            text += "source=C:\\Users\\dev\\Projects\\Ledger\\src\\" + name + ".bas\r\n";
            expected = "C:\\Users\\dev\\Projects\\Ledger\\src\\test\\" + name + "_test.bas";
        } else {
            text += "TestPostingBalancesAccount" + std::to_string(line) + "\r\n";
        }
    }
    return text;
}

std::string LogContent(size_t bytes) {
    std::string text;
    text.reserve(bytes + 1024);
    for (int line = 0; text.size() < bytes; ++line)
        text += "C:\\Users\\dev\\Projects\\Ledger\\src\\test\\ledger_test.bas(" + std::to_string(line) +
                ":5) Error 516: Undefined equate - %LEDGER_MAX\r\n";
    return text;
}

void WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot write a benchmark file");
    DWORD written = 0;
    bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                 written == bytes.size();
    CloseHandle(file);
    if (!whole) Fail("cannot write a benchmark file");
}

double OneReadFile(const std::wstring& path, size_t expectedSize) {
    double start = Now();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD size = GetFileSize(file, nullptr);
    std::unique_ptr<char[]> buffer(new char[size]);  // left uninitialised: ReadFile fills it
    DWORD got = 0;
    BOOL read = ReadFile(file, buffer.get(), size, &got, nullptr);
    CloseHandle(file);
    buffer.reset();
    double elapsed = Now() - start;
    if (file == INVALID_HANDLE_VALUE || !read || got != expectedSize) Fail("the one ReadFile did not read the file");
    return elapsed;
}

double OneReadFileWarm(const std::wstring& path, char* buffer, size_t expectedSize) {
    double start = Now();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD size = GetFileSize(file, nullptr);
    DWORD got = 0;
    BOOL read = size <= expectedSize && ReadFile(file, buffer, size, &got, nullptr);
    CloseHandle(file);
    double elapsed = Now() - start;
    if (file == INVALID_HANDLE_VALUE || !read || got != expectedSize) Fail("the one ReadFile did not read the file");
    return elapsed;
}

int RunsFor(int megabytes, bool quick) {
    if (quick) return 3;
    return megabytes <= 1 ? 15 : megabytes <= 10 ? 9 : 5;
}

// One warm-up of each side, then the two alternately, so both see the same state of the machine.
FileResult Compare(const char* operation, const std::wstring& path, size_t size, bool quick,
                   const std::function<double()>& timedOperation) {
    FileResult result;
    result.operation = operation;
    result.megabytes = static_cast<double>(size) / kMegabyte;
    result.runs = RunsFor(static_cast<int>(result.megabytes), quick);
    OneReadFile(path, size);
    timedOperation();
    std::vector<double> readFile, measured;
    for (int run = 0; run < result.runs; ++run) {
        readFile.push_back(OneReadFile(path, size));
        measured.push_back(timedOperation());
    }
    result.readFileSeconds = Median(readFile);
    result.operationSeconds = Median(measured);
    {
        std::string touched(size, '\0');
        std::vector<double> warm;
        for (int run = 0; run < result.runs; ++run) warm.push_back(OneReadFileWarm(path, touched.data(), size));
        result.warmReadFileSeconds = Median(warm);
    }
    std::printf("  %-24s %6.1f MB  %9.2f ms  (one ReadFile %7.2f ms, into a touched buffer %7.2f ms)\n",
                operation, result.megabytes, result.operationSeconds * 1000, result.readFileSeconds * 1000,
                result.warmReadFileSeconds * 1000);
    std::fflush(stdout);
    return result;
}

FileResult MeasureLoadSettings(size_t bytes, bool quick) {
    // LoadSettings reads the settings file beside the running executable: this benchmark's own.
    std::string settingsPath = SettingsFilePath(ToAnsi(ExecutablePathWide()));
    std::wstring path = ToWide(settingsPath);
    std::string lastActive;
    std::string content = SettingsContent(bytes, lastActive);
    size_t size = content.size();
    WriteWholeFile(path, content);
    content = {};
    FileResult result = Compare("LoadSettings", path, size, quick, [&] {
        SettingsRecord settings;
        double start = Now();
        LoadSettings(settings);
        double elapsed = Now() - start;
        if (settings.active != lastActive || settings.compiler != "pbwin" || settings.include != "2" ||
            settings.activeIncludeDir != "C:\\Users\\dev\\Projects\\Ledger\\include\\")
            Fail("LoadSettings did not read the whole settings file");
        return elapsed;
    });
    DeleteFileW(path.c_str());
    return result;
}

FileResult MeasureGeneratedTestSourcePath(const std::wstring& folder, size_t bytes, bool quick) {
    std::wstring path = folder + L"ledger.test";
    std::string expected;
    std::string content = TestFileContent(bytes, expected);
    size_t size = content.size();
    WriteWholeFile(path, content);
    content = {};
    SettingsRecord settings;
    settings.active = ToAnsi(path);
    FileResult result = Compare("GeneratedTestSourcePath", path, size, quick, [&] {
        double start = Now();
        std::string generated = GeneratedTestSourcePath(settings);
        double elapsed = Now() - start;
        if (generated != expected) Fail("GeneratedTestSourcePath gave " + generated + ", not " + expected);
        return elapsed;
    });
    DeleteFileW(path.c_str());
    return result;
}

FileResult MeasureReadWholeFile(const std::wstring& folder, size_t bytes, bool quick) {
    std::wstring path = folder + L"ledger_test.log";
    std::string content = LogContent(bytes);
    size_t size = content.size();
    WriteWholeFile(path, content);
    content = {};
    std::string ansiPath = ToAnsi(path);
    FileResult result = Compare("ReadWholeFile", path, size, quick, [&] {
        double start = Now();
        size_t got = ReadWholeFile(ansiPath, WhenMissing::CreateEmpty).size();  // freeing the text is part of the cost
        double elapsed = Now() - start;
        if (got != size) Fail("ReadWholeFile did not read the whole log");
        return elapsed;
    });
    DeleteFileW(path.c_str());
    return result;
}

}  // namespace

std::vector<FileResult> MeasureFiles(const std::vector<int>& megabytes, bool quick) {
    std::wstring folder = FreshFolder(L"files");
    std::vector<FileResult> results;
    for (int size : megabytes) {
        size_t bytes = static_cast<size_t>(size) * kMegabyte;
        results.push_back(MeasureLoadSettings(bytes, quick));
        results.push_back(MeasureGeneratedTestSourcePath(folder, bytes, quick));
        results.push_back(MeasureReadWholeFile(folder, bytes, quick));
    }
    RemoveTree(folder);
    return results;
}
