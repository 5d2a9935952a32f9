#include "platform/files.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/ansi.h"
#include "platform/handles.h"
#include "platform/held_retry.h"
#include "core/long_path.h"

namespace {

// Every file is opened without sharing: while the tool has it open nobody else may, and an
// open fails while another program holds the file.
HANDLE OpenExclusive(const std::wstring& path, DWORD access, DWORD disposition) {
    QuietErrorMode quiet;
    return CreateFileW(SystemPath(path).c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

HANDLE OpenExclusive(std::string_view path, DWORD access, DWORD disposition) {
    return OpenExclusive(ToWide(path), access, disposition);
}

void Adopt(TextFile& file, HANDLE handle, bool writing) {
    file.handle.Reset(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
    file.writing = writing;
    file.reader = LineReader{};
    if (!file.handle.Valid() || writing) return;
    file.reader.fill = [handle](char* buffer, size_t capacity) -> size_t {
        DWORD got = 0;
        QuietErrorMode quiet;
        if (!ReadFile(handle, buffer, static_cast<DWORD>(capacity), &got, nullptr)) return 0;
        return got;
    };
}

// True when every byte reached the file.
bool WriteBytes(TextFile& file, std::string_view bytes) {
    if (!file.handle.Valid() || !file.writing) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        QuietErrorMode quiet;
        if (!WriteFile(file.handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Asks a Win32 function that fills a wide buffer and returns the length it needs, growing the
// buffer until the whole text fits.
template <typename Fill>
std::wstring GrowingBuffer(Fill fill) {
    std::vector<wchar_t> buffer(MAX_PATH + 4);
    for (;;) {
        DWORD length = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(std::max<size_t>(buffer.size() * 2, length + 1));
    }
}

}  // namespace

// A file written to is cut at the end of what was written when it is closed, also when another
// file takes its place.
TextFile& TextFile::operator=(TextFile&& other) noexcept {
    if (this != &other) {
        CloseFile(*this);
        handle = std::move(other.handle);
        writing = other.writing;
        reader = std::move(other.reader);
    }
    return *this;
}

TextFile::~TextFile() { CloseFile(*this); }

bool FileExists(std::string_view path) { return FileExists(ToWide(path)); }

bool FileExists(const std::wstring& path) {
    if (path.empty() || path.find_first_of(L"?*") != std::wstring::npos || path.back() == L':') return false;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(SystemPath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | 0x08)) == 0;
}

TextFile OpenTextForReading(std::string_view path) { return OpenTextForReading(ToWide(path)); }

TextFile OpenTextForReading(const std::wstring& path) {
    TextFile file;
    Adopt(file, OpenExclusive(path, GENERIC_READ, OPEN_EXISTING), false);
    return file;
}

bool AtEndOfFile(TextFile& file) { return LineReaderAtEnd(file.reader); }

void ReadLine(TextFile& file, std::string& line) { LineReaderNext(file.reader, line); }

TextFile CreateTextFile(std::string_view path) { return CreateTextFile(ToWide(path)); }

TextFile CreateTextFile(const std::wstring& path) {
    TextFile file;
    Adopt(file, OpenExclusive(path, GENERIC_WRITE, OPEN_ALWAYS), true);
    if (file.handle.Valid()) {
        QuietErrorMode quiet;
        SetEndOfFile(file.handle.Get());
    }
    return file;
}

void WriteText(TextFile& file, std::string_view text) { WriteBytes(file, text); }

void CloseFile(TextFile& file) {
    if (!file.handle.Valid()) return;
    QuietErrorMode quiet;
    if (file.writing) SetEndOfFile(file.handle.Get());
    file.handle.Reset();
    file.reader = LineReader{};
}

void WriteWholeFile(std::string_view path, std::string_view text) { WriteWholeFile(ToWide(path), text); }

// The old bytes are written over from the start and the file is cut only after the last new
// byte: a disk that fills, a quota that runs out or a share that drops half-way leaves the
// file no shorter than it was, where emptying it first would leave it empty or cut.
void WriteWholeFile(const std::wstring& path, std::string_view text) {
    TextFile file;
    Adopt(file, OpenExclusive(path, GENERIC_WRITE, OPEN_ALWAYS), true);
    if (!file.handle.Valid()) return;
    bool whole = WriteBytes(file, text);
    QuietErrorMode quiet;
    if (whole) SetEndOfFile(file.handle.Get());
    file.handle.Reset();
}

void WriteNewFile(std::string_view path, std::string_view text) { WriteNewFile(ToWide(path), text); }

void WriteNewFile(const std::wstring& path, std::string_view text) {
    TextFile file;
    Adopt(file, OpenExclusive(path, GENERIC_WRITE, CREATE_NEW), true);
    WriteText(file, text);
    CloseFile(file);
}

std::string ReadWholeFile(std::string_view path) {
    UniqueHandle file;
    RetryWhileHeld([&] {
        file.Reset(OpenExclusive(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS));
        if (!file.Valid()) file.Reset(OpenExclusive(path, GENERIC_READ, OPEN_ALWAYS));
        return file.Valid() ? 0 : GetLastError();
    });
    if (!file.Valid()) return {};

    QuietErrorMode quiet;
    DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE) return {};
    std::string bytes(size, '\0');
    DWORD total = 0;
    while (total < size) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + total, size - total, &got, nullptr) || got == 0) break;
        total += got;
    }
    bytes.resize(total);
    return bytes;
}

// The whole path, however deep the folder: a cut path would look for the settings file in the
// wrong place.
std::wstring ExecutablePathWide() {
    // A buffer too short gives its own size back (and no NUL), which asks for a larger one.
    return GrowingBuffer([](wchar_t* buffer, DWORD size) { return GetModuleFileNameW(nullptr, buffer, size); });
}

// Where it converts there and back unchanged and no "=" cuts it when the settings file is read
// again.
std::optional<std::string> HeldWhole(const std::wstring& path) {
    std::string ansi = ToAnsi(path);
    if (ansi.find('=') != std::string::npos || ToWide(ansi) != path) return std::nullopt;
    return ansi;
}

// A name the code page cannot spell would be kept as a row of "?", which names no file; the
// short form names the same file in ASCII where the volume keeps short names.
std::optional<std::string> HoldablePath(const std::wstring& path) {
    if (path.empty()) return std::string();
    if (std::optional<std::string> whole = HeldWhole(path)) return whole;
    std::wstring asked = SystemPath(path);
    std::wstring shortPath;
    {
        QuietErrorMode quiet;
        shortPath = GrowingBuffer([&asked](wchar_t* buffer, DWORD size) {
            return GetShortPathNameW(asked.c_str(), buffer, size);
        });
    }
    if (shortPath.empty()) return std::nullopt;
    // The settings keep the plain form; the "\\?\" form is added again at each use.
    if (asked != path) shortPath = PlainPath(shortPath);
    return HeldWhole(shortPath);
}

// A path is that long once it is full: a relative one is resolved the way the system would.
std::wstring SystemPath(const std::wstring& path) {
    if (path.empty()) return path;
    std::wstring full = GrowingBuffer([&path](wchar_t* buffer, DWORD size) {
        return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
    });
    if (full.empty()) return path;
    std::wstring extended = ExtendedLengthPath(full);
    return extended.size() == full.size() ? path : extended;
}

std::string GetCurrentDir() {
    QuietErrorMode quiet;
    return ToAnsi(GrowingBuffer([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); }));
}

// The whole path goes to the system: a path cut short could name another existing folder.
// A path the system refuses leaves the current directory as it was.
void SetCurrentDir(std::string_view path) {
    if (path.find_first_of("?*") != std::string_view::npos) return;
    std::wstring wide = ToWide(path);
    QuietErrorMode quiet;
    SetCurrentDirectoryW(wide.c_str());
}

void SetCurrentDrive(std::string_view text) {
    if (text.empty()) return;
    std::wstring drive = ToWide(text.substr(0, 1)) + L":";
    QuietErrorMode quiet;
    SetCurrentDirectoryW(drive.c_str());
}
