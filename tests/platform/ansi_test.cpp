// The flags of the conversion to ANSI, code page by code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/ansi.h"

// Windows fails WideCharToMultiByte with ERROR_INVALID_FLAGS when UTF-8 or GB18030 get any flag
// but WC_ERR_INVALID_CHARS, and when UTF-7, Symbol, ISO-2022 and ISCII get any flag at all; every
// other code page takes WC_NO_BEST_FIT_CHARS. Wine accepts the flag everywhere, so the choice is
// held to that list here, and only the acceptance is asked of the system.
TEST(AnsiConversion, NoBestFitOnlyWhereTheCodePageTakesTheFlag) {
    const unsigned refusing[] = {65001, 54936, 65000, 42, 50220, 50221, 50222, 50225, 50227, 50229, 57002, 57006, 57011};
    const unsigned taking[] = {1252, 1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258, 874, 932, 936, 949, 950, 437, 850};
    for (unsigned codePage : refusing) EXPECT_EQ(AnsiConversionFlags(codePage), 0u) << codePage;
    for (unsigned codePage : taking) EXPECT_EQ(AnsiConversionFlags(codePage), DWORD{WC_NO_BEST_FIT_CHARS}) << codePage;
    EXPECT_EQ(AnsiConversionFlags(50000), DWORD{WC_NO_BEST_FIT_CHARS});
    EXPECT_EQ(AnsiConversionFlags(57012), DWORD{WC_NO_BEST_FIT_CHARS});

    // Every one of them that this system has converts with the flags chosen for it.
    auto converts = [](unsigned codePage) {
        const wchar_t text[] = L"D:\\\u00B5\u0101\u8868\u30BD.bas";
        char bytes[64];
        return WideCharToMultiByte(codePage, AnsiConversionFlags(codePage), text, -1, bytes, sizeof bytes, nullptr,
                                   nullptr) > 1;
    };
    std::vector<unsigned> all(std::begin(refusing), std::end(refusing));
    all.insert(all.end(), std::begin(taking), std::end(taking));
    for (unsigned codePage : all) {
        if (!IsValidCodePage(codePage)) continue;
        EXPECT_TRUE(converts(codePage)) << codePage << ": error " << GetLastError();
    }
}
