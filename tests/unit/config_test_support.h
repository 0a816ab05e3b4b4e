// Small aids for the configuration and file-helper tests: a temporary folder,
// fixture files, suite paths with backslashes, and environment variables set
// through the C runtime (setenv natively, _putenv_s under Windows).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace zaltest {

namespace fs = std::filesystem;

// A folder of the suite's own form of path: backslashes, as OEM bytes.
inline std::string suite_path(const fs::path& path) {
    std::string text = path.string();
    for (char& c : text)
        if (c == '/') c = '\\';
    return text;
}

// A fresh temporary folder for one test, removed with everything in it.
struct TempFolder {
    fs::path dir;
    TempFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("zalprint-h2-") + test->name() + "-" +
                                           std::to_string(std::random_device{}()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~TempFolder() {
        std::error_code ignored;
        for (const fs::directory_entry& e : fs::recursive_directory_iterator(dir, ignored))
            fs::permissions(e.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(dir, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder in the suite's form, with a trailing backslash.
    std::string path() const { return suite_path(dir) + "\\"; }
};

// Writes bytes to a file, replacing it.
inline void write_bytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Reads a whole file; empty when it is missing.
inline std::string read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets an environment variable of this process.
inline void set_env(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
#else
    setenv(name.c_str(), value.c_str(), 1);
#endif
}

// Removes an environment variable of this process.
inline void unset_env(const std::string& name) {
#ifdef _WIN32
    _putenv_s(name.c_str(), "");
#else
    unsetenv(name.c_str());
#endif
}

// Makes the current directory a given folder while it lives.
struct CurrentDirectory {
    fs::path saved = fs::current_path();
    explicit CurrentDirectory(const fs::path& dir) { fs::current_path(dir); }
    ~CurrentDirectory() { fs::current_path(saved); }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
};

}  // namespace zaltest
