// The numeric value of arbitrary text, and of numbers built from the input's bytes.
//
// Input: any bytes, read as a text; the same bytes also give digits for built numbers.
//
// Properties: never NaN (an overflow gives an infinity, never undefined behaviour); leading
// spaces, tabs, CR and LF do not change the value, and neither does anything after the number;
// a text that does not begin with a sign, a digit, a point or "&" is 0; a sign in front of a
// decimal number negates it or keeps it; radix forms are never negative; the value is that of a
// plain reading of the number at the start; and plain digit strings, &H, &B, &O and &Q forms
// and decimal numbers with an exponent (E or D, either case) have the value their digits spell.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "core/text.h"

namespace {

bool Same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return a == b && std::signbit(a) == std::signbit(b);
}

std::string Shown(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// Digits of `base` spelled by the input's bytes (at most `count`), and their exact value.
std::string Digits(std::string_view bytes, unsigned base, size_t count, bool upper, double& value) {
    static const char kLower[] = "0123456789abcdef";
    static const char kUpper[] = "0123456789ABCDEF";
    std::string digits;
    value = 0;
    for (size_t i = 0; i < bytes.size() && i < count; ++i) {
        unsigned digit = static_cast<unsigned char>(bytes[i]) % base;
        digits += (upper ? kUpper : kLower)[digit];
        value = value * base + digit;
    }
    return digits;
}

// The value of a number text read the plain way: an "&" form digit by digit, a decimal number
// (sign, digits with one point, an exponent with E or D that has digits) through the C library.
double PlainValue(std::string_view number) {
    if (!number.empty() && number[0] == '&') {
        unsigned base = 8;
        size_t pos = 1;
        char kind = number.size() > 1 ? number[1] : '\0';
        if (kind == 'h' || kind == 'H') base = 16;
        else if (kind == 'b' || kind == 'B') base = 2;
        if (std::string_view("hHbBoOqQ").find(kind) != std::string_view::npos) pos = 2;
        double value = 0;
        for (; pos < number.size(); ++pos) {
            char c = number[pos];
            unsigned digit = c >= '0' && c <= '9' ? unsigned(c - '0')
                           : c >= 'a' && c <= 'f' ? unsigned(c - 'a' + 10)
                           : c >= 'A' && c <= 'F' ? unsigned(c - 'A' + 10) : 99u;
            if (digit >= base) break;
            value = value * base + digit;
        }
        return value;
    }
    size_t pos = 0;
    std::string plain;
    if (pos < number.size() && (number[pos] == '+' || number[pos] == '-')) plain += number[pos++];
    bool digits = false, point = false;
    for (; pos < number.size(); ++pos) {
        char c = number[pos];
        if (c >= '0' && c <= '9') digits = true;
        else if (c == '.' && !point) point = true;
        else break;
        plain += c;
    }
    if (!digits) return 0;
    if (pos < number.size() && std::string_view("eEdD").find(number[pos]) != std::string_view::npos) {
        std::string exponent = "e";
        size_t at = pos + 1;
        if (at < number.size() && (number[at] == '+' || number[at] == '-')) exponent += number[at++];
        size_t first = at;
        while (at < number.size() && number[at] >= '0' && number[at] <= '9') exponent += number[at++];
        if (at > first) plain += exponent;
    }
    return std::strtod(plain.c_str(), nullptr);
}

void CheckBuiltNumbers(std::string_view bytes) {
    if (bytes.empty()) return;
    bool upper = bytes[0] & 1;
    double exact = 0;

    // Up to 15 decimal digits are exact in a double.
    std::string decimal = Digits(bytes, 10, 15, upper, exact);
    FUZZ_REQUIRE(NumericValue(decimal) == exact, decimal, Shown(NumericValue(decimal)));
    FUZZ_REQUIRE(NumericValue(" \t" + decimal + "x") == exact, decimal);
    FUZZ_REQUIRE(NumericValue("-" + decimal) == -exact, decimal);

    // Radix forms of up to 52 bits, with the prefix letter in either case.
    std::string hex = Digits(bytes, 16, 13, upper, exact);
    FUZZ_REQUIRE(NumericValue((upper ? "&H" : "&h") + hex) == exact, hex);
    std::string binary = Digits(bytes, 2, 52, upper, exact);
    FUZZ_REQUIRE(NumericValue((upper ? "&B" : "&b") + binary) == exact, binary);
    std::string octal = Digits(bytes, 8, 17, upper, exact);
    FUZZ_REQUIRE(NumericValue((upper ? "&O" : "&q") + octal) == exact, octal);
    FUZZ_REQUIRE(NumericValue("&" + octal + "9") == exact, octal);

    // A decimal number with a point and an exponent is the number the C library reads; D is E.
    double ignored = 0;
    std::string whole = Digits(bytes, 10, 8, upper, ignored);
    std::string fraction = Digits(bytes.substr(bytes.size() / 2), 10, 8, upper, ignored);
    std::string exponent = std::to_string(static_cast<int>(static_cast<unsigned char>(bytes.back())) - 128);
    std::string number = whole + "." + fraction;
    double expected = std::strtod((number + "e" + exponent).c_str(), nullptr);
    for (const char* letter : {"E", "e", "D", "d"}) {
        std::string text = number + letter + exponent;
        FUZZ_REQUIRE(Same(NumericValue(text), expected), text, Shown(NumericValue(text)), Shown(expected));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = NumericValue(text);
    FUZZ_REQUIRE(!std::isnan(value), text);

    std::string input(text);
    FUZZ_REQUIRE(Same(NumericValue(" \t\r\n" + input), value), input, Shown(value));
    FUZZ_REQUIRE(Same(NumericValue(input + ";"), value), input, Shown(value));

    size_t start = input.find_first_not_of(" \t\r\n");
    std::string_view number = start == std::string::npos ? std::string_view() : text.substr(start);
    char first = number.empty() ? '\0' : number[0];
    bool decimalStart = (first >= '0' && first <= '9') || first == '.';
    if (!decimalStart && first != '+' && first != '-' && first != '&')
        FUZZ_REQUIRE(Same(value, 0.0), input, Shown(value));
    if (first == '&') FUZZ_REQUIRE(value >= 0, input, Shown(value));
    // Compared as numbers: "-0" may give either zero.
    FUZZ_REQUIRE(value == PlainValue(number), input, Shown(value), Shown(PlainValue(number)));
    if (decimalStart) {
        // Compared as numbers: a text without digits is 0 with either sign in front.
        FUZZ_REQUIRE(NumericValue("-" + std::string(number)) == -value, input, Shown(value));
        FUZZ_REQUIRE(NumericValue("+" + std::string(number)) == value, input, Shown(value));
    }

    CheckBuiltNumbers(text);
    return 0;
}
