#include "platform/text_files.h"

#include <windows.h>

#include "platform/ansi.h"
#include "platform/handles.h"
#include "platform/held_retry.h"
#include "platform/paths.h"

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
    UniqueFind search(FindFirstFileW(SystemPath(path).c_str(), &found));
    if (!search) return false;
    return (found.dwFileAttributes & kNotAFileAttributes) == 0;
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

// WriteWholeFile of a wide path: platform/in_place_rewrite.cpp.

void WriteNewFile(std::string_view path, std::string_view text) { WriteNewFile(ToWide(path), text); }

void WriteNewFile(const std::wstring& path, std::string_view text) {
    TextFile file;
    Adopt(file, OpenExclusive(path, GENERIC_WRITE, CREATE_NEW), true);
    WriteText(file, text);
}

std::string ReadWholeFile(std::string_view path, WhenMissing missing) {
    DWORD disposition = missing == WhenMissing::CreateEmpty ? OPEN_ALWAYS : OPEN_EXISTING;
    UniqueHandle file;
    RetryWhileHeld([&] {
        file.Reset(OpenExclusive(path, GENERIC_READ | GENERIC_WRITE, disposition));
        if (!file.Valid()) file.Reset(OpenExclusive(path, GENERIC_READ, disposition));
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
