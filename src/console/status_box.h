// The status box: a framed box at rows 23-25, columns 34-48, showing the
// pages started and the lines written in the current page.
#pragma once

#include <cstdint>
#include <string>

#include "config/session.h"
#include "console/console.h"

namespace console {

// The progress text: pages right-aligned in 5, " / ", lines right-aligned in 3.
std::string progress_text(std::int16_t pages, std::int16_t lines);
// Saves the region under the box and draws the empty box with its caption.
void open_status_box(Console& console, const config::SessionContext& session);
// Rewrites the progress text.
void show_progress(Console& console, std::int16_t pages, std::int16_t lines);
// Restores the region, the cursor and the previous window.
void close_status_box(Console& console, const config::SessionContext& session);

}  // namespace console
