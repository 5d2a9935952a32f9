// The conversions and real files in a program whose ANSI code page is UTF-8 (its manifest asks
// for it). Windows refuses the no-best-fit flag there; Wine takes it, so this shows the
// conversions whole, and the flag choice itself is held to Windows' rules in ansi_test.cpp.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/ansi.h"
#include "platform/text_files.h"
#include "core/text.h"
#include "test_support.h"

TEST(Utf8CodePage, NonAsciiPathConvertsBothWaysWholeAndNamesARealFile) {
    ASSERT_EQ(GetACP(), 65001u) << "the manifest's activeCodePage was not honoured";
    EXPECT_EQ(AnsiConversionFlags(GetACP()), 0u);
    EXPECT_TRUE(SystemLeadBytes().none());

    // "Ü", "表", "ソ", "µ", "ā", "中" and a character beyond the first 65,536 (a surrogate pair).
    const std::wstring name = L"\u00DC" L"bung \u8868\u30BD \u00B5-\u0101 \u4E2D\U0001F600.bas";
    const std::string utf8 = "\xC3\x9C" "bung \xE8\xA1\xA8\xE3\x82\xBD \xC2\xB5-\xC4\x81 \xE4\xB8\xAD\xF0\x9F\x98\x80.bas";
    EXPECT_EQ(ToAnsi(name), utf8);
    EXPECT_EQ(ToWide(utf8), name);

    TempDir dir;
    std::string path = dir / utf8;
    TextFile file = CreateTextFile(path);
    WriteText(file, "source=" + path);
    CloseFile(file);
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(NamesMatching(dir / "*.bas"), std::vector<std::string>{utf8});
    EXPECT_EQ(ReadBytes(ToAnsi(ToWide(dir.Path()) + name)), "source=" + path);
    EXPECT_EQ(SplitPath(path).name, utf8);
}
