#include "platform/file_tail.h"

#include <windows.h>

#include "platform/ansi.h"
#include "platform/paths.h"
#include "platform/handles.h"
#include "platform/held_retry.h"

FileTail ReadFileTail(std::string_view path, size_t most) {
    FileTail tail;
    std::wstring wide = SystemPath(ToWide(path));
    QuietErrorMode quiet;
    UniqueHandle file;
    // A virus scanner or an indexer often opens the log for a moment right after the compiler ends.
    RetryWhileHeld([&] {
        file.Reset(CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.Valid())
            file.Reset(
                CreateFileW(wide.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return file.Valid() ? 0 : GetLastError();
    });
    LARGE_INTEGER size = {};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) {
        tail.error = GetLastError();
        return tail;
    }
    unsigned long long total = static_cast<unsigned long long>(size.QuadPart);
    size_t wanted = total < most ? static_cast<size_t>(total) : most;
    tail.whole = wanted == total;
    LARGE_INTEGER start = {};
    start.QuadPart = static_cast<LONGLONG>(total - wanted);
    if (!SetFilePointerEx(file.Get(), start, nullptr, FILE_BEGIN)) {
        tail.error = GetLastError();
        return tail;
    }
    tail.bytes.resize(wanted);
    size_t got = 0;
    while (got < wanted) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), tail.bytes.data() + got, static_cast<DWORD>(wanted - got), &read, nullptr) ||
            read == 0)
            break;
        got += read;
    }
    tail.bytes.resize(got);
    return tail;
}
