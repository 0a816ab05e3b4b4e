// The line rules of the suite's text files, over block reads of the platform.
#include "fsutil/line_reader.h"

#include <algorithm>

namespace fsutil {

namespace {

constexpr char carriage_return = '\r';
constexpr char line_feed = '\n';
constexpr char end_of_file_mark = '\x1A';

// Refills the block when it is used up; false once nothing more can be read.
bool fill_block(LineReader& reader) {
    if (reader.start < reader.end) return true;
    if (reader.finished || reader.file == platform::no_file) return false;
    std::int64_t count = platform::read_file(reader.file, reader.block.data(), reader.block.size());
    reader.start = 0;
    reader.end = count > 0 ? static_cast<std::size_t>(count) : 0;
    if (count <= 0) reader.finished = true;  // a read error ends the file as its end does
    return count > 0;
}

}  // namespace

// Opens a file for shared reading; false and an empty reader when it cannot.
bool open_line_reader(LineReader& reader, const std::string& path) {
    close_line_reader(reader);
    reader.file = platform::open_shared_read(path);
    if (reader.file == platform::no_file) {
        reader.finished = true;
        return false;
    }
    reader.block.resize(line_block_size);
    return true;
}

// The next line without its line end; false once the file, a Ctrl-Z or a read error ends it.
bool read_line(LineReader& reader, std::string& line) {
    line.clear();
    if (reader.after_cr) {
        reader.after_cr = false;
        if (fill_block(reader) && reader.block[reader.start] == line_feed) ++reader.start;
    }
    bool any = false;  // a byte or a line end was seen: there is a line
    while (fill_block(reader)) {
        const char* first = reader.block.data() + reader.start;
        const char* last = reader.block.data() + reader.end;
        const char* stop = std::find_if(
            first, last, [](char c) { return c == carriage_return || c == end_of_file_mark; });
        line.append(first, stop);
        any = any || stop != first;
        if (stop == last) {
            reader.start = reader.end;
            continue;
        }
        reader.start = static_cast<std::size_t>(stop - reader.block.data()) + 1;
        if (*stop == end_of_file_mark) {
            reader.finished = true;
            reader.start = reader.end;
            break;
        }
        reader.after_cr = true;
        return true;
    }
    return any;
}

// Closes the file and empties the reader.
void close_line_reader(LineReader& reader) {
    platform::close_file(reader.file);
    reader = LineReader{};
}

}  // namespace fsutil
