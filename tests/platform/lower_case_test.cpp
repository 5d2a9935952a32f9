// LowerCase lowers plain ASCII text itself instead of asking the system; these tests hold it to
// what CharLowerBuffA does with the same bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/text.h"

namespace {

std::string SystemLowerCase(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

}  // namespace

TEST(LowerCase, AgreesWithTheSystemOnEveryAsciiByte) {
    std::string all;
    for (int c = 0; c < 128; ++c) {
        std::string one(1, static_cast<char>(c));
        EXPECT_EQ(LowerCase(one), SystemLowerCase(one)) << c;
        all += one;
    }
    EXPECT_EQ(LowerCase(all), SystemLowerCase(all));
}

TEST(LowerCase, AgreesWithTheSystemOnTextsBeyondAscii) {
    // Every byte of the code page on its own, and beside ASCII letters that the same call lowers.
    for (int c = 128; c < 256; ++c) {
        std::string text = std::string("KEY") + static_cast<char>(c) + "Z";
        EXPECT_EQ(LowerCase(text), SystemLowerCase(text)) << c;
    }
}
