#include "core/log_excerpt.h"

#include "core/report_texts.h"

std::vector<std::string_view> LogTailLines(std::string_view tail, bool whole) {
    std::vector<std::string_view> lines;
    size_t at = 0;
    while (at < tail.size()) {
        size_t end = tail.find_first_of("\r\n", at);
        if (end == std::string_view::npos) end = tail.size();
        lines.push_back(tail.substr(at, end - at));
        at = end + (end + 1 < tail.size() && tail[end] == '\r' && tail[end + 1] == '\n' ? 2 : 1);
    }
    if (!whole && !lines.empty()) lines.erase(lines.begin());
    return lines;
}

std::string LogExcerpt(std::string_view tail, bool whole, size_t linesShown, std::string_view logName) {
    if (whole) return ShortenedLog(tail, linesShown, logName);
    std::string text = "Earlier lines are not shown; the whole log is in " + std::string(logName);
    std::vector<std::string_view> lines = LogTailLines(tail, false);
    if (linesShown > 0 && linesShown <= lines.size()) {
        text += "\r\n";
        text.append(lines[lines.size() - linesShown].data(), tail.data() + tail.size());
    }
    return text;
}
