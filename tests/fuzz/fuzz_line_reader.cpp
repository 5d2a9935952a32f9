// The line reader over arbitrary bytes, fed in chunks of sizes the input chooses.
//
// Input: one byte n, then n % 8 chunk-size bytes (each chunk is that byte + 1 long, the sizes
// repeat in turn; with none the reader gets as much as it asks for), then the file's bytes.
//
// Properties: the lines do not depend on how the bytes arrive, nor on whether each line is read
// into a fresh text or into one reused text; no line holds a CR or byte 26; the lines are
// exactly those of a plain reading of the bytes before the first byte 26 (CR ends a line, a LF
// right after it belongs to that end, a lone LF stays, a last line without an end counts, no
// empty line after a final line end), each cut to its first kLongestLine bytes; once at the end,
// the reader stays there and gives the empty text. Run with inputs long enough to pass the bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "line_helpers.h"

namespace {

using Lines = std::vector<std::string>;

// Reads every line through a reader whose fill hands out the bytes in the planned chunk sizes.
Lines ReadInChunks(std::string_view bytes, const std::vector<size_t>& plan) {
    size_t next = 0, turn = 0;
    LineReader reader;
    reader.fill = [&](char* buffer, size_t capacity) -> size_t {
        FUZZ_REQUIRE(capacity > 0);
        size_t wanted = plan.empty() ? capacity : plan[turn++ % plan.size()];
        size_t count = std::min({wanted, capacity, bytes.size() - next});
        std::memcpy(buffer, bytes.data() + next, count);
        next += count;
        return count;
    };
    // One line buffer for every read, as loading the settings file does: nothing of a longer
    // earlier line may stay in it.
    Lines lines;
    std::string line;
    while (!LineReaderAtEnd(reader)) {
        LineReaderNext(reader, line);
        lines.push_back(line);
    }

    // At the end the reader stays at the end, and a further read gives the empty text.
    FUZZ_REQUIRE(LineReaderNext(reader).empty());
    FUZZ_REQUIRE(LineReaderAtEnd(reader));
    return lines;
}

// The lines of the bytes read the plain way, one byte after another.
Lines PlainLines(std::string_view bytes) {
    size_t ctrlZ = bytes.find('\x1a');
    std::string_view text = bytes.substr(0, ctrlZ);
    Lines lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            lines.push_back(current);
            current.clear();
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += text[i];
        }
    }
    // Bytes after the last line end form a last line; nothing after a final line end does.
    if (!current.empty()) lines.push_back(current);
    return lines;
}

std::string Joined(const Lines& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += line + "\n";
    return joined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) return 0;
    size_t planLength = static_cast<unsigned char>(input[0]) % 8;
    if (input.size() < 1 + planLength) return 0;
    std::vector<size_t> plan;
    for (size_t i = 1; i <= planLength; ++i) plan.push_back(static_cast<unsigned char>(input[i]) + 1u);
    std::string_view bytes = input.substr(1 + planLength);

    Lines whole = SplitLines(bytes);
    Lines chunked = ReadInChunks(bytes, plan);
    FUZZ_REQUIRE(chunked == whole, Joined(whole), Joined(chunked));

    for (const std::string& line : whole) {
        FUZZ_REQUIRE(line.find('\r') == std::string::npos, line);
        FUZZ_REQUIRE(line.find('\x1a') == std::string::npos, line);
    }

    // A line longer than the bound keeps its first kLongestLine bytes.
    Lines plain = PlainLines(bytes), bounded;
    for (const std::string& line : plain) bounded.push_back(line.substr(0, kLongestLine));
    FUZZ_REQUIRE(whole == bounded, bytes, Joined(whole), Joined(bounded));
    if (bounded != plain) return 0;

    // Joining the lines back with CR LF gives the bytes before the first byte 26, once every
    // line end there is written as CR LF and a final line end is dropped.
    std::string_view text = bytes.substr(0, bytes.find('\x1a'));
    std::string normalised;
    for (size_t i = 0; i < text.size(); ++i) {
        normalised += text[i];
        if (text[i] == '\r') {
            normalised += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
    }
    if (fuzz::EndsWithText(normalised, "\r\n")) normalised.resize(normalised.size() - 2);
    std::string rejoined;
    for (size_t i = 0; i < whole.size(); ++i) rejoined += (i ? "\r\n" : "") + whole[i];
    FUZZ_REQUIRE(rejoined == normalised, rejoined, normalised);
    return 0;
}
