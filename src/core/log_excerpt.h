#pragma once
// What the compiler-log box shows of a log of which only the last bytes were read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The most of a compiler's log that is read: more than any screen shows in one box.
constexpr size_t kLogTailBytes = 64 * 1024;

// The lines of a log, each without its line end (a CR LF, a lone CR or a lone LF), in order; a
// line end at the log's end starts no further line. CR and LF are never the second byte of a
// double-byte character, so the bytes are read one by one in every code page.
std::vector<std::string_view> LogLines(std::string_view log);

// The lines of a log's last bytes as LogLines has them, from the last one up, each found only
// when asked for: the cost grows with the lines taken, never with the bytes before them. When
// the bytes are not the whole log (`whole` false), the first line may have lost its beginning
// and is left out.
class LogLinesFromTheEnd {
public:
    LogLinesFromTheEnd(std::string_view tail, bool whole);
    // The line before the last one given (the last line first); none once the first line is
    // given, or where the line would be longer than `longest` bytes (then no more either).
    std::optional<std::string_view> Previous(size_t longest = std::string_view::npos);
    // Whether Previous has reached the first line: no line is left to give.
    bool AllGiven() const { return allGiven_; }

private:
    std::string_view tail_;
    bool whole_;
    size_t end_;  // where the next line to give ends: at its line end, or at the bytes' end
    bool done_;
    bool allGiven_;
};

// The box's text when only the last `linesShown` lines of `tail` are shown: for the whole log
// as ShortenedLog has it (how many earlier lines are left out); for a log longer than its tail,
// a first line that says earlier lines are left out and names the log, then the last lines'
// bytes up to the end (all of the tail's lines where it has fewer).
std::string LogExcerpt(std::string_view tail, bool whole, size_t linesShown, std::string_view logName);
