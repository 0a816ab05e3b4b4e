// The stack of saved screen regions in WinPush.tmp, shared with the suite's
// other programs.
#pragma once

#include <cstdint>
#include <string>

#include "console/console.h"

namespace console {

// A whole number as exactly width decimal digits, without sign, zero-padded.
std::string zero_padded(long long value, int width);
// Saves a screen region and the cursor as the top record and makes it the
// active window. Refused, changing nothing, when a corner lies off the console
// or above 99, or the corners are inverted. On a stack file whose top does not
// hold together it writes nothing but still opens and counts the window.
void push_window(Console& console, const std::string& temp_dir, int top, int left, int bottom,
                 int right);
// Restores the top record pushed by this run and makes the previous window
// active; does nothing while no window of this run is open, and leaves a
// damaged stack file exactly as it is.
void pop_window(Console& console, const std::string& temp_dir);

}  // namespace console
