#include "platform/line_reader.h"

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr char kCtrlZ = 26;

// Makes at least one unread byte available unless the source is exhausted.
bool Available(LineReader& reader) {
    if (reader.position < reader.buffer.size()) return true;
    if (reader.exhausted || !reader.fill) return false;
    reader.buffer.resize(kChunk);
    size_t got = reader.fill(reader.buffer.data(), kChunk);
    reader.buffer.resize(got);
    reader.position = 0;
    if (got == 0) reader.exhausted = true;
    return got > 0;
}

}  // namespace

bool LineReaderAtEnd(LineReader& reader) {
    return !Available(reader) || reader.buffer[reader.position] == kCtrlZ;
}

std::string LineReaderNext(LineReader& reader) {
    std::string line;
    LineReaderNext(reader, line);
    return line;
}

void LineReaderNext(LineReader& reader, std::string& line) {
    line.clear();
    while (Available(reader)) {
        const char* begin = reader.buffer.data() + reader.position;
        const char* end = reader.buffer.data() + reader.buffer.size();
        const char* stop = begin;
        while (stop != end && *stop != '\r' && *stop != kCtrlZ) ++stop;
        line.append(begin, stop);
        reader.position += static_cast<size_t>(stop - begin);
        if (stop == end) continue;  // the line goes on in the next chunk
        if (*stop == kCtrlZ) break;  // left unread: the file ends here
        ++reader.position;           // the CR
        if (Available(reader) && reader.buffer[reader.position] == '\n') ++reader.position;
        break;
    }
}

std::vector<std::string> SplitLines(std::string_view bytes) {
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
