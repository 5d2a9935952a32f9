// Rewriting a file in place, for the files a replacement would change in nature (links, files
// with a second name, compressed or encrypted files) and the folders that refuse a replace.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/paths.h"
#include "platform/text_files.h"
#include "platform/handles.h"

namespace {

bool MoveTo(HANDLE file, LONGLONG offset) {
    LARGE_INTEGER at = {};
    at.QuadPart = offset;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
}

// True when every byte reached the file, from its start.
bool WriteFromStart(HANDLE file, std::string_view bytes) {
    if (!MoveTo(file, 0)) return false;
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool ReadFromStart(HANDLE file, std::string& bytes) {
    if (!MoveTo(file, 0)) return false;
    for (size_t got = 0; got < bytes.size();) {
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &read, nullptr) || read == 0)
            return false;
        got += read;
    }
    return true;
}

}  // namespace

// A write that fails part-way (a full disk, a quota, a share that drops) would leave the new
// head over the old tail, whose later keys win when the file is read: the old bytes that the
// new ones cover are kept first and written back, so the file holds all of the old settings or
// all of the new ones. A file whose old bytes cannot be read is not written over.
void WriteWholeFile(const std::wstring& path, std::string_view text) {
    QuietErrorMode quiet;
    UniqueHandle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file.Valid() || !GetFileSizeEx(file.Get(), &size)) return;
    std::string old(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, static_cast<LONGLONG>(text.size()))), '\0');
    if (!ReadFromStart(file.Get(), old)) return;
    bool written = WriteFromStart(file.Get(), text) && SetEndOfFile(file.Get());
    if (!written) {
        WriteFromStart(file.Get(), old);
        if (MoveTo(file.Get(), size.QuadPart)) SetEndOfFile(file.Get());
    }
    FlushFileBuffers(file.Get());
}
