// The line rules of the suite's text files, over real files: line ends, the
// Ctrl-Z end mark, lines that cross the read blocks, and files that are
// empty or missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config_test_support.h"
#include "fsutil/line_reader.h"

namespace {

using zaltest::TempFolder;

// Every line of a file, in order.
std::vector<std::string> all_lines(const std::string& path) {
    std::vector<std::string> lines;
    fsutil::LineReader reader;
    fsutil::open_line_reader(reader, path);
    std::string line;
    while (fsutil::read_line(reader, line)) lines.push_back(line);
    fsutil::close_line_reader(reader);
    return lines;
}

TEST(LineReader, SplitsLinesByTheSuiteRules) {
    const std::size_t block = fsutil::line_block_size;
    const std::string longer_than_a_block(2 * block + 7, 'x');
    const std::string up_to_block_end(block - 1, 'y');  // its CR is the block's last byte
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"CR", "a\rb\r", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF alone is a character", "a\nb\r\n\n", {"a\nb", "\n"}},
        {"LF-only file is one line", "a\nb\nc\n", {"a\nb\nc\n"}},
        {"empty lines", "\r\n\r\r\n", {"", "", ""}},
        {"no final line end", "a\r\nb", {"a", "b"}},
        {"Ctrl-Z ends the file",
         "a\r\nb\x1A"
         "c\r\nd\r\n",
         {"a", "b"}},
        {"Ctrl-Z first",
         "\x1A"
         "a\r\n",
         {}},
        {"Ctrl-Z after a line end", "a\r\n\x1A", {"a"}},
        {"empty file", "", {}},
        {"line longer than a block", longer_than_a_block + "\r\nz", {longer_than_a_block, "z"}},
        {"CR LF across blocks", up_to_block_end + "\r\nz\r\n", {up_to_block_end, "z"}},
        {"Ctrl-Z at a block start",
         std::string(block, 'w') + "\x1A"
                                   "v",
         {std::string(block, 'w')}},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        zaltest::write_bytes(folder.dir / "lines.txt", c.bytes);
        EXPECT_EQ(all_lines(folder.path() + "lines.txt"), c.lines) << c.what;
    }
}

TEST(LineReader, MissingFileReadsAsEmpty) {
    TempFolder folder;
    fsutil::LineReader reader;
    EXPECT_FALSE(fsutil::open_line_reader(reader, folder.path() + "missing.txt"));
    std::string line = "old";
    EXPECT_FALSE(fsutil::read_line(reader, line));
    EXPECT_EQ(line, "");
    fsutil::close_line_reader(reader);  // harmless when nothing is open
}

TEST(LineReader, EndStaysEndOnFurtherReads) {
    TempFolder folder;
    zaltest::write_bytes(folder.dir / "one.txt", "a\r\n");
    fsutil::LineReader reader;
    ASSERT_TRUE(fsutil::open_line_reader(reader, folder.path() + "one.txt"));
    std::string line;
    EXPECT_TRUE(fsutil::read_line(reader, line));
    EXPECT_FALSE(fsutil::read_line(reader, line));
    EXPECT_FALSE(fsutil::read_line(reader, line));
    fsutil::close_line_reader(reader);
}

}  // namespace
