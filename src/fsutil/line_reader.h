// Reading the suite's text files line by line: a line ends at CR or CR LF, a
// LF alone is an ordinary character, Ctrl-Z ends the file, lines have no
// length limit. The file is read in large blocks and memory stays bounded by
// the longest line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fsutil {

// Bytes read from the file at a time.
constexpr std::size_t line_block_size = 64 * 1024;

struct LineReader {
    platform::FileHandle file = platform::no_file;
    std::vector<char> block;  // bytes read ahead of the current line
    std::size_t start = 0;    // first unread byte in block
    std::size_t end = 0;      // one past the last valid byte in block
    bool finished = false;    // end of file, Ctrl-Z or read error reached
    bool after_cr = false;    // the last line ended at a CR: a LF next belongs to it
};

// Opens a file for shared reading; false (and an empty reader) when it cannot.
bool open_line_reader(LineReader& reader, const std::string& path);
// Reads the next line without its line end; false at the end of the file.
bool read_line(LineReader& reader, std::string& line);
// Closes the file; harmless when it is not open.
void close_line_reader(LineReader& reader);

}  // namespace fsutil
