// Text rules and line reading, run natively and under Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/long_path.h"
#include "core/text.h"
#include "line_helpers.h"

using Lines = std::vector<std::string>;

TEST(LineReading, CrEndsLineAndSwallowsOneLf) {
    EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\rb"), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\r\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
    EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(LineReading, LoneLfStaysInsideTheLine) {
    EXPECT_EQ(SplitLines("a\nb\r\n"), (Lines{"a\nb"}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a\n", "b"}));
}

TEST(LineReading, CtrlZEndsTheFile) {
    EXPECT_EQ(SplitLines(std::string("a\x1a" "b\r\nc", 6)), (Lines{"a"}));
    EXPECT_EQ(SplitLines(std::string("\x1a" "abc", 4)), Lines{});
    EXPECT_EQ(SplitLines(std::string("a\r\n\x1a\r\n", 5)), (Lines{"a"}));
}

TEST(LineReading, LinesLongerThanABufferAndSplitCrLfAcrossChunks) {
    std::string longLine = std::string(kLongestLine, 'x') + std::string(200000, 'y');
    EXPECT_EQ(SplitLines(longLine + "\r\nend"), (Lines{longLine.substr(0, kLongestLine), "end"}));

    // A reader fed one byte at a time must treat a CR and its LF the same when they arrive apart.
    std::string bytes = "ab\r\ncd\r\r\n";
    LineReader reader;
    size_t next = 0;
    reader.fill = [&](char* buffer, size_t) -> size_t {
        if (next == bytes.size()) return 0;
        buffer[0] = bytes[next++];
        return 1;
    };
    Lines lines;
    while (!LineReaderAtEnd(reader)) lines.push_back(LineReaderNext(reader));
    EXPECT_EQ(lines, (Lines{"ab", "cd", ""}));
    EXPECT_EQ(LineReaderNext(reader), "");
}

// A file of 1 GB without a line end costs one longest line and one chunk of memory.
TEST(LineReading, LineOfAGigabyteIsReadInBoundedMemory) {
    size_t left = size_t(1) << 30;
    LineReader reader;
    reader.fill = [&left](char* buffer, size_t capacity) {
        size_t count = left < capacity ? left : capacity;
        std::fill(buffer, buffer + count, 'x');
        left -= count;
        return count;
    };
    std::string line;
    LineReaderNext(reader, line);
    EXPECT_EQ(line, std::string(kLongestLine, 'x'));
    EXPECT_EQ(left, 0u);
    EXPECT_LE(line.capacity() + reader.buffer.capacity(), 3 * kLongestLine);
    EXPECT_TRUE(LineReaderAtEnd(reader));
}

TEST(TextOperations, PositionsAndParts) {
    EXPECT_EQ(LastPosition("a.b.c", "."), 4u);
    EXPECT_EQ(LastPosition("abc", "."), 0u);
    EXPECT_EQ(LastPosition("", "."), 0u);
    EXPECT_EQ(LeftPart("abcdef", 2), "ab");
    EXPECT_EQ(LeftPart("ab", 5), "ab");
    EXPECT_EQ(MiddlePart("abcdef", 3, 2), "cd");
    EXPECT_EQ(MiddlePart("abcdef", 5, 10), "ef");
    EXPECT_EQ(MiddlePart("abcdef", 7), "");
}

TEST(TextOperations, TrimRemovesSpacesOnly) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\t a \t"), "\t a \t");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces("\r\na\r\n"), "\r\na\r\n");
    EXPECT_EQ(TrimSpacesView("  a b  "), "a b");
    EXPECT_EQ(TrimSpacesView("\t a \t"), "\t a \t");
    EXPECT_EQ(TrimSpacesView("   "), "");
    EXPECT_EQ(TrimSpacesView(""), "");
    EXPECT_EQ(TrimSpacesView("x"), "x");
}

TEST(TextOperations, LowerCaseFollowsTheCodePage) {
    EXPECT_EQ(LowerCase("ABC xyz 09"), "abc xyz 09");
    // Code page 1252: C0-DE are lowered except the multiplication sign D7; sharp s DF stays.
    EXPECT_EQ(LowerCase("\xC0\xD6\xD7\xDE\xDF\x8A\x9F"), "\xE0\xF6\xD7\xFE\xDF\x9A\xFF");
    // ASCII letters beside letters of the code page: both kinds are lowered in one text.
    EXPECT_EQ(LowerCase("KEY\xC0Z"), "key\xE0z");
}

TEST(TextOperations, LowerCaseOfAsciiChangesOnlyAToZ) {
    std::string all, lowered;
    for (int c = 0; c < 128; ++c) {
        all += static_cast<char>(c);
        lowered += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        EXPECT_EQ(LowerCase(std::string(1, static_cast<char>(c))), std::string(1, lowered.back())) << c;
    }
    EXPECT_EQ(LowerCase(all), lowered);  // the NUL among them included
}

TEST(TextOperations, PathSplitting) {
    PathParts parts = SplitPath("D:\\src\\a.b.inc");
    EXPECT_EQ(parts.directory, "D:\\src\\");
    EXPECT_EQ(parts.name, "a.b.inc");
    parts = SplitPath("util.bas");
    EXPECT_EQ(parts.directory, "");
    EXPECT_EQ(parts.name, "util.bas");
    parts = SplitPath("D:\\dir\\");
    EXPECT_EQ(parts.directory, "D:\\dir\\");
    EXPECT_EQ(parts.name, "");
    EXPECT_EQ(CutBeforeLastDot("a.b.bas"), "a.b");
    EXPECT_EQ(CutBeforeLastDot("util"), "util");
    EXPECT_EQ(CutBeforeLastDot("D:\\my.tools\\builder"), "D:\\my");
}

// Code page 932: "表" is 95 5C and "ソ" is 83 5C, so their second byte is the byte of "\".
TEST(TextOperations, DoubleByteCharactersAreNeverSplitAtTheirSecondByte) {
    LeadBytes shiftJis;
    for (unsigned byte = 0x81; byte <= 0x9F; ++byte) shiftJis.set(byte);
    for (unsigned byte = 0xE0; byte <= 0xFC; ++byte) shiftJis.set(byte);
    const std::string kanjiKatakana = "\x95\x5C\x83\x5C";
    const std::string source = "D:\\src\\" + kanjiKatakana + "a.bas";

    PathParts parts = SplitPath(source, shiftJis);
    EXPECT_EQ(parts.directory, "D:\\src\\");
    EXPECT_EQ(parts.name, kanjiKatakana + "a.bas");
    EXPECT_EQ(LastPosition(source, "\\", shiftJis), 7u);
    EXPECT_EQ(LastPosition(kanjiKatakana, "\\", shiftJis), 0u);
    // A folder named "表" does not end in "\"; one after it does.
    EXPECT_FALSE(EndsWith("E:\\gen\\\x95\x5C", "\\", shiftJis));
    EXPECT_TRUE(EndsWith("E:\\gen\\\x95\x5C\\", "\\", shiftJis));
    // A lead byte at the very end has no second byte: the "\" before it is a character of its own.
    EXPECT_EQ(LastPosition("a\\\x95", "\\", shiftJis), 2u);
    // Characters are counted from the start: 81 95 is one character, so the 5C after it is "\".
    EXPECT_EQ(LastPosition("\x81\x95\x5C", "\\", shiftJis), 3u);

    // A single-byte code page sees bytes, as before.
    EXPECT_EQ(SplitPath(source, LeadBytes{}).directory, "D:\\src\\\x95\x5C\x83\x5C");
    EXPECT_TRUE(EndsWith("E:\\gen\\\x95\x5C", "\\", LeadBytes{}));
}

TEST(NumericValue, DecimalNumbers) {
    EXPECT_EQ(NumericValue("3"), 3);
    EXPECT_EQ(NumericValue(" \t\r\n 4"), 4);
    EXPECT_EQ(NumericValue("2.0"), 2);
    EXPECT_EQ(NumericValue("2.5"), 2.5);
    EXPECT_EQ(NumericValue("-7x"), -7);
    EXPECT_EQ(NumericValue("+.5"), 0.5);
    EXPECT_EQ(NumericValue("1.5.3"), 1.5);
    EXPECT_EQ(NumericValue("12abc"), 12);
}

TEST(NumericValue, LongWholeNumbersRoundOnceAsWrittenNumbersDo) {
    EXPECT_EQ(NumericValue("000000000000002"), 2);
    EXPECT_EQ(NumericValue("999999999999999"), 999999999999999.0);     // 15 digits, exact
    EXPECT_EQ(NumericValue("-123456789012345"), -123456789012345.0);
    EXPECT_EQ(NumericValue("9007199254740993"), 9007199254740992.0);   // 2^53 + 1 rounds to even
    EXPECT_EQ(NumericValue("12345678901234567890"), 12345678901234567890.0);
}

TEST(NumericValue, ExponentsWithEOrDInEitherCase) {
    EXPECT_EQ(NumericValue("1E2"), 100);
    EXPECT_EQ(NumericValue("1e+2"), 100);
    EXPECT_EQ(NumericValue("25D-1"), 2.5);
    EXPECT_EQ(NumericValue("3d1"), 30);
    EXPECT_EQ(NumericValue("4E"), 4);
    EXPECT_EQ(NumericValue("4Ex"), 4);
}

TEST(NumericValue, RadixForms) {
    EXPECT_EQ(NumericValue("&H1F"), 31);
    EXPECT_EQ(NumericValue("&hff"), 255);
    EXPECT_EQ(NumericValue("&B101"), 5);
    EXPECT_EQ(NumericValue("&O17"), 15);
    EXPECT_EQ(NumericValue("&q17"), 15);
    EXPECT_EQ(NumericValue("&17"), 15);
    EXPECT_EQ(NumericValue("&19"), 1);  // 9 is no octal digit
    EXPECT_EQ(NumericValue("&"), 0);
    EXPECT_EQ(NumericValue("&Hzz"), 0);
}

TEST(NumericValue, NothingNumericIsZero) {
    EXPECT_EQ(NumericValue(""), 0);
    EXPECT_EQ(NumericValue("x"), 0);
    EXPECT_EQ(NumericValue("-"), 0);
    EXPECT_EQ(NumericValue("."), 0);
    EXPECT_EQ(NumericValue("E5"), 0);
}

TEST(LineReading, LineEndFoundAtEveryPositionOfAWord) {
    // Ordinary bytes are passed several at a time: a CR or byte 26 must be found wherever it
    // falls, next to bytes that differ from it by one bit (12, 14, 27, 25, 0x8D).
    for (size_t at = 0; at < 24; ++at) {
        std::string before(at, '\x0c');
        for (size_t i = 0; i < at; ++i) before[i] = "\x0c\x0e\x1b\x19\x8d"[i % 5];
        EXPECT_EQ(SplitLines(before + "\rtail"), (Lines{before, "tail"})) << at;
        EXPECT_EQ(SplitLines(before + "\x1a" "tail"), at ? Lines{before} : Lines{}) << at;
    }
}

// Which paths go to the system in their "\\?\" form: full paths of 260 characters or more, which
// Windows refuses plain unless the program is long-path aware and the machine allows long paths.
TEST(LongPaths, FullPathsOfTheLimitAndLongerTakeTheExtendedForm) {
    const std::wstring folder = L"C:\\" + std::wstring(200, L'd') + L"\\";
    const std::wstring longest = folder + std::wstring(259 - folder.size(), L'n');  // 259
    ASSERT_EQ(longest.size(), 259u);
    EXPECT_EQ(ExtendedLengthPath(longest), longest);
    EXPECT_EQ(ExtendedLengthPath(longest + L"x"), L"\\\\?\\" + longest + L"x");
    // The settings file's ".tmp" beside a settings path of 256 to 259 characters.
    const std::wstring settings = folder + std::wstring(256 - folder.size() - 4, L's') + L".ini";
    ASSERT_EQ(settings.size(), 256u);
    EXPECT_EQ(ExtendedLengthPath(settings), settings);
    EXPECT_EQ(ExtendedLengthPath(settings + L".tmp"), L"\\\\?\\" + settings + L".tmp");
    // A share's path: "\\?\UNC\server\share\...".
    const std::wstring share = L"\\\\server\\share\\" + std::wstring(300, L'u');
    EXPECT_EQ(ExtendedLengthPath(share), L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'u'));
    // Relative paths and the system's own forms stay as they are.
    const std::wstring relative = L"test\\" + std::wstring(300, L'r');
    EXPECT_EQ(ExtendedLengthPath(relative), relative);
    EXPECT_EQ(ExtendedLengthPath(L"\\" + relative), L"\\" + relative);
    EXPECT_EQ(ExtendedLengthPath(L"C:" + relative), L"C:" + relative);
    EXPECT_EQ(ExtendedLengthPath(L"\\\\?\\" + longest + L"x"), L"\\\\?\\" + longest + L"x");
    EXPECT_EQ(ExtendedLengthPath(L"\\\\.\\" + longest), L"\\\\.\\" + longest);
    EXPECT_EQ(ExtendedLengthPath(L""), L"");

    // And back, for paths the system answers in that form.
    EXPECT_EQ(PlainPath(ExtendedLengthPath(longest + L"x")), longest + L"x");
    EXPECT_EQ(PlainPath(ExtendedLengthPath(share)), share);
    EXPECT_EQ(PlainPath(L"C:\\short"), L"C:\\short");
    EXPECT_EQ(PlainPath(L"\\\\?\\Volume{x}\\a"), L"\\\\?\\Volume{x}\\a");
}
