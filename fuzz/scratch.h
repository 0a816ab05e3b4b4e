// Scratch space for the fuzz targets and their regression tests: a fresh
// directory under the system's temporary folder, and whole-file reads and
// writes of byte strings.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

namespace fuzz {

// Creates a new, empty directory under the system's temporary folder and returns it.
inline std::filesystem::path make_scratch_dir(const std::string& label) {
    std::random_device entropy;
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path dir = base / (label + "-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(dir, error)) return dir;
    }
    std::fprintf(stderr, "%s: cannot create a scratch directory in %s\n", label.c_str(),
                 base.string().c_str());
    std::abort();
}

// Writes bytes as the whole content of a file.
inline void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The whole content of a file; empty when it cannot be read.
inline std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (size < 0) return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// True when a file or directory is at path.
inline bool file_present(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The names of a directory's entries.
inline std::set<std::string> entry_names(const std::filesystem::path& dir) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        names.insert(entry.path().filename().string());
    return names;
}

// Removes every entry of a directory, keeping the directory itself.
inline void empty_dir(const std::filesystem::path& dir) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        std::filesystem::remove_all(entry.path(), error);
}

// Bytes shown printable in a report: other bytes as \xNN, at most 200 of them.
inline std::string printable(const std::string& bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size() && i < 200; ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            out += static_cast<char>(b);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            out += "\\x";
            out += digits[b >> 4];
            out += digits[b & 15];
        }
    }
    if (bytes.size() > 200) out += "...";
    return out + "\"";
}

}  // namespace fuzz
