#include "core/log_excerpt.h"

#include "core/report_texts.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// How many bytes the line end that stops just before `at` takes: 2 for a CR LF, 1 for a lone CR
// or LF, 0 where the byte before `at` ends no line.
size_t LineEndBefore(std::string_view text, size_t at) {
    if (at == 0 || !IsLineEnd(text[at - 1])) return 0;
    return text[at - 1] == '\n' && at >= 2 && text[at - 2] == '\r' ? 2 : 1;
}

}  // namespace

std::vector<std::string_view> LogLines(std::string_view log) {
    std::vector<std::string_view> lines;
    const char* at = log.data();
    const char* end = at + log.size();
    // A plain loop: under Wine it measured several times faster than find_first_of, and faster
    // than a memchr for each kind of line end.
    while (at < end) {
        const char* lineEnd = at;
        while (lineEnd < end && !IsLineEnd(*lineEnd)) ++lineEnd;
        lines.emplace_back(at, static_cast<size_t>(lineEnd - at));
        at = lineEnd + (lineEnd + 1 < end && lineEnd[0] == '\r' && lineEnd[1] == '\n' ? 2 : 1);
    }
    return lines;
}

// A line end at the very end starts no further line: the last line ends before it.
LogLinesFromTheEnd::LogLinesFromTheEnd(std::string_view tail, bool whole)
    : tail_(tail), whole_(whole), end_(tail.size() - LineEndBefore(tail, tail.size())), done_(tail.empty()),
      allGiven_(done_) {}

std::optional<std::string_view> LogLinesFromTheEnd::Previous(size_t longest) {
    if (done_) return std::nullopt;
    size_t start = end_;
    while (start > 0 && !IsLineEnd(tail_[start - 1])) {
        if (end_ - start >= longest) {
            done_ = true;
            return std::nullopt;
        }
        --start;
    }
    std::string_view line = tail_.substr(start, end_ - start);
    if (start == 0) {
        done_ = true;
        allGiven_ = true;
        if (!whole_) return std::nullopt;
        return line;
    }
    end_ = start - LineEndBefore(tail_, start);  // the line before ends at this one's line end
    return line;
}

std::string LogExcerpt(std::string_view tail, bool whole, size_t linesShown, std::string_view logName) {
    if (whole) return ShortenedLog(tail, linesShown, logName);
    std::string text = "Earlier lines are not shown; the whole log is in " + std::string(logName);
    if (linesShown == 0) return text;
    LogLinesFromTheEnd lines(tail, false);
    std::optional<std::string_view> first;
    for (size_t taken = 0; taken < linesShown; ++taken) {
        std::optional<std::string_view> line = lines.Previous();
        if (!line) break;
        first = line;
    }
    if (!first) return text;
    text += "\r\n";
    text.append(first->data(), tail.data() + tail.size());
    return text;
}
