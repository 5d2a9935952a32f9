#include "core/settings_record.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "core/text.h"

namespace {

// The persisted fields in file order, with their keys.
struct Key {
    std::string_view name;  // a view, so that comparing with a key of another length is one test
    std::string SettingsRecord::*field;
};
constexpr std::array<Key, 12> kKeys{{
    {"active", &SettingsRecord::active},
    {"directory", &SettingsRecord::directory},
    {"output", &SettingsRecord::output},
    {"compiler", &SettingsRecord::compiler},
    {"pbwin", &SettingsRecord::pbwin},
    {"pbcc", &SettingsRecord::pbcc},
    {"quarex", &SettingsRecord::quarex},
    {"include", &SettingsRecord::include},
    {"incl1", &SettingsRecord::incl1},
    {"incl2", &SettingsRecord::incl2},
    {"incl3", &SettingsRecord::incl3},
    {"incl4", &SettingsRecord::incl4},
}};

// The lengths of the shortest and longest keys: a text of another length matches none.
constexpr size_t KeyLength(bool longest) {
    size_t length = longest ? 0 : SIZE_MAX;
    for (const Key& known : kKeys)
        length = longest ? std::max(length, known.name.size()) : std::min(length, known.name.size());
    return length;
}
constexpr size_t kShortestKey = KeyLength(false);
constexpr size_t kLongestKey = KeyLength(true);

// Where the first "=" is, or the text's length. A plain loop: lines are short, and a call into
// the C runtime's memchr for each of them costs more than the scan itself.
size_t PositionOfEquals(std::string_view text) {
    size_t position = 0;
    while (position < text.size() && text[position] != '=') ++position;
    return position;
}

// The key of that exact text (byte for byte, case-sensitive), or none.
const Key* FindKey(std::string_view text) {
    for (const Key& known : kKeys) {
        if (text.size() != known.name.size()) continue;
        size_t i = 0;  // compared here rather than by a call into the C runtime for every line
        while (i < text.size() && text[i] == known.name[i]) ++i;
        if (i == text.size()) return &known;
    }
    return nullptr;
}

}  // namespace

std::string SettingsFilePath(std::string_view executablePath) {
    return CutBeforeLastDot(executablePath) + ".ini";
}

std::wstring SettingsFilePath(std::wstring_view executablePath) {
    return std::wstring(executablePath.substr(0, executablePath.rfind(L'.'))) + L".ini";
}

void ApplySettingsDefaults(SettingsRecord& record) {
    record.directory = "relative";
    record.compiler = "pbwin";
    record.include = "1";
}

void ApplySettingsLine(SettingsRecord& record, std::string_view rawLine) {
    // Views into the line rather than copies of it: a large file costs little more than one
    // pass over its bytes.
    std::string_view line = TrimSpacesView(rawLine);
    if (line.empty()) return;

    // A key with no "=" at all carries no value: such a line is ignored, so that a stray word
    // never empties a setting.
    size_t firstEquals = PositionOfEquals(line);
    if (firstEquals == line.size()) return;
    std::string_view rawKey = line.substr(0, firstEquals);
    if (rawKey.size() < kShortestKey || rawKey.size() > kLongestKey) return;  // lower-casing keeps the length

    // Saved files hold the keys in lower case, which the system's lower-casing leaves as they
    // are: such a key matches as it stands, and only another spelling is lower-cased first.
    const Key* known = FindKey(rawKey);
    if (!known) known = FindKey(LowerCase(rawKey));
    if (!known) return;

    std::string_view rest = line.substr(firstEquals + 1);
    std::string_view value = rest.substr(0, PositionOfEquals(rest));  // anything from a second "=" on is dropped
    std::string& field = record.*known->field;
    if (known->field == &SettingsRecord::directory) {
        field = LowerCase(value) == "relative" ? "relative" : "specific";
    } else if (known->field == &SettingsRecord::compiler) {
        field = LowerCase(value) == "pbwin" ? "pbwin" : "pbcc";
    } else if (known->field == &SettingsRecord::include) {
        double number = NumericValue(value);
        field = number == 2 ? "2" : number == 3 ? "3" : number == 4 ? "4" : "1";
    } else {
        field.assign(value);
    }
}

void DeriveActiveFields(SettingsRecord& record) {
    record.activeCompilerPath = record.compiler == "pbwin" ? record.pbwin : record.pbcc;
    double number = NumericValue(record.include);
    if (number == 1) record.activeIncludeDir = record.incl1;
    else if (number == 2) record.activeIncludeDir = record.incl2;
    else if (number == 3) record.activeIncludeDir = record.incl3;
    else if (number == 4) record.activeIncludeDir = record.incl4;
}

std::string FormatSettingsFile(const SettingsRecord& record) {
    std::string text;
    for (const Key& known : kKeys) {
        text += known.name;
        text += '=';
        text += record.*known.field;
        text += "\r\n";
    }
    return text;
}
