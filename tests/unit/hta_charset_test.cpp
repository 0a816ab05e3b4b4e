// CP858 to UTF-8 conversion and the escaping of markup characters.
#include <gtest/gtest.h>

#include <string>

#include "hta/charset.h"

namespace {

// The UTF-8 form of each byte 0x80-0xFF, from the published CP858 mapping.
const char* const expected_upper_half[128] = {
    "\xC3\x87",     "\xC3\xBC",     "\xC3\xA9",     "\xC3\xA2",
    "\xC3\xA4",     "\xC3\xA0",     "\xC3\xA5",     "\xC3\xA7",  // 0x80
    "\xC3\xAA",     "\xC3\xAB",     "\xC3\xA8",     "\xC3\xAF",
    "\xC3\xAE",     "\xC3\xAC",     "\xC3\x84",     "\xC3\x85",  // 0x88
    "\xC3\x89",     "\xC3\xA6",     "\xC3\x86",     "\xC3\xB4",
    "\xC3\xB6",     "\xC3\xB2",     "\xC3\xBB",     "\xC3\xB9",  // 0x90
    "\xC3\xBF",     "\xC3\x96",     "\xC3\x9C",     "\xC3\xB8",
    "\xC2\xA3",     "\xC3\x98",     "\xC3\x97",     "\xC6\x92",  // 0x98
    "\xC3\xA1",     "\xC3\xAD",     "\xC3\xB3",     "\xC3\xBA",
    "\xC3\xB1",     "\xC3\x91",     "\xC2\xAA",     "\xC2\xBA",  // 0xA0
    "\xC2\xBF",     "\xC2\xAE",     "\xC2\xAC",     "\xC2\xBD",
    "\xC2\xBC",     "\xC2\xA1",     "\xC2\xAB",     "\xC2\xBB",  // 0xA8
    "\xE2\x96\x91", "\xE2\x96\x92", "\xE2\x96\x93", "\xE2\x94\x82",
    "\xE2\x94\xA4", "\xC3\x81",     "\xC3\x82",     "\xC3\x80",  // 0xB0
    "\xC2\xA9",     "\xE2\x95\xA3", "\xE2\x95\x91", "\xE2\x95\x97",
    "\xE2\x95\x9D", "\xC2\xA2",     "\xC2\xA5",     "\xE2\x94\x90",  // 0xB8
    "\xE2\x94\x94", "\xE2\x94\xB4", "\xE2\x94\xAC", "\xE2\x94\x9C",
    "\xE2\x94\x80", "\xE2\x94\xBC", "\xC3\xA3",     "\xC3\x83",  // 0xC0
    "\xE2\x95\x9A", "\xE2\x95\x94", "\xE2\x95\xA9", "\xE2\x95\xA6",
    "\xE2\x95\xA0", "\xE2\x95\x90", "\xE2\x95\xAC", "\xC2\xA4",  // 0xC8
    "\xC3\xB0",     "\xC3\x90",     "\xC3\x8A",     "\xC3\x8B",
    "\xC3\x88",     "\xE2\x82\xAC", "\xC3\x8D",     "\xC3\x8E",  // 0xD0
    "\xC3\x8F",     "\xE2\x94\x98", "\xE2\x94\x8C", "\xE2\x96\x88",
    "\xE2\x96\x84", "\xC2\xA6",     "\xC3\x8C",     "\xE2\x96\x80",  // 0xD8
    "\xC3\x93",     "\xC3\x9F",     "\xC3\x94",     "\xC3\x92",
    "\xC3\xB5",     "\xC3\x95",     "\xC2\xB5",     "\xC3\xBE",  // 0xE0
    "\xC3\x9E",     "\xC3\x9A",     "\xC3\x9B",     "\xC3\x99",
    "\xC3\xBD",     "\xC3\x9D",     "\xC2\xAF",     "\xC2\xB4",  // 0xE8
    "\xC2\xAD",     "\xC2\xB1",     "\xE2\x80\x97", "\xC2\xBE",
    "\xC2\xB6",     "\xC2\xA7",     "\xC3\xB7",     "\xC2\xB8",  // 0xF0
    "\xC2\xB0",     "\xC2\xA8",     "\xC2\xB7",     "\xC2\xB9",
    "\xC2\xB3",     "\xC2\xB2",     "\xE2\x96\xA0", "\xC2\xA0",  // 0xF8
};

TEST(HtaCharset, EveryByteGivesItsStandardUtf8Form) {
    std::string all, expected;
    for (int b = 0; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        std::string want = b < 128 ? one : expected_upper_half[b - 128];
        EXPECT_EQ(hta::convert_charset(one), want) << "byte " << b;
        all += one;
        expected += want;
    }
    EXPECT_EQ(hta::convert_charset(all), expected);
    std::string appended = "x";
    hta::append_converted(appended, all);
    EXPECT_EQ(appended, "x" + expected);
}

TEST(HtaCharset, UnicodeValuesOfTheTable) {
    struct Case {
        unsigned char byte;
        char16_t unicode;
    };
    const Case cases[] = {{0x00, 0x0000}, {0x09, 0x0009}, {0x41, 0x0041}, {0x7F, 0x007F},
                          {0x80, 0x00C7}, {0x9F, 0x0192}, {0xAA, 0x00AC}, {0xAB, 0x00BD},
                          {0xB3, 0x2502}, {0xD5, 0x20AC}, {0xD6, 0x00CD}, {0xF2, 0x2017},
                          {0xFE, 0x25A0}, {0xFF, 0x00A0}};
    for (const Case& c : cases)
        EXPECT_EQ(hta::cp858_to_unicode(c.byte), c.unicode) << "byte " << int{c.byte};
}

TEST(HtaCharset, Examples) {
    struct Case {
        std::string text, utf8;
    };
    const Case cases[] = {
        {"", ""},
        {"\x41\xD5", "\x41\xE2\x82\xAC"},
        {"\x80", "\xC3\x87"},
        {"\x9F", "\xC6\x92"},
        {"\xB3", "\xE2\x94\x82"},
        {"\xF2", "\xE2\x80\x97"},
        {"\xFF", "\xC2\xA0"},
        {"\x09\r\n\x1A", "\x09\r\n\x1A"},
        {"<a href='x'>&", "<a href='x'>&"},  // conversion alone escapes nothing
    };
    for (const Case& c : cases) EXPECT_EQ(hta::convert_charset(c.text), c.utf8) << c.text;
}

TEST(HtaCharset, EscapesExactlyTheFourMarkupCharacters) {
    EXPECT_EQ(hta::escape_markup("a<b>&'c\"d;#"), "a&lt;b&gt;&amp;&#39;c\"d;#");
    EXPECT_EQ(hta::escape_markup("&amp;"), "&amp;amp;");
    std::string out = "=";
    hta::append_converted_escaped(out, "<\x82&'\xD5>");
    EXPECT_EQ(out, "=&lt;\xC3\xA9&amp;&#39;\xE2\x82\xAC&gt;");
}

}  // namespace
