#include "core/long_path.h"

namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

bool IsDriveAbsolute(std::wstring_view path) {
    return path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && path[2] == L'\\';
}

// "\\server\..." and not "\\?\..." or "\\.\..." (already a form of the system's own).
bool IsUnc(std::wstring_view path) {
    return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
}

}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
    std::wstring path;
    if (fullPath.size() >= kPlainPathLimit && IsDriveAbsolute(fullPath)) {
        path = kExtended;
    } else if (fullPath.size() >= kPlainPathLimit && IsUnc(fullPath)) {
        path = kExtendedUnc;
        fullPath.remove_prefix(2);
    }
    path += fullPath;
    return path;
}

std::wstring PlainPath(std::wstring_view path) {
    if (path.starts_with(kExtendedUnc)) return L"\\\\" + std::wstring(path.substr(kExtendedUnc.size()));
    if (path.starts_with(kExtended) && IsDriveAbsolute(path.substr(kExtended.size())))
        return std::wstring(path.substr(kExtended.size()));
    return std::wstring(path);
}
