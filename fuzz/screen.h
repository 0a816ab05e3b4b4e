// The in-memory console as the fuzz checks see it: painted with characters
// and colours that a restore must bring back, and read back whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fuzz {

// The cells of the whole in-memory console.
inline std::vector<platform::Cell> screen_cells(int rows, int columns) {
    std::vector<platform::Cell> cells(static_cast<std::size_t>(rows * columns));
    for (int r = 0; r < rows; ++r) platform::console_read_cells(r, 0, &cells[r * columns], columns);
    return cells;
}

// Fills the in-memory console with characters and colours that a restore must bring back.
inline void paint_screen(int rows, int columns) {
    static const char16_t sample[] = u"Factura 0123 \u00E9\u2500\u2593\u00C7-+|";
    const int kinds = static_cast<int>(sizeof sample / sizeof sample[0]) - 1;
    std::vector<platform::Cell> row(static_cast<std::size_t>(columns));
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c)
            row[c] = {sample[(r * 7 + c) % kinds], static_cast<std::uint16_t>((r * 16 + c) % 256)};
        platform::console_write_cells(r, 0, row.data(), columns);
    }
}

// The first cell (1-based "row R, column C") where two screens differ, empty when none
// does; the cells of skip_row from skip_first to skip_last (0-based) are not compared.
inline std::string screen_difference(const std::vector<platform::Cell>& a,
                                     const std::vector<platform::Cell>& b, int columns,
                                     int skip_row = -1, int skip_first = 0, int skip_last = -1) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int row = static_cast<int>(i) / columns, column = static_cast<int>(i) % columns;
        if (row == skip_row && column >= skip_first && column <= skip_last) continue;
        if (a[i].ch != b[i].ch || a[i].attribute != b[i].attribute)
            return "row " + std::to_string(row + 1) + ", column " + std::to_string(column + 1);
    }
    return {};
}

}  // namespace fuzz
