#pragma once
// What the settings targets share: loading a settings file's bytes the way LoadSettings does
// (every line through ApplySettingsLine, then the derived fields), and the twelve keys with
// their fields in file order.
#include <array>
#include <string>
#include <string_view>

#include "core/settings_record.h"
#include "fuzz_support.h"
#include "line_helpers.h"

namespace fuzz {

struct SettingsKey {
    const char* name;
    std::string SettingsRecord::*field;
    bool freeText;  // stored as read; the others are turned into one of their allowed values
};

inline constexpr std::array<SettingsKey, 12> kSettingsKeys{{
    {"active", &SettingsRecord::active, true},
    {"directory", &SettingsRecord::directory, false},
    {"output", &SettingsRecord::output, true},
    {"compiler", &SettingsRecord::compiler, false},
    {"pbwin", &SettingsRecord::pbwin, true},
    {"pbcc", &SettingsRecord::pbcc, true},
    {"quarex", &SettingsRecord::quarex, true},
    {"include", &SettingsRecord::include, false},
    {"incl1", &SettingsRecord::incl1, true},
    {"incl2", &SettingsRecord::incl2, true},
    {"incl3", &SettingsRecord::incl3, true},
    {"incl4", &SettingsRecord::incl4, true},
}};

inline void LoadSettingsBytes(SettingsRecord& record, std::string_view bytes) {
    for (const std::string& line : SplitLines(bytes)) ApplySettingsLine(record, line);
    DeriveActiveFields(record);
}

// The include directory that include "1" to "4" names; nullptr for any other text.
inline const std::string* IncludeDirFor(const SettingsRecord& record) {
    if (record.include == "1") return &record.incl1;
    if (record.include == "2") return &record.incl2;
    if (record.include == "3") return &record.incl3;
    if (record.include == "4") return &record.incl4;
    return nullptr;
}

// Fields a loaded record can hold, and derived fields that follow from them.
inline void RequireLoadedRecordIsSound(const SettingsRecord& record, std::string_view previousIncludeDir) {
    FUZZ_REQUIRE(record.directory.empty() || record.directory == "relative" || record.directory == "specific",
                 record.directory);
    FUZZ_REQUIRE(record.compiler.empty() || record.compiler == "pbwin" || record.compiler == "pbcc",
                 record.compiler);
    FUZZ_REQUIRE(record.include.empty() || IncludeDirFor(record) != nullptr, record.include);
    for (const SettingsKey& key : kSettingsKeys) {
        const std::string& value = record.*key.field;
        // A value comes from one line and ends at a second "=".
        FUZZ_REQUIRE(!Contains(value, '\r') && !Contains(value, '\x1a') && !Contains(value, '='), key.name, value);
    }
    const std::string& expectedCompiler = record.compiler == "pbwin" ? record.pbwin : record.pbcc;
    FUZZ_REQUIRE(record.activeCompilerPath == expectedCompiler, record.compiler, record.activeCompilerPath);
    const std::string* includeDir = IncludeDirFor(record);
    std::string_view expectedInclude = includeDir ? std::string_view(*includeDir) : previousIncludeDir;
    FUZZ_REQUIRE(record.activeIncludeDir == expectedInclude, record.include, record.activeIncludeDir);
}

inline void RequireSamePersistedFields(const SettingsRecord& expected, const SettingsRecord& actual) {
    for (const SettingsKey& key : kSettingsKeys)
        FUZZ_REQUIRE(expected.*key.field == actual.*key.field, key.name, expected.*key.field, actual.*key.field);
}

}  // namespace fuzz
