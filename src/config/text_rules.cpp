// The shared text rules: blank trimming, upper-casing of OEM text, the
// number-reading rule and the saturating 16-bit arithmetic.
#include "config/text_rules.h"

#include <cmath>
#include <cstdlib>

namespace config {

// Removes spaces from the start.
std::string trim_left(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// Removes spaces from the end.
std::string trim_right(const std::string& text) {
    std::size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

// Removes spaces from both ends.
std::string trim(const std::string& text) { return trim_left(trim_right(text)); }

namespace {

// The capital of one OEM byte: a-z and the seven accented letters that have one.
char upper_byte(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 0x84:
            return static_cast<char>(0x8E);  // ä
        case 0x94:
            return static_cast<char>(0x99);  // ö
        case 0x81:
            return static_cast<char>(0x9A);  // ü
        case 0x82:
            return static_cast<char>(0x90);  // é
        case 0xA4:
            return static_cast<char>(0xA5);  // ñ
        case 0x86:
            return static_cast<char>(0x8F);  // å
        case 0x87:
            return static_cast<char>(0x80);  // ç
        default:
            return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The value of one digit in a radix, -1 when the character is no such digit.
int digit_value(char c, int radix) {
    int v = is_digit(c)              ? c - '0'
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                     : -1;
    return v < radix ? v : -1;
}

// The radix that the letter after "&" selects, 0 for any other character.
int radix_of(char c) {
    switch (c) {
        case 'H':
        case 'h':
            return 16;
        case 'O':
        case 'o':
        case 'Q':
        case 'q':
            return 8;
        case 'B':
        case 'b':
            return 2;
        default:
            return 0;
    }
}

// The digits of a radix integer from position i on, as a non-negative value.
double parse_radix(const std::string& text, std::size_t i, int radix) {
    double value = 0;
    for (int d; i < text.size() && (d = digit_value(text[i], radix)) >= 0; ++i)
        value = value * radix + d;  // grows to infinity at worst, never wraps
    return value;
}

// Significant digits kept from a decimal mantissa; more cannot change a double.
constexpr std::size_t kept_digits = 40;
// Beyond this the exponent only tells infinity or zero.
constexpr long exponent_limit = 100000;

}  // namespace

// Upper-cases every byte by upper_byte; the length never changes.
std::string upper_oem(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = upper_byte(c);
    return out;
}

// The number at the start of the text: &H/&O/&Q/&B integers or a decimal with fraction and
// exponent.
double parse_number(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() &&
           (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
        ++i;
    if (i < text.size() && text[i] == '&') {
        int radix = i + 1 < text.size() ? radix_of(text[i + 1]) : 0;
        return radix == 0 ? 0 : parse_radix(text, i + 2, radix);
    }

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // The mantissa as significant digits and a decimal exponent; the value is
    // rebuilt by strtod from digits and exponent only, so no decimal point
    // (and no locale) is involved.
    std::string digits;
    long exponent = 0;
    bool any_digit = false, point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!is_digit(c)) break;
        any_digit = true;
        if (digits.empty() && c == '0') {
            if (point) --exponent;  // a leading zero of the fraction
            continue;
        }
        if (digits.size() < kept_digits) {
            digits += c;
            if (point) --exponent;
        } else if (!point) {
            ++exponent;  // a dropped integer digit
        }
    }
    if (!any_digit) return 0;

    const bool exponent_part =
        i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd');
    if (exponent_part) {
        std::size_t j = i + 1;
        bool exp_negative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exp_negative = text[j++] == '-';
        long value = 0;
        for (; j < text.size() && is_digit(text[j]); ++j)
            if (value < exponent_limit) value = value * 10 + (text[j] - '0');
        exponent += exp_negative ? -value : value;
    }
    if (digits.empty()) return negative ? -0.0 : 0.0;

    // A whole number of up to 15 digits is exact as a double: the common
    // column and feed count need no conversion through text.
    if (!exponent_part && exponent == 0 && digits.size() <= 15) {
        double value = 0;
        for (char c : digits) value = value * 10 + (c - '0');
        return negative ? -value : value;
    }

    std::string normal = digits + "e" + std::to_string(exponent);
    double value = std::strtod(normal.c_str(), nullptr);
    return negative ? -value : value;
}

// Rounds half to even and saturates at -32768..32767; NaN gives 0.
std::int16_t to_int16(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 32767) return 32767;
    if (value <= -32768) return -32768;
    double whole = std::floor(value);
    double part = value - whole;
    if (part > 0.5 || (part == 0.5 && std::fmod(whole, 2) != 0)) whole += 1;
    return static_cast<std::int16_t>(whole);
}

// a + b, saturated at -32768..32767.
std::int16_t add_int16(std::int16_t a, long long b) {
    long long sum = a;
    if (b > 65535) b = 65535;
    if (b < -65536) b = -65536;
    sum += b;
    if (sum > 32767) return 32767;
    if (sum < -32768) return -32768;
    return static_cast<std::int16_t>(sum);
}

}  // namespace config
