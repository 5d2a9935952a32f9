#pragma once
// Helpers for tests that work on real files under Windows (or Wine).
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/settings_record.h"

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder's ANSI path, with a trailing "\".
    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + std::string(name); }

private:
    std::string path_;
};

// Raw bytes of a file ("" when missing), and writing bytes exactly.
std::string ReadBytes(std::string_view path);
void WriteBytes(std::string_view path, std::string_view bytes);
bool IsDirectory(std::string_view path);
bool PathExists(std::string_view path);
// Names (without folder) of the entries that a FindFirstFileW pattern such as D:\dir\* finds.
std::vector<std::string> NamesMatching(std::string_view pattern);

// Holds a file open with share mode 0, as another program would; other opens then fail.
class ExclusiveHold {
public:
    explicit ExclusiveHold(std::string_view path);
    ~ExclusiveHold();
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

// True under Wine, for the few checks where Wine is known to differ from Windows.
bool RunningUnderWine();

// The settings file of the running test executable: beside it, as the tool's own is.
std::string OwnSettingsFile();

// The tests' settings record, as the tool has its one: handed to the code under test.
extern SettingsRecord TestSettings;

// For the length of a test: no settings file beside the test executable and an empty
// TestSettings, at the start and again at the end.
class FreshSettings {
public:
    FreshSettings();
    ~FreshSettings();
    FreshSettings(const FreshSettings&) = delete;
    FreshSettings& operator=(const FreshSettings&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// The folder the test executable lives in, with a trailing "\".
std::string ExecutableFolder();
