#include "core/test_file.h"

#include "core/text.h"

std::string TestFilePathFor(std::string_view sourcePath) {
    PathParts parts = SplitPath(sourcePath);
    return parts.directory + CutBeforeLastDot(parts.name) + ".test";
}

std::wstring TestFilePathFor(std::wstring_view sourcePath) {
    size_t slash = sourcePath.rfind(L'\\');
    size_t end = sourcePath.rfind(L'.');
    if (end == std::wstring_view::npos || (slash != std::wstring_view::npos && end < slash)) end = sourcePath.size();
    return std::wstring(sourcePath.substr(0, end)) + L".test";
}

void EndOutputFolderWithBackslash(SettingsRecord& record) {
    if (record.directory != "relative" && !EndsWith(record.output, "\\")) record.output += '\\';
}

std::string NewTestFileText(std::string_view sourcePath, const SettingsRecord& record) {
    std::string text = "[quarex]\r\nsource=";
    text += sourcePath;
    text += "\r\n";
    if (record.directory != "relative") {
        std::string folder = record.output;
        if (!EndsWith(folder, "\\")) folder += '\\';
        text += "output=" + folder + CutBeforeLastDot(SplitPath(sourcePath).name) + "_test.bas\r\n";
    }
    return text;
}

namespace {

// The value of a "key=value" line: after the first "=", spaces trimmed; the whole line,
// untouched, when it has no "=".
std::string LineValue(std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::string(line);
    return TrimSpaces(line.substr(equals + 1));
}

}  // namespace

bool ScanTestFileLine(GeneratedPathScan& scan, std::string_view line) {
    // Only the first six characters name the key, so "outputfile=" counts as "output".
    std::string key = LowerCase(line.substr(0, 6));
    if (key == "output") {
        scan.output = LineValue(line);
        return true;
    }
    if (key == "source") scan.source = LineValue(line);
    return false;
}

std::string GeneratedPathFromScan(const GeneratedPathScan& scan) {
    if (scan.output) return *scan.output;
    PathParts parts = SplitPath(scan.source);
    return parts.directory + "test\\" + CutBeforeLastDot(parts.name) + "_test.bas";
}
