#include "core/command_line_split.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> arguments(1);
    size_t at = 0;
    if (at < line.size() && line[at] == '"') {
        size_t close = line.find('"', 1);
        arguments[0] = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
        at = close == std::string_view::npos ? line.size() : close + 1;
    } else {
        while (at < line.size() && !IsBlank(line[at])) arguments[0] += line[at++];
    }
    while (at < line.size() && IsBlank(line[at])) ++at;
    if (at == line.size()) return arguments;

    std::string argument;
    int quotes = 0;  // 1 inside quotes; 2 right after a closing quote
    size_t backslashes = 0;
    while (at < line.size()) {
        char c = line[at];
        if (IsBlank(c) && quotes == 0) {
            arguments.push_back(std::move(argument));
            argument.clear();
            while (at < line.size() && IsBlank(line[at])) ++at;
            if (at == line.size()) return arguments;
            continue;
        }
        ++at;
        if (c != '"') {
            argument += c;
            backslashes = c == '\\' ? backslashes + 1 : 0;
            continue;
        }
        argument.resize(argument.size() - backslashes / 2);
        if (backslashes % 2) argument.back() = '"';
        else ++quotes;
        backslashes = 0;
        for (; at < line.size() && line[at] == '"'; ++at)
            if (++quotes == 3) {
                argument += '"';
                quotes = 0;
            }
        if (quotes == 2) quotes = 0;
    }
    arguments.push_back(std::move(argument));
    return arguments;
}
