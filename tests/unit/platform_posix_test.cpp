// The POSIX backend opens regular files only, as the suite's Windows files
// always are: a named pipe or a device never reaches the readers.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace {

TEST(PosixFiles, OpensNoNamedPipeOrDevice) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("zal-posix-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::string fifo = (dir / "zalprint.tmp").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string zero = (dir / "Sessio.ini").string();
    fs::create_symlink("/dev/zero", zero);

    for (const std::string& path : {fifo, zero}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(platform::open_shared_read(path), platform::no_file);
        EXPECT_EQ(platform::open_read_write(path), platform::no_file);
    }
    fs::remove_all(dir);
}

TEST(PosixFiles, NamesWithNulOrNothingNameNoFile) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("zal-posix-nul-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::string kept = (dir / "report.txt").string();
    platform::close_file(platform::create_shared_write(kept));
    std::string with_nul = kept + std::string(1, '\0') + ".hta";

    EXPECT_EQ(platform::create_shared_write(with_nul), platform::no_file);
    EXPECT_FALSE(platform::delete_file(with_nul));
    EXPECT_EQ(platform::file_attributes(with_nul), platform::invalid_attributes);
    EXPECT_TRUE(fs::exists(kept)) << "the name before the NUL must stay untouched";

    platform::DirEntry entry;
    EXPECT_FALSE(platform::find_first_entry("", entry));
    EXPECT_EQ(platform::run_process(std::string("false\0x", 7)), 0);
    fs::remove_all(dir);
}

}  // namespace
#endif
