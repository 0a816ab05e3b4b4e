// Body lines and pages: positioning, fills, the "==" rule, cleaning, feeds,
// separators, escaping, 16-bit counters that saturate, and the text stack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hta/document.h"
#include "hta_test_support.h"

namespace {

const std::string separator = "<DIV CLASS='salt'>&nbsp;</DIV>\r\n";

// One operation of the interpreter on the document.
struct Step {
    enum Kind { write, page, fill, style } kind;
    int column = 0;    // target column of a text, fill column of a fill
    std::string text;  // text, fill pattern or style commands
    int feed = 0;
};

Step T(int column, const std::string& text, int feed) { return {Step::write, column, text, feed}; }
Step P() { return {Step::page, 0, "", 0}; }
Step F(int column, const std::string& pattern) { return {Step::fill, column, pattern, 0}; }
Step S(const std::string& commands) { return {Step::style, 0, commands, 0}; }

struct BodyCase {
    const char* name;
    std::vector<Step> steps;
    std::string body;
    int column, lines_in_page, page_count;
};

using HtaBody = htatest::DocumentFixture;

// Runs the steps of a case on a document.
void run_steps(hta::HtaDocument& document, hta::TextStack& stack, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        std::string text = s.text;
        switch (s.kind) {
            case Step::write:
                hta::write_text_line(document, stack, static_cast<std::int16_t>(s.column), text,
                                     static_cast<std::int16_t>(s.feed));
                break;
            case Step::page:
                hta::start_page(document);
                break;
            case Step::fill:
                hta::request_fill(document, static_cast<std::int16_t>(s.column), text);
                break;
            case Step::style:
                hta::apply_style_commands(document, text);
                break;
        }
    }
}

TEST_F(HtaBody, LinesAndPages) {
    const BodyCase cases[] = {
        {"positions on a fresh line", {T(5, "AB", 0)}, "    AB", 6, 0, 0},
        {"never moves back",
         {T(5, "AB", 0), T(7, "CD", 0), T(1, "EF", 0), T(12, "G", 0)},
         "    ABCDEF G",
         12,
         0,
         0},
        {"one-byte fill", {F(20, "."), T(1, "TOTAL", 1)}, "TOTAL...............\r\n", 0, 1, 0},
        {"two-byte fill", {F(20, ". "), T(1, "TOTAL", 0)}, "TOTAL . . . . . . . ", 20, 0, 0},
        {"fill after positioning", {F(10, "-"), T(3, "AB", 0)}, "  AB------", 10, 0, 0},
        {"fill after text on the line",
         {T(1, "AB", 0), F(8, "*"), T(1, "C", 0)},
         "ABC*****",
         8,
         0,
         0},
        {"negative gap adds only the remainder",
         {F(3, "..."), T(1, "TOTAL", 0)},
         "TOTAL ",
         6,
         0,
         0},
        {"negative gap of whole patterns", {F(1, ".."), T(1, "TOTAL", 0)}, "TOTAL", 5, 0, 0},
        {"a fill is used once", {F(5, "."), T(1, "A", 1), T(1, "B", 1)}, "A....\r\nB\r\n", 0, 2, 0},
        {"a later request replaces an earlier one",
         {F(9, "."), F(4, "-"), T(1, "A", 0)},
         "A---",
         4,
         0,
         0},
        {"an empty pattern requests nothing", {F(9, ""), T(1, "A", 0)}, "A", 1, 0, 0},
        {"double rule", {T(1, "A == B", 1)}, "A -- B\r\n", 0, 1, 0},
        {"single equal signs stay", {T(1, "a=b", 1)}, "a=b\r\n", 0, 1, 0},
        {"every equal sign of a double rule", {T(1, "x==y=z", 1)}, "x--y-z\r\n", 0, 1, 0},
        {"a fill of equal signs is a rule", {F(5, "="), T(1, "AB", 0)}, "AB---", 5, 0, 0},
        {"control bytes become blanks",
         {T(1,
            "\t\f\x1b\x7f\xff"
            "A\x82\xFE",
            0)},
         "     A\xC3\xA9\xE2\x96\xA0",
         8,
         0,
         0},
        {"a fill pattern is not cleaned", {F(3, "\t"), T(1, "A", 0)}, "A\t\t", 3, 0, 0},
        {"two feeds", {T(1, "AB", 2), T(3, "C", 0)}, "AB\r\n\r\n  C", 3, 2, 0},
        {"a negative feed writes no line end", {T(1, "AB", -1), T(2, "C", 0)}, "AB C", 2, -1, 0},
        {"feed 0 builds one line",
         {T(1, "AB", 0), T(4, "C", 0), T(1, "D", 1)},
         "AB CD\r\n",
         0,
         1,
         0},
        {"first page writes no separator", {P()}, "", 0, 0, 1},
        {"separator between pages with line ends",
         {P(), T(1, "A", 1), P(), T(1, "B", 1)},
         "A\r\n" + separator + "B\r\n",
         0,
         1,
         2},
        {"no separator after a page without line ends", {P(), T(1, "A", 0), P()}, "A", 0, 0, 2},
        {"separator after text without line end",
         {P(), T(1, "A", 1), T(1, "B", 0), P()},
         "A\r\nB" + separator,
         0,
         0,
         2},
        {"markup is escaped, columns count the report text",
         {T(1, "<a href='x'>&", 0), T(16, "B", 0)},
         "&lt;a href=&#39;x&#39;&gt;&amp;  B",
         16,
         0,
         0},
        {"fill after escaped text", {F(6, "."), T(1, "<&>", 0)}, "&lt;&amp;&gt;...", 6, 0, 0},
        {"an escaped fill pattern", {F(4, "<"), T(1, "A", 0)}, "A&lt;&lt;&lt;", 4, 0, 0},
        {"style tags take no columns", {T(1, "A", 0), S("B"), T(3, "C", 0)}, "A<B> C", 3, 0, 0},
    };
    for (const BodyCase& c : cases) {
        hta::HtaDocument fresh;
        fresh.path = document.path;
        document = fresh;
        stack = {};
        open();
        run_steps(document, stack, c.steps);
        EXPECT_EQ(body(), c.body) << c.name;
        EXPECT_EQ(document.column, c.column) << c.name;
        EXPECT_EQ(document.lines_in_page, c.lines_in_page) << c.name;
        EXPECT_EQ(document.page_count, c.page_count) << c.name;
        EXPECT_EQ(stack.buffer, "") << c.name;
        hta::document_close_file(document);
    }
}

TEST_F(HtaBody, TheTextComesBackCleanedWithoutFillOrRule) {
    open();
    hta::request_fill(document, 20, ".");
    std::string text = "a==b\tc\xff";
    hta::write_text_line(document, stack, 3, text, 0);
    EXPECT_EQ(text, "a==b c ");
    EXPECT_EQ(body(), "  a--b c " + std::string(11, '.'));
}

TEST_F(HtaBody, LongLinesAreWholeAndTheCountersSaturate) {
    open();
    std::string long_text(40000, 'a');
    std::string text = long_text;
    hta::write_text_line(document, stack, 1, text, 0);
    EXPECT_EQ(text, long_text);
    EXPECT_EQ(document.column, 32767);
    text = "b";
    hta::write_text_line(document, stack, 10, text, 0);  // no wrap to a negative column
    EXPECT_EQ(body(), long_text + "b");
    EXPECT_EQ(document.column, 32767);

    hta::request_fill(document, 32767, ".");
    text = "c";
    hta::write_text_line(document, stack, 32767, text, 32767);
    text = "d";
    hta::write_text_line(document, stack, 32767, text, 32767);
    EXPECT_EQ(document.lines_in_page, 32767);
    EXPECT_EQ(document.column, 0);
    EXPECT_EQ(stack.buffer, "");

    // Positioning at the last column from the start of a line, then a fill to it.
    std::size_t mark = document.output.size();
    hta::request_fill(document, 32767, "-");
    text = "e";
    hta::write_text_line(document, stack, 32766, text, 0);
    EXPECT_EQ(document.output.substr(mark), std::string(32765, ' ') + "e-");
    EXPECT_EQ(document.column, 32767);

    for (int i = 0; i < 32770; ++i) hta::start_page(document);
    EXPECT_EQ(document.page_count, 32767);
}

TEST(HtaTextStack, KeepsStringsOfAnyLengthInOrder) {
    std::vector<std::string> strings = {"",
                                        "A",
                                        std::string(32767, 'b'),
                                        std::string(32768, 'c'),
                                        std::string(70000, '\xff'),
                                        "\xff\xff",
                                        std::string(65535, 'd'),
                                        "end"};
    hta::TextStack stack;
    for (const std::string& s : strings) hta::text_stack_push(stack, s);
    EXPECT_EQ(stack.buffer.substr(0, 3), std::string("\0\0A", 3));
    for (auto s = strings.rbegin(); s != strings.rend(); ++s)
        EXPECT_EQ(hta::text_stack_pop(stack), *s) << s->size() << " bytes";
    EXPECT_EQ(stack.buffer, "");
}

TEST(HtaTextStack, ShortStringsKeepTheTwoByteLength) {
    hta::TextStack stack;
    hta::text_stack_push(stack, "AB");
    hta::text_stack_push(stack, std::string(300, 'x'));
    EXPECT_EQ(stack.buffer.substr(0, 4), std::string("AB\x02\x00", 4));
    EXPECT_EQ(stack.buffer.substr(304), std::string("\x2C\x01", 2));
}

TEST(HtaTextStack, ADamagedStackPopsEmpty) {
    const std::string buffers[] = {"",
                                   "x",
                                   std::string("\x05\x00", 2),
                                   std::string("\xff\x7f"),
                                   std::string("\xff\xff"),
                                   std::string("ab\xff\xff", 4),
                                   std::string("\x00\x80", 2)};
    for (const std::string& b : buffers) {
        hta::TextStack stack{b};
        EXPECT_EQ(hta::text_stack_pop(stack), "");
        EXPECT_EQ(stack.buffer, "");
    }
}

}  // namespace
