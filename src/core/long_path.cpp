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

// The strings are put together with plain appends: the tool's size is budgeted, and at -O3
// every other string operation is inlined in full.
std::wstring Joined(std::wstring_view first, std::wstring_view second) {
    std::wstring joined;
    joined.reserve(first.size() + second.size());
    joined.append(first.data(), first.size());
    joined.append(second.data(), second.size());
    return joined;
}

}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
    if (fullPath.size() < kPlainPathLimit) return Joined({}, fullPath);
    if (IsDriveAbsolute(fullPath)) return Joined(kExtended, fullPath);
    if (IsUnc(fullPath)) return Joined(kExtendedUnc, fullPath.substr(2));
    return Joined({}, fullPath);
}

std::wstring PlainPath(std::wstring_view path) {
    if (path.substr(0, kExtendedUnc.size()) == kExtendedUnc) return Joined(L"\\\\", path.substr(kExtendedUnc.size()));
    std::wstring_view rest = path.substr(path.size() < kExtended.size() ? path.size() : kExtended.size());
    if (path.substr(0, kExtended.size()) == kExtended && IsDriveAbsolute(rest)) return Joined({}, rest);
    return Joined({}, path);
}
