// Inputs of any size: a compiler log of 100 MB and one of 10 MiB in a single line, from the
// compiler's end to the box's text ready, and a settings file with a line of 1 GB, loaded. Each
// against one ReadFile of what it has to read (the log's tail, the whole settings file), with the
// most memory the operation added to the process.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "bench_support.h"
#include "large_input_bench.h"
#include "core/line_reader.h"
#include "core/log_excerpt.h"
#include "core/settings_record.h"
#include "platform/ansi.h"
#include "platform/file_tail.h"
#include "platform/paths.h"
#include "ui/log_box_fit.h"
#include "workflow/settings_file.h"

namespace {

constexpr size_t kMegabyte = 1024 * 1024;

// Writes the file piece by piece, so that the benchmark itself never holds it whole.
void WriteInPieces(const std::wstring& path, unsigned long long bytes, const std::function<std::string()>& piece,
                   const std::string& last) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("cannot write a benchmark file");
    for (unsigned long long written = 0; written < bytes;) {
        std::string text = piece();
        DWORD done = 0;
        if (!WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr)) Fail("cannot write");
        written += done;
    }
    DWORD done = 0;
    WriteFile(file, last.data(), static_cast<DWORD>(last.size()), &done, nullptr);
    CloseHandle(file);
}

// Open, one ReadFile of the last `bytes` bytes into a new buffer, close.
double OneReadFileOfTheEnd(const std::wstring& path, size_t bytes) {
    double start = Now();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size = {}, at = {};
    GetFileSizeEx(file, &size);
    at.QuadPart = size.QuadPart - static_cast<LONGLONG>(bytes);
    SetFilePointerEx(file, at, nullptr, FILE_BEGIN);
    std::unique_ptr<char[]> buffer(new char[bytes]);
    DWORD got = 0;
    BOOL read = ReadFile(file, buffer.get(), static_cast<DWORD>(bytes), &got, nullptr);
    CloseHandle(file);
    buffer.reset();
    double elapsed = Now() - start;
    if (file == INVALID_HANDLE_VALUE || !read || got != bytes) Fail("the one ReadFile did not read");
    return elapsed;
}

size_t WorkingSet(bool peak) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return peak ? counters.PeakWorkingSetSize : counters.WorkingSetSize;
}

// The operation's first run measures its memory (before any baseline has raised the peak); then
// both sides run in turn.
LargeInputResult Compare(std::string measure, std::string baseline, int runs, const std::function<double()>& operation,
                         const std::function<double()>& readFile) {
    LargeInputResult result{std::move(measure), std::move(baseline)};
    size_t before = WorkingSet(false);
    operation();
    size_t peak = WorkingSet(true);
    result.addedBytes = peak > before ? static_cast<double>(peak - before) : 0;
    readFile();
    std::vector<double> measured, baselines;
    for (int run = 0; run < runs; ++run) {
        measured.push_back(operation());
        baselines.push_back(readFile());
    }
    result.runs = runs;
    result.operationSeconds = Median(measured);
    result.readFileSeconds = Median(baselines);
    std::printf("  %-60s %9.2f ms (one ReadFile %9.2f ms), memory added at most %.1f MiB\n", result.measure.c_str(),
                result.operationSeconds * 1000, result.readFileSeconds * 1000, result.addedBytes / kMegabyte);
    std::fflush(stdout);
    return result;
}

// From the compiler's end to the box's text: the log's tail read and fitted to the screen.
LargeInputResult MeasureLog(const std::wstring& path, const char* what, bool quick) {
    std::string name = ToAnsi(path);
    size_t shown = 0;
    auto operation = [&] {
        double start = Now();
        FileTail tail = ReadFileTail(name, kLogTailBytes);
        std::string text = LogTextThatFits(nullptr, tail.bytes, tail.whole, name);
        double elapsed = Now() - start;
        if (tail.whole || text.rfind("Earlier lines are not shown", 0) != 0) Fail("the log's tail was not shown");
        shown = text.size();
        return elapsed;
    };
    LargeInputResult result = Compare(std::string("Compiler log of ") + what + ", from the compiler's end to the box's text",
                                      "(one ReadFile of its last 64 KiB)", quick ? 3 : 15, operation,
                                      [&] { return OneReadFileOfTheEnd(path, kLogTailBytes); });
    result.measure += " (median of " + std::to_string(result.runs) + "; " + std::to_string(shown) + " bytes shown)";
    return result;
}

}  // namespace

std::vector<LargeInputResult> MeasureLargeInputs(bool quick) {
    std::wstring folder = FreshFolder(L"large");
    std::vector<LargeInputResult> results;

    std::wstring log = folder + L"ledger_test.log";
    int line = 0;
    WriteInPieces(log, 100ull * kMegabyte, [&] {
        std::string text;
        for (int i = 0; i < 1000; ++i)
            text += "C:\\Users\\dev\\Projects\\Ledger\\src\\test\\ledger_test.bas(" + std::to_string(++line) +
                    ":5) Error 516: Undefined equate - %LEDGER_MAX\r\n";
        return text;
    }, "");
    results.push_back(MeasureLog(log, "100 MB in ordinary lines", quick));
    WriteInPieces(log, 10ull * kMegabyte, [] { return std::string(kMegabyte, 'x'); }, "\r\n");
    results.push_back(MeasureLog(log, "10 MiB in one line", quick));
    DeleteFileW(log.c_str());

    // LoadSettings reads the settings file beside the running executable: this benchmark's own.
    std::wstring settings = SettingsFilePath(ExecutablePathWide());
    unsigned long long bytes = (quick ? 100ull : 1024ull) * kMegabyte;
    WriteInPieces(settings, bytes, [first = true]() mutable {
        std::string text = first ? "quarex=C:\\q.exe\r\nactive=" : "";
        first = false;
        return text + std::string(kMegabyte, 'x');
    }, "\r\ncompiler=pbcc\r\n");
    LARGE_INTEGER size = {};
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(settings.c_str(), GetFileExInfoStandard, &data);
    size.LowPart = data.nFileSizeLow;
    size.HighPart = static_cast<LONG>(data.nFileSizeHigh);
    auto load = [] {
        SettingsRecord record;
        double start = Now();
        LoadSettings(record);
        double elapsed = Now() - start;
        if (record.quarex != "C:\\q.exe" || record.compiler != "pbcc" || record.active.size() != kLongestLine - 7)
            Fail("LoadSettings did not read the settings file with the long line");
        return elapsed;
    };
    LargeInputResult result = Compare(std::string("`LoadSettings` of a settings file with a line of ") +
                                          (quick ? "100 MB" : "1 GB"),
                                      "(one ReadFile of the whole file)", quick ? 1 : 3, load,
                                      [&] { return OneReadFileOfTheEnd(settings, static_cast<size_t>(size.QuadPart)); });
    result.measure += " (median of " + std::to_string(result.runs) + ")";
    results.push_back(result);
    DeleteFileW(settings.c_str());
    RemoveTree(folder);
    return results;
}
