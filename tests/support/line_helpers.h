#pragma once
// Whole-text conveniences over the line reader, for the tests and fuzzers: the tool itself reads
// line by line into one buffer.
#include <string>
#include <string_view>
#include <vector>

#include "core/line_reader.h"

// The next line as a value.
inline std::string LineReaderNext(LineReader& reader) {
    std::string line;
    LineReaderNext(reader, line);
    return line;
}

// Every line of a byte string, as a reader over a file holding those bytes would give them.
inline std::vector<std::string> SplitLines(std::string_view bytes) {
    LineReader reader;
    reader.fill = [bytes](char* buffer, size_t capacity) mutable {
        size_t count = bytes.size() < capacity ? bytes.size() : capacity;
        bytes.copy(buffer, count);
        bytes.remove_prefix(count);
        return count;
    };
    std::vector<std::string> lines;
    while (!LineReaderAtEnd(reader)) lines.push_back(LineReaderNext(reader));
    return lines;
}

// Trailing spaces removed (the space character only), as the settings file's values are kept.
inline std::string TrimTrailingSpaces(std::string_view text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}
