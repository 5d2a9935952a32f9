#include "app/settings_record.h"

#include <array>

#include "platform/text.h"

SettingsRecord Settings;

namespace {

// The persisted fields in file order, with their keys.
struct Key {
    const char* name;
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

}  // namespace

std::string SettingsFilePath(std::string_view executablePath) {
    return CutBeforeLastDot(executablePath) + ".ini";
}

void ApplySettingsDefaults(SettingsRecord& record) {
    record.directory = "relative";
    record.compiler = "pbwin";
    record.include = "1";
}

void ApplySettingsLine(SettingsRecord& record, std::string_view rawLine) {
    std::string line = TrimSpaces(rawLine);
    if (line.empty()) return;

    // A key with no "=" at all carries no value: such a line is ignored, so that a stray word
    // never empties a setting.
    size_t firstEquals = line.find('=');
    if (firstEquals == std::string::npos) return;

    std::string key = LowerCase(std::string_view(line).substr(0, firstEquals));
    std::string_view rest = std::string_view(line).substr(firstEquals + 1);
    std::string value(rest.substr(0, rest.find('=')));  // anything from a second "=" on is dropped

    for (const Key& known : kKeys) {
        if (key != known.name) continue;
        std::string& field = record.*known.field;
        if (known.field == &SettingsRecord::directory) {
            field = LowerCase(value) == "relative" ? "relative" : "specific";
        } else if (known.field == &SettingsRecord::compiler) {
            field = LowerCase(value) == "pbwin" ? "pbwin" : "pbcc";
        } else if (known.field == &SettingsRecord::include) {
            double number = NumericValue(value);
            field = number == 2 ? "2" : number == 3 ? "3" : number == 4 ? "4" : "1";
        } else {
            field = value;
        }
        return;
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
