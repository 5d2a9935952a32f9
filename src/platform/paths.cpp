#include "platform/paths.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/ansi.h"
#include "platform/handles.h"
#include "core/long_path.h"
#include "core/system_limits.h"

namespace {

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

// The short form of a path given as the system takes it ("\\?\" form included); "" for none.
std::wstring ShortPathOf(const std::wstring& asked) {
    QuietErrorMode quiet;
    return GrowingBuffer(
        [&asked](wchar_t* buffer, DWORD size) { return GetShortPathNameW(asked.c_str(), buffer, size); });
}

}  // namespace

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
    std::wstring shortPath = ShortPathOf(asked);
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

std::string FullPath(std::string_view path) {
    std::wstring wide = ToWide(path);
    QuietErrorMode quiet;
    std::wstring full = GrowingBuffer(
        [&wide](wchar_t* buffer, DWORD size) { return GetFullPathNameW(wide.c_str(), size, buffer, nullptr); });
    return full.empty() ? std::string(path) : ToAnsi(full);
}

// Asked in the "\\?\" form where the path is that long, so that Windows without long paths
// answers too.
std::optional<std::string> ShortForm(std::string_view path) {
    std::wstring shortPath = ShortPathOf(SystemPath(ToWide(path)));
    if (shortPath.empty()) return std::nullopt;
    return ToAnsi(PlainPath(shortPath));
}

std::string CommandLinePath(std::string_view path) {
    // A path short enough costs no question to the file system.
    std::optional<std::string> shortForm = path.size() < kPlainPathLimit ? std::nullopt : ShortForm(path);
    return PathWithinPlainLimit(path, shortForm).value_or(std::string(path));
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
