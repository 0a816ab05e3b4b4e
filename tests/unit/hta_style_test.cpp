// Style commands: pitch spans compared against the pitch at the start of the
// call, the last pitch letter deciding, and the bold, underline, italic toggles.
#include <gtest/gtest.h>

#include <string>

#include "hta/document.h"
#include "hta_test_support.h"

namespace {

const std::string pica = "<SPAN CLASS='pica'>";
const std::string elit = "<SPAN CLASS='elit'>";
const std::string comp = "<SPAN CLASS='comp'>";
const std::string close_span = "</SPAN>";

// The toggles as one text: "b", "u", "i" for each that is on.
std::string toggles(const hta::HtaDocument& d) {
    return std::string(d.bold ? "b" : "") + (d.underline ? "u" : "") + (d.italic ? "i" : "");
}

struct StyleCase {
    std::int16_t pitch_before;
    std::string toggles_before;
    std::string commands;
    std::string tags;
    std::int16_t pitch_after;
    std::string toggles_after;
};

using HtaStyle = htatest::DocumentFixture;

TEST_F(HtaStyle, CommandStrings) {
    const StyleCase cases[] = {
        {10, "", "E", close_span + elit, 12, ""},
        {12, "", "N", close_span + pica, 10, ""},
        {10, "", "N", pica, 10, ""},
        {10, "", "@", pica, 10, ""},
        {10, "", "Q", close_span + comp, 17, ""},
        {17, "", "Q", comp, 17, ""},
        {10, "", "EE", close_span + elit + close_span + elit, 12, ""},
        {10, "", "NE", pica + close_span + elit, 12, ""},
        {10, "", "X", "", 5, ""},
        {5, "", "X", "", 2, ""},
        {5, "", "N", close_span + pica, 10, ""},
        {10, "", "XX", "", 5, ""},
        {10, "", "NX", pica, 5, ""},
        {10, "", "XN", pica, 10, ""},
        {10, "", "BB", "<B></B>", 10, ""},
        {10, "", "BU", "<B><U>", 10, "bu"},
        {10, "bu", "B", "</B>", 10, "u"},
        {10, "b", "@", pica, 10, "b"},
        {10, "b", "@B", pica + "</B>", 10, ""},
        {10, "", "I", "<I>", 10, "i"},
        {10, "i", "IUB", "</I><U><B>", 10, "bu"},
        {10, "", "eb", close_span + elit + "<B>", 12, "b"},
        {10, "",
         "q \x87"
         "1Z-A",
         close_span + comp, 17, ""},
        {12, "bui", "", "", 12, "bui"},
    };
    for (const StyleCase& c : cases) {
        hta::HtaDocument fresh;
        fresh.path = document.path;
        document = fresh;
        open();
        document.pitch = c.pitch_before;
        document.bold = c.toggles_before.find('b') != std::string::npos;
        document.underline = c.toggles_before.find('u') != std::string::npos;
        document.italic = c.toggles_before.find('i') != std::string::npos;
        hta::apply_style_commands(document, c.commands);
        EXPECT_EQ(body(), c.tags) << c.commands << " at pitch " << c.pitch_before;
        EXPECT_EQ(document.pitch, c.pitch_after) << c.commands << " at pitch " << c.pitch_before;
        EXPECT_EQ(toggles(document), c.toggles_after) << c.commands;
        EXPECT_EQ(document.column, 0);
        hta::document_close_file(document);
    }
}

TEST_F(HtaStyle, TogglesOutliveADeviceLineAndPages) {
    hta::apply_style_commands(document, "BX");  // before DEVICE: state only
    EXPECT_TRUE(document.bold);
    EXPECT_EQ(document.pitch, 0);
    open();
    EXPECT_TRUE(document.bold);
    hta::start_page(document);
    hta::apply_style_commands(document, "B");
    EXPECT_EQ(body(), "</B>");
}

}  // namespace
