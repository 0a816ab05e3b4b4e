// CP858 to UTF-8 for the document. The code page's upper half is kept as text
// of right-aligned 4-character decimal fields; at compile time it becomes a
// table from each byte straight to its UTF-8 sequence, so a conversion is one
// table look-up per byte.
#include "hta/charset.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace hta {
namespace {

// The Unicode values of the bytes 128-170, 171-213 and 214-255.
constexpr const char cp858_fields_128[] =
    " 199 252 233 226 228 224 229 231 234 235"
    " 232 239 238 236 196 197 201 230 198 244"
    " 246 242 251 249 255 214 220 248 163 216"
    " 215 402 225 237 243 250 241 209 170 186"
    " 191 174 172";
constexpr const char cp858_fields_171[] =
    " 189 188 161 171 18796179618961994749508"
    " 193 194 192 1699571955395599565 162 165"
    "9488949295249516950094729532 227 1959562"
    "955695779574956895529580 164 240 208 202"
    " 203 2008364";
constexpr const char cp858_fields_214[] =
    " 205 206 2079496948496089604 166 2049600"
    " 211 223 212 210 245 213 181 254 222 218"
    " 219 217 253 221 175 180 173 1778215 190"
    " 182 167 247 184 176 168 183 185 179 178"
    "9632 160";

static_assert(sizeof(cp858_fields_128) - 1 == 43 * 4, "43 fields for the bytes 128-170");
static_assert(sizeof(cp858_fields_171) - 1 == 43 * 4, "43 fields for the bytes 171-213");
static_assert(sizeof(cp858_fields_214) - 1 == 42 * 4, "42 fields for the bytes 214-255");

// The value of one whole 4-character field: blanks in front, decimal digits after.
constexpr char16_t read_field(const char* field) {
    unsigned value = 0;
    for (int i = 0; i < 4; ++i)
        if (field[i] != ' ') value = value * 10 + static_cast<unsigned>(field[i] - '0');
    return static_cast<char16_t>(value);
}

// The Unicode value of every byte: the same number below 128, the fields above.
constexpr std::array<char16_t, 256> build_unicode_table() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 128; ++b) table[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
    for (int b = 128; b < 256; ++b) {
        const char* piece = b <= 170   ? cp858_fields_128
                            : b <= 213 ? cp858_fields_171
                                       : cp858_fields_214;
        int first = b <= 170 ? 128 : b <= 213 ? 171 : 214;
        table[static_cast<std::size_t>(b)] = read_field(piece + 4 * (b - first));
    }
    return table;
}

constexpr std::array<char16_t, 256> unicode_of = build_unicode_table();

// The UTF-8 form of one byte: one to three bytes.
struct Utf8Sequence {
    unsigned char length = 0;
    char bytes[3] = {0, 0, 0};
};

// The UTF-8 sequence of every byte, encoded from its Unicode value.
constexpr std::array<Utf8Sequence, 256> build_utf8_table() {
    std::array<Utf8Sequence, 256> table{};
    for (std::size_t b = 0; b < 256; ++b) {
        unsigned u = unicode_of[b];
        Utf8Sequence& s = table[b];
        if (u < 128) {
            s.length = 1;
            s.bytes[0] = static_cast<char>(u);
        } else if (u < 2048) {
            s.length = 2;
            s.bytes[0] = static_cast<char>(0xC0 + u / 64);
            s.bytes[1] = static_cast<char>(0x80 + u % 64);
        } else {
            s.length = 3;
            s.bytes[0] = static_cast<char>(0xE0 + u / 4096);
            s.bytes[1] = static_cast<char>(0x80 + (u / 64) % 64);
            s.bytes[2] = static_cast<char>(0x80 + u % 64);
        }
    }
    return table;
}

constexpr std::array<Utf8Sequence, 256> utf8_of = build_utf8_table();

// The bytes one CP858 byte becomes in the document, padded so that a whole
// entry can be stored with one fixed-size copy: its UTF-8 sequence, or for
// "&", "<", ">" and "'" in markup-escaped text, its character reference.
struct Output {
    unsigned char length = 0;
    char bytes[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};
using OutputTable = std::array<Output, 256>;

// The output of every byte: UTF-8, with the four markup characters escaped when asked.
constexpr OutputTable build_output_table(bool escaped) {
    OutputTable table{};
    for (std::size_t b = 0; b < 256; ++b) {
        const char* entity = !escaped    ? nullptr
                             : b == '&'  ? "&amp;"
                             : b == '<'  ? "&lt;"
                             : b == '>'  ? "&gt;"
                             : b == '\'' ? "&#39;"
                                         : nullptr;
        Output& o = table[b];
        if (entity) {
            while (entity[o.length]) {
                o.bytes[o.length] = entity[o.length];
                ++o.length;
            }
        } else {
            o.length = utf8_of[b].length;
            for (int i = 0; i < o.length; ++i) o.bytes[i] = utf8_of[b].bytes[i];
        }
    }
    return table;
}

constexpr OutputTable plain_output = build_output_table(false);
constexpr OutputTable escaped_output = build_output_table(true);

// Appends the table's output of every byte of text to out, one fixed copy per byte.
void append_through(std::string& out, const std::string& text, const OutputTable& table) {
    const std::size_t at = out.size();
    out.resize(at + text.size() * 5 + sizeof(Output::bytes));  // 5: the longest entry
    char* p = &out[at];
    for (char c : text) {
        const Output& o = table[static_cast<unsigned char>(c)];
        std::memcpy(p, o.bytes, sizeof o.bytes);
        p += o.length;
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

}  // namespace

// The Unicode value of a CP858 byte.
char16_t cp858_to_unicode(unsigned char byte) { return unicode_of[byte]; }

// Converts CP858 text to UTF-8.
std::string convert_charset(const std::string& text) {
    std::string out;
    append_converted(out, text);
    return out;
}

// Appends the UTF-8 form of CP858 text to out.
void append_converted(std::string& out, const std::string& text) {
    append_through(out, text, plain_output);
}

// Escapes "&", "<", ">" and "'" so that text cannot leave its element or attribute.
std::string escape_markup(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8) {
        const Output& o = escaped_output[static_cast<unsigned char>(c)];
        if (static_cast<unsigned char>(c) < 128 && o.length > 1) {
            out.append(o.bytes, o.length);  // one of the four markup characters
        } else {
            out += c;
        }
    }
    return out;
}

// convert_charset followed by escape_markup, appended to out in one pass (UTF-8
// sequences of bytes above 127 never hold an ASCII byte, so the order is the same).
void append_converted_escaped(std::string& out, const std::string& text) {
    append_through(out, text, escaped_output);
}

}  // namespace hta
