// The platform layer as the rest of the system relies on it. Paths are
// written with "\" as the suite writes them; every test works in a scratch
// folder of its own under the temporary folder, so tests may run at once.
#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace {

using platform::no_file;

#ifndef _WIN32
// Turns a path of the suite into one for the POSIX shell.
std::string shell_path(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}
#endif

// Removes a folder and everything in it.
void remove_tree(const std::string& dir) {
#ifdef _WIN32
    platform::run_process("cmd /c attrib -r -h -s \"" + dir + "\\*.*\" /s /d >nul 2>nul");
    platform::run_process("cmd /c rmdir /s /q \"" + dir + "\" 2>nul");
#else
    platform::run_process("rm -rf \"" + shell_path(dir) + "\"");
#endif
}

// Writes a whole file; false when it cannot be created.
bool put_file(const std::string& path, const std::string& text) {
    platform::FileHandle f = platform::create_shared_write(path);
    bool ok = platform::write_file(f, text.data(), text.size());
    platform::close_file(f);
    return f != no_file && ok;
}

// Reads from the file position to the end.
std::string read_rest(platform::FileHandle f) {
    std::string text;
    char buffer[64];
    for (std::int64_t n; (n = platform::read_file(f, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// A scratch folder named after the running test, made empty for it.
class PlatformFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path().string();
        for (char& c : dir)
            if (c == '/') c = '\\';
        if (dir.back() != '\\') dir += '\\';
        dir += std::string("zalprint_platform_") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        remove_tree(dir);
        ASSERT_TRUE(platform::create_directory(dir));
    }
    void TearDown() override { remove_tree(dir); }
    std::string at(const std::string& name) const { return dir + "\\" + name; }
    std::string dir;
};

// ---- Files -----------------------------------------------------------------

TEST_F(PlatformFiles, SharedOpensCoexistAndSeeEachOthersWrites) {
    ASSERT_TRUE(put_file(at("f.txt"), "old contents"));
    platform::FileHandle reader = platform::open_shared_read(at("f.txt"));
    ASSERT_NE(reader, no_file);
    platform::FileHandle writer = platform::create_shared_write(at("f.txt"));
    ASSERT_NE(writer, no_file) << "a file open for shared reading can be created again";
    platform::FileHandle both = platform::open_read_write(at("f.txt"));
    ASSERT_NE(both, no_file) << "and opened for reading and writing";
    EXPECT_EQ(platform::file_size(reader), 0) << "create truncates";

    ASSERT_TRUE(platform::write_file(writer, "new", 3));
    EXPECT_EQ(read_rest(reader), "new");
    ASSERT_TRUE(platform::seek_file(both, 3));
    ASSERT_TRUE(platform::write_file(both, "er", 2));
    ASSERT_TRUE(platform::seek_file(reader, 0));
    EXPECT_EQ(read_rest(reader), "newer");

    platform::close_file(both);
    platform::close_file(writer);
    platform::close_file(reader);
}

TEST_F(PlatformFiles, ReadWriteCreatesKeepsSeeksAndCuts) {
    platform::FileHandle f = platform::open_read_write(at("rw.bin"));
    ASSERT_NE(f, no_file) << "a missing file is created";
    EXPECT_EQ(platform::file_size(f), 0);
    ASSERT_TRUE(platform::write_file(f, "abcdef", 6));
    platform::close_file(f);

    f = platform::open_read_write(at("rw.bin"));
    ASSERT_NE(f, no_file);
    EXPECT_EQ(platform::file_size(f), 6) << "an existing file keeps its contents";
    ASSERT_TRUE(platform::seek_file(f, 2));
    ASSERT_TRUE(platform::write_file(f, "XY", 2));
    ASSERT_TRUE(platform::seek_file(f, 0));
    EXPECT_EQ(read_rest(f), "abXYef");
    char byte;
    EXPECT_EQ(platform::read_file(f, &byte, 1), 0) << "0 at the end";
    ASSERT_TRUE(platform::seek_file(f, 3));
    ASSERT_TRUE(platform::set_file_end(f));
    EXPECT_EQ(platform::file_size(f), 3);
    EXPECT_FALSE(platform::seek_file(f, -1));
    platform::close_file(f);

    EXPECT_TRUE(platform::delete_file(at("rw.bin")));
    EXPECT_EQ(platform::open_shared_read(at("rw.bin")), no_file);
    EXPECT_FALSE(platform::delete_file(at("rw.bin")));
}

TEST(PlatformNoFile, FailedOpensGiveNoFileAndNoFileTakesNothing) {
    EXPECT_EQ(platform::open_shared_read("no_such_file_here.txt"), no_file);
    EXPECT_EQ(platform::create_shared_write("no_such_dir_here\\f.txt"), no_file);
    EXPECT_EQ(platform::open_read_write("no_such_dir_here\\f.txt"), no_file);
    char byte = 0;
    EXPECT_EQ(platform::read_file(no_file, &byte, 1), -1);
    EXPECT_FALSE(platform::write_file(no_file, &byte, 1));
    EXPECT_FALSE(platform::seek_file(no_file, 0));
    EXPECT_EQ(platform::file_size(no_file), -1);
    EXPECT_FALSE(platform::set_file_end(no_file));
    platform::close_file(no_file);
}

#ifdef _WIN32
// Devices are not files of the suite: reading the console would wait for the keyboard.
TEST(PlatformNoFile, DevicesAreNotOpened) {
    for (const char* device : {"CON", "NUL", "C:\\NUL"}) {
        platform::FileHandle f = platform::open_shared_read(device);
        EXPECT_EQ(f, no_file) << device;
        platform::close_file(f);
    }
    platform::FileHandle f = platform::create_shared_write("NUL");
    EXPECT_EQ(f, no_file);
    platform::close_file(f);
}

// Windows would take a NUL byte as the end of a name and reach another file.
TEST_F(PlatformFiles, NameWithNulByteIsRefused) {
    ASSERT_TRUE(put_file(at("keep"), "precious"));
    std::string cut = at("keep") + std::string(1, '\0') + "x";
    EXPECT_EQ(platform::create_shared_write(cut), no_file);
    EXPECT_EQ(platform::open_read_write(cut), no_file);
    EXPECT_FALSE(platform::delete_file(cut));
    platform::FileHandle f = platform::open_shared_read(at("keep"));
    EXPECT_EQ(read_rest(f), "precious");
    platform::close_file(f);
}
#endif

// ---- Directories -----------------------------------------------------------

using PlatformFolders = PlatformFiles;

TEST_F(PlatformFolders, CreateDirectoryOnceAndItsAttributes) {
    EXPECT_TRUE(platform::create_directory(at("sub")));
    EXPECT_FALSE(platform::create_directory(at("sub"))) << "it exists";
    EXPECT_FALSE(platform::create_directory(at("no\\parent")));
    EXPECT_NE(platform::file_attributes(at("sub")) & platform::attr_directory, 0u);
}

TEST_F(PlatformFolders, FindFirstEntryMatchesLastComponent) {
    ASSERT_TRUE(put_file(at("alpha.txt"), "a"));
    ASSERT_TRUE(put_file(at("beta.dat"), "b"));
    ASSERT_TRUE(platform::create_directory(at("empty")));
    ASSERT_TRUE(platform::create_directory(at("one")));
    ASSERT_TRUE(put_file(at("one\\only.txt"), "o"));

    struct Case {
        std::string pattern;
        bool found;
        std::string name;
    };
    const Case cases[] = {
        {at("alpha.txt"), true, "alpha.txt"},
        {at("ALPHA.TXT"), true, "alpha.txt"},  // names match without regard to case
        {at("*.dat"), true, "beta.dat"},
        {at("alph?.txt"), true, "alpha.txt"},
        {at("b*"), true, "beta.dat"},
        {at("one\\"), true, "only.txt"},  // a folder pattern: every entry of it
        {at("one\\*"), true, "only.txt"},
        {at("empty\\"), false, ""},  // "." and ".." are never returned
        {at("empty\\*"), false, ""},
        {at("missing*"), false, ""},
        {at("nodir\\alpha.txt"), false, ""},
#ifdef _WIN32
        {"", false, ""},
#endif
    };
    for (const Case& c : cases) {
        platform::DirEntry entry;
        EXPECT_EQ(platform::find_first_entry(c.pattern, entry), c.found) << c.pattern;
        if (c.found) {
            EXPECT_EQ(entry.name, c.name) << c.pattern;
        }
    }

    platform::DirEntry entry;
    ASSERT_TRUE(platform::find_first_entry(at("emp*"), entry));
    EXPECT_NE(entry.attributes & platform::attr_directory, 0u) << "the entry's attributes";
}

TEST_F(PlatformFolders, FileAttributesOfFilesFoldersAndMissingPaths) {
    ASSERT_TRUE(put_file(at("plain.txt"), "p"));
    ASSERT_TRUE(put_file(at("locked.txt"), "l"));
#ifdef _WIN32
    ASSERT_TRUE(put_file(at("hidden.txt"), "h"));
    ASSERT_TRUE(put_file(at("system.txt"), "s"));
    platform::run_process("attrib +r \"" + at("locked.txt") + "\"");
    platform::run_process("attrib +h \"" + at("hidden.txt") + "\"");
    platform::run_process("attrib +s \"" + at("system.txt") + "\"");
#else
    platform::run_process("chmod a-w \"" + shell_path(at("locked.txt")) + "\"");
#endif
    constexpr std::uint32_t kinds = platform::attr_read_only | platform::attr_hidden |
                                    platform::attr_system | platform::attr_directory;
    struct Case {
        std::string path;
        std::uint32_t bits;  // which of the kinds are set
    };
    const Case cases[] = {
        {at("plain.txt"), 0},
        {at("locked.txt"), platform::attr_read_only},
#ifdef _WIN32
        {at("hidden.txt"), platform::attr_hidden},
        {at("system.txt"), platform::attr_system},
#endif
        {dir, platform::attr_directory},
    };
    for (const Case& c : cases) {
        std::uint32_t attributes = platform::file_attributes(c.path);
        ASSERT_NE(attributes, platform::invalid_attributes) << c.path;
        EXPECT_EQ(attributes & kinds, c.bits) << c.path;
    }
    EXPECT_EQ(platform::file_attributes(at("missing.txt")), platform::invalid_attributes);
    EXPECT_EQ(platform::file_attributes(at("nodir\\missing.txt")), platform::invalid_attributes);
    EXPECT_EQ(platform::file_attributes(""), platform::invalid_attributes);
}

// ---- Environment and clocks ------------------------------------------------

TEST(PlatformEnvironment, SetUnsetAndLongValues) {
    const std::string long_value(1000, 'v');
#ifdef _WIN32
    ASSERT_EQ(_putenv_s("ZALPRINT_TEST_LONG", long_value.c_str()), 0);
#else
    ASSERT_EQ(setenv("ZALPRINT_TEST_LONG", long_value.c_str(), 1), 0);
#endif
    EXPECT_EQ(platform::get_env("ZALPRINT_TEST_LONG"), long_value);
#ifdef _WIN32
    const bool names_ignore_case = true;
#else
    const bool names_ignore_case = false;
#endif
    EXPECT_EQ(platform::get_env("zalprint_test_long") == long_value, names_ignore_case);
    EXPECT_EQ(platform::get_env("ZALPRINT_TEST_SURELY_UNSET"), "");
    EXPECT_EQ(platform::get_env(""), "");
}

// Days from 1970-01-01 to a Gregorian date.
long days_since_epoch(int year, int month, int day) {
    year -= month <= 2;
    long era = (year >= 0 ? year : year - 399) / 400;
    long yoe = year - era * 400;
    long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

TEST(PlatformClocks, UtcAgreesWithTheLibraryClockAndLocalTimeIsInRange) {
    std::time_t before = std::time(nullptr);
    platform::UtcDateTime utc = platform::utc_now();
    std::time_t after = std::time(nullptr);
    EXPECT_GE(utc.year, 2020);
    EXPECT_GE(utc.month, 1);
    EXPECT_LE(utc.month, 12);
    long long seconds = days_since_epoch(utc.year, utc.month, utc.day) * 86400LL + utc.hour * 3600 +
                        utc.minute * 60 + utc.second;
    EXPECT_GE(seconds, static_cast<long long>(before) - 1);
    EXPECT_LE(seconds, static_cast<long long>(after) + 1);

    platform::LocalTimeOfDay local = platform::local_time_of_day();
    EXPECT_TRUE(local.hour >= 0 && local.hour <= 23);
    EXPECT_TRUE(local.minute >= 0 && local.minute <= 59);
    EXPECT_TRUE(local.second >= 0 && local.second <= 60);
    EXPECT_TRUE(local.millisecond >= 0 && local.millisecond <= 999);
}

// ---- OEM code page -------------------------------------------------------

TEST(PlatformOemCodePage, RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::u16string wide = platform::oem_to_utf16(all);
    ASSERT_EQ(wide.size(), 256u) << "one unit per byte, NUL included";
    EXPECT_EQ(platform::utf16_to_oem(wide), all);
}

TEST(PlatformOemCodePage, IsTheSuitesCodePage) {
    // Byte 0xD5 is the one difference between CP850, which wine uses for the
    // suite's Catalan locale, and CP858 of the POSIX backend.
#ifdef _WIN32
    const char16_t d5 = 0x0131;
#else
    const char16_t d5 = 0x20AC;
#endif
    EXPECT_EQ(platform::oem_to_utf16("\xD5"), std::u16string(1, d5));
    EXPECT_EQ(platform::oem_to_utf16("A\x82\xC4\xDA"), u"A\u00E9\u2500\u250C");
    EXPECT_EQ(platform::utf16_to_oem(u"A\u00E9\u2500\u250C"), "A\x82\xC4\xDA");
    // Characters outside the code page become "?", never a look-alike.
    EXPECT_EQ(platform::utf16_to_oem(u"\u0100x\u4E2D\u0141"), "?x??");
    EXPECT_EQ(platform::oem_to_utf16(""), u"");
    EXPECT_EQ(platform::utf16_to_oem(u""), "");
}

// ---- Processes -------------------------------------------------------------

TEST(PlatformProcesses, ExitCodesLongCommandLinesAndMissingPrograms) {
#ifdef _WIN32
    const std::string exits_with = "cmd /c exit ";
    // cmd runs the rest of its line: the exit comes behind 300 characters.
    const std::string long_line = "cmd /c set ZALPRINT_PAD=" + std::string(300, 'x') + "& exit 9";
#else
    const std::string exits_with = "sh -c \"exit $0\" ";
    const std::string long_line = "sh -c \"exit ${#1}\" x " + std::string(300, 'x');
#endif
    EXPECT_EQ(platform::run_process(exits_with + "7"), 7);
    EXPECT_EQ(platform::run_process(exits_with + "0"), 0);
#ifdef _WIN32
    EXPECT_EQ(platform::run_process(long_line), 9);
#else
    EXPECT_EQ(platform::run_process(long_line), 300 % 256);
#endif
    EXPECT_EQ(platform::run_process("zalprint_no_such_program_anywhere"), 0);
    EXPECT_EQ(platform::run_process(""), 0);
}

}  // namespace
