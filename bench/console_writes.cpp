// The floor of the status box's cost per line: N bare console writes of one
// run of 11 cells, the size of the progress text, at the place where the box
// shows it (row 24, column 36). The text changes on every write as the
// progress text does, so that a console that draws only changed cells still
// has something to draw. Usage: console_writes N
#include <cstdlib>

#include "platform/platform.h"

namespace {

// Puts a number right-aligned into a field of cells ending before end.
void put_number(platform::Cell* cells, int end, int width, long value) {
    for (int i = 0; i < width; ++i) {
        char16_t digit = u' ';
        if (i == 0 || value > 0) digit = static_cast<char16_t>(u'0' + value % 10);
        cells[end - 1 - i].ch = digit;
        value /= 10;
    }
}

}  // namespace

int main(int argc, char** argv) {
    long count = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (!platform::console_attach()) return 1;
    platform::Cell cells[11];
    for (platform::Cell& cell : cells) cell.attribute = 0x0F;
    cells[6].ch = u'/';
    for (long i = 0; i < count; ++i) {
        put_number(cells, 5, 5, i / 60 + 1);
        put_number(cells, 11, 3, i % 60 + 1);
        platform::console_write_cells(23, 35, cells, 11);
    }
    return 0;
}
