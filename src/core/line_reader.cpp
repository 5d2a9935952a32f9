#include "core/line_reader.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr char kCtrlZ = 26;

// Reads the next chunk; false at the end of the source.
[[gnu::noinline]] bool Refill(LineReader& reader) {
    if (reader.exhausted || !reader.fill) return false;
    reader.buffer.resize(kChunk);
    size_t got = reader.fill(reader.buffer.data(), kChunk);
    reader.buffer.resize(got);
    reader.position = 0;
    if (got == 0) reader.exhausted = true;
    return got > 0;
}

// Makes at least one unread byte available unless the source is exhausted. Called several
// times a line, so the common case stays inline.
inline bool Available(LineReader& reader) {
    return reader.position < reader.buffer.size() || Refill(reader);
}

// The first CR or byte 26 in [begin, end), or end. Long runs of ordinary bytes are passed eight
// at a time (a word holds a wanted byte exactly when the word XOR that byte repeated has a zero
// byte); the few bytes around the line end go one by one.
const char* FindLineEnd(const char* begin, const char* end) {
    constexpr uint64_t kOnes = 0x0101010101010101ull;
    constexpr uint64_t kHighs = 0x8080808080808080ull;
    const char* p = begin;
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        uint64_t cr = word ^ (kOnes * '\r');
        uint64_t ctrlZ = word ^ (kOnes * kCtrlZ);
        if (((cr - kOnes) & ~cr & kHighs) | ((ctrlZ - kOnes) & ~ctrlZ & kHighs)) break;
        p += 8;
    }
    while (p != end && *p != '\r' && *p != kCtrlZ) ++p;
    return p;
}

}  // namespace

bool LineReaderAtEnd(LineReader& reader) {
    return !Available(reader) || reader.buffer[reader.position] == kCtrlZ;
}

void LineReaderNext(LineReader& reader, std::string& line) {
    line.clear();
    while (Available(reader)) {
        const char* begin = reader.buffer.data() + reader.position;
        const char* end = reader.buffer.data() + reader.buffer.size();
        const char* stop = FindLineEnd(begin, end);
        size_t room = kLongestLine - line.size();
        line.append(begin, static_cast<size_t>(stop - begin) < room ? stop : begin + room);
        reader.position += static_cast<size_t>(stop - begin);
        if (stop == end) continue;  // the line goes on in the next chunk
        if (*stop == kCtrlZ) break;  // left unread: the file ends here
        ++reader.position;           // the CR
        if (Available(reader) && reader.buffer[reader.position] == '\n') ++reader.position;
        break;
    }
}
