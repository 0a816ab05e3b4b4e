// Directory paths and the existence test for ordinary files.
#include "config/text_rules.h"
#include "fsutil/files.h"

namespace fsutil {

// The prefixes of path that end before a backslash, in the order they are created.
std::vector<std::string> directory_path_attempts(const std::string& path) {
    // Positions are 0-based here: a separator counts only after the drive's
    // colon, or after the first character of a path without a drive, so a
    // leading "\" is never a separator of its own.
    std::vector<std::string> attempts;
    std::size_t colon = path.find(':');
    std::size_t start = colon == std::string::npos ? 0 : colon + 1;
    std::string searched = path + "\\";
    std::size_t meaningful = config::trim_right(path).size();
    for (;;) {
        std::size_t p = searched.find('\\', start + 1);
        if (p == std::string::npos) break;
        attempts.push_back(path.substr(0, p));
        start = p;
        if (p + 1 >= meaningful) break;
    }
    return attempts;
}

// Creates each directory along path, ignoring every failure.
void make_directory_path(const std::string& path) {
    for (const std::string& dir : directory_path_attempts(path)) platform::create_directory(dir);
}

// Not read-only, hidden or system, and archived or neither a directory nor a volume label.
bool is_ordinary_file(std::uint32_t attributes) {
    using namespace platform;
    if (attributes & (attr_read_only | attr_hidden | attr_system)) return false;
    return (attributes & attr_archive) || !(attributes & (attr_volume_label | attr_directory));
}

// True when the first entry matching path is an ordinary file.
bool path_exists(const std::string& path) {
    platform::DirEntry entry;
    // An empty name names nothing (the search would list the current directory).
    if (path.empty() || !platform::find_first_entry(path, entry)) return false;
    // The entry's attributes are read under its directory part: everything up
    // to the last separator. "/" counts as one as well as "\" and ":", since
    // the file system takes it as one and a directory may be written with it.
    std::size_t cut = path.find_last_of("\\/:");
    std::string directory = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
    std::uint32_t attributes = platform::file_attributes(directory + entry.name);
    return attributes != platform::invalid_attributes && is_ordinary_file(attributes);
}

}  // namespace fsutil
