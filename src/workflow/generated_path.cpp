#include "workflow/generated_path.h"

#include "core/settings_record.h"
#include "platform/held_retry.h"
#include "platform/text_files.h"
#include "core/test_file.h"

std::string GeneratedTestSourcePath(const SettingsRecord& record) {
    if (!FileExists(record.active)) return {};
    // A test file held open by another program reads as empty and gives "test\_test.bas"; one
    // held for a moment (the framework tool's helpers, a virus scanner) is tried again.
    TextFile file;
    RetryWhileHeld([&] {
        file = OpenTextForReading(record.active);
        return file.handle.Valid() ? 0 : GetLastError();
    });
    GeneratedPathScan scan;
    std::string line;  // one buffer for every line of a long file
    while (!AtEndOfFile(file)) {
        ReadLine(file, line);
        if (ScanTestFileLine(scan, line)) break;
    }
    return GeneratedPathFromScan(scan);
}
