// The reader of the suite's INI-style configuration files.
#pragma once

#include <string>

namespace config {

// The value of key in section of the INI file at path file; empty when the
// file cannot be opened or the section or key is absent. Opens, reads and
// closes the file on every call; never fails.
std::string read_ini_value(const std::string& file, const std::string& section,
                           const std::string& key);

}  // namespace config
