#pragma once
// What the compiler-log box shows of a log of which only the last bytes were read.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The most of a compiler's log that is read: more than any screen shows in one box.
constexpr size_t kLogTailBytes = 64 * 1024;

// The lines of the log's last bytes, each without its line end (a CR LF, a lone CR or a lone LF),
// in order. When the bytes are not the whole log, the first line may have lost its beginning and
// is left out.
std::vector<std::string_view> LogTailLines(std::string_view tail, bool whole);

// The box's text when only its last `linesShown` lines are shown: for the whole log as
// ShortenedLog has it (how many earlier lines are left out); for a log longer than its tail, a
// first line that says earlier lines are left out and names the log, then the last lines' bytes
// up to the end.
std::string LogExcerpt(std::string_view tail, bool whole, size_t linesShown, std::string_view logName);
