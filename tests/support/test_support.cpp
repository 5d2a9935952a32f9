#include "test_support.h"

#include <shellapi.h>

#include <atomic>

#include "workflow/settings_file.h"
#include "core/settings_record.h"
#include "platform/ansi.h"
#include "platform/paths.h"
#include "read_shared_file.h"

namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    wchar_t base[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, base);
    std::wstring folder = std::wstring(base) + L"tb-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                          std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(counter++);
    CreateDirectoryW(folder.c_str(), nullptr);
    path_ = ToAnsi(folder) + "\\";
}

TempDir::~TempDir() {
    // Leave the folder first if a test moved the current directory into it.
    wchar_t current[1024];
    GetCurrentDirectoryW(1024, current);
    std::wstring folder = ToWide(path_);
    std::wstring_view withoutSlash(folder.data(), folder.size() - 1);
    if (std::wstring_view(current).starts_with(withoutSlash)) {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        SetCurrentDirectoryW(temp);
    }
    RemoveTree(folder.substr(0, folder.size() - 1));
}

std::string ReadBytes(std::string_view path) { return ReadSharedFile(ToWide(path)); }

void WriteBytes(std::string_view path, std::string_view bytes) {
    HANDLE file = CreateFileW(ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool IsDirectory(std::string_view path) {
    DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(std::string_view path) {
    return GetFileAttributesW(ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> NamesMatching(std::string_view pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ToWide(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(ToAnsi(found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

ExclusiveHold::ExclusiveHold(std::string_view path)
    : handle_(CreateFileW(ToWide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr)) {}

ExclusiveHold::~ExclusiveHold() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

std::string ExecutableFolder() {
    wchar_t buffer[4096];
    DWORD length = GetModuleFileNameW(nullptr, buffer, 4096);
    std::string path = ToAnsi(std::wstring_view(buffer, length));
    return path.substr(0, path.rfind('\\') + 1);
}

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

SettingsRecord TestSettings;

std::string OwnSettingsFile() { return SettingsFilePath(ToAnsi(ExecutablePathWide())); }

FreshSettings::FreshSettings() : path_(OwnSettingsFile()) {
    DeleteFileW(ToWide(path_).c_str());
    // A load without a file also forgets a settings file that an earlier case left unreadable
    // at its load, which would keep every later save from writing.
    LoadSettings(TestSettings);
    TestSettings = SettingsRecord{};
}

FreshSettings::~FreshSettings() {
    DeleteFileW(ToWide(path_).c_str());
    TestSettings = SettingsRecord{};
}
