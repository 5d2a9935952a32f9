#include "core/text.h"

#include <cstdlib>

namespace {

// The length of the character that starts at `position`: two bytes for a lead byte with a byte
// after it, else one.
size_t CharacterLength(std::string_view text, size_t position, const LeadBytes& lead) {
    return lead[static_cast<unsigned char>(text[position])] && position + 1 < text.size() ? 2 : 1;
}

// Whether `position` starts a character. A second byte looks like any other byte, so the
// characters are counted from the start of the text.
bool StartsCharacter(std::string_view text, size_t position, const LeadBytes& lead) {
    size_t at = 0;
    while (at < position) at += CharacterLength(text, at, lead);
    return at == position;
}

}  // namespace

size_t LastPosition(std::string_view text, std::string_view search, const LeadBytes& lead) {
    if (search.empty() || search.size() > text.size()) return 0;
    if (lead.none()) {
        size_t found = text.rfind(search);
        return found == std::string_view::npos ? 0 : found + 1;
    }
    size_t last = 0;
    for (size_t at = 0; at + search.size() <= text.size(); at += CharacterLength(text, at, lead))
        if (text.compare(at, search.size(), search) == 0) last = at + 1;
    return last;
}

std::string LeftPart(std::string_view text, size_t count) {
    return std::string(text.substr(0, count));
}

std::string MiddlePart(std::string_view text, size_t start, size_t count) {
    if (start == 0) start = 1;
    if (start > text.size()) return {};
    return std::string(text.substr(start - 1, count));
}

std::string_view TrimSpacesView(std::string_view text) {
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) return {};
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

std::string TrimSpaces(std::string_view text) { return std::string(TrimSpacesView(text)); }

bool EndsWith(std::string_view text, std::string_view tail, const LeadBytes& lead) {
    if (text.size() < tail.size() || text.substr(text.size() - tail.size()) != tail) return false;
    return lead.none() || StartsCharacter(text, text.size() - tail.size(), lead);
}

PathParts SplitPath(std::string_view path, const LeadBytes& lead) {
    size_t slash = LastPosition(path, "\\", lead);
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash))};
}

std::string CutBeforeLastDot(std::string_view text) {
    size_t dot = LastPosition(text, ".");
    return dot == 0 ? std::string(text) : std::string(text.substr(0, dot - 1));
}

namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// An integer in the given base; accumulated as a double so that no length of digits overflows.
double RadixValue(std::string_view digits, int base) {
    double value = 0;
    for (char c : digits) {
        int digit = DigitValue(c);
        if (digit >= base) break;
        value = value * base + digit;
    }
    return value;
}

}  // namespace

double NumericValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    text.remove_prefix(i);
    if (text.empty()) return 0;

    if (text[0] == '&') {
        if (text.size() < 2) return 0;
        switch (text[1]) {
        case 'h': case 'H': return RadixValue(text.substr(2), 16);
        case 'b': case 'B': return RadixValue(text.substr(2), 2);
        case 'o': case 'O': case 'q': case 'Q': return RadixValue(text.substr(2), 8);
        default: return RadixValue(text.substr(1), 8);
        }
    }

    size_t pos = 0;
    bool negative = false;
    if (text[pos] == '+' || text[pos] == '-') negative = text[pos++] == '-';

    // Mantissa: digits with at most one decimal point, kept as text so the conversion rounds
    // once, correctly.
    std::string number;
    bool anyDigit = false, seenPoint = false;
    for (; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c >= '0' && c <= '9') {
            number += c;
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            number += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return 0;

    bool hasExponent = false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E' || text[pos] == 'd' || text[pos] == 'D')) {
        size_t exp = pos + 1;
        std::string exponent = "e";
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) exponent += text[exp++];
        size_t digitsStart = exp;
        while (exp < text.size() && text[exp] >= '0' && text[exp] <= '9')
            exponent += text[exp++];
        if (exp > digitsStart) {
            number += exponent;
            hasExponent = true;
        }
    }

    double value = 0;
    if (!seenPoint && !hasExponent && number.size() <= 15) {
        // A whole number of up to 15 digits is exact in a double at every step: the common
        // case ("include=2") needs no trip through the runtime's conversion.
        for (char c : number) value = value * 10 + (c - '0');
    } else {
        value = std::strtod(number.c_str(), nullptr);
    }
    return negative ? -value : value;
}
