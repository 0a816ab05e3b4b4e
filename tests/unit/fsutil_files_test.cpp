// Unique names, directory paths and the existence test: the generator's
// arithmetic from fixed inputs, the name's form, the attempt loop over a
// scripted clock, directories created along paths, and which entries count
// as present.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "config_test_support.h"
#include "fsutil/files.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using zaltest::TempFolder;

TEST(NameGenerator, SeedIsTheSingleNearestToHundredthsOfSeconds) {
    struct Case {
        int h, m, s, ms;
        std::uint32_t bits;
    };
    const std::vector<Case> cases = {
        {0, 0, 0, 0, 0x00000000},       // 0.0
        {0, 0, 0, 5, 0x3F000000},       // 0.5
        {1, 0, 0, 0, 0x48AFC800},       // 360000.0
        {12, 34, 56, 789, 0x4A8A3C1E},  // 4527678.9 -> 4527679.0
        {23, 18, 6, 95, 0x4B000002},    // 8388609.5, a tie above 2^23 -> 8388610 (even)
        {23, 59, 59, 999, 0x4B03D600},  // 8639999.9 -> 8640000.0
    };
    for (const Case& c : cases)
        EXPECT_EQ(fsutil::seed_from_time(c.h, c.m, c.s, c.ms), c.bits)
            << c.h << ":" << c.m << ":" << c.s << "." << c.ms;
}

TEST(NameGenerator, DrawsFollowTheLinearCongruence) {
    std::uint32_t state = 0;
    EXPECT_EQ(fsutil::next_random(state), 0.0);
    EXPECT_EQ(state, 1u);
    EXPECT_EQ(fsutil::next_random(state), 67387907.0 / 2147483648.0);
    EXPECT_EQ(state, 134775814u);
    fsutil::next_random(state);
    EXPECT_EQ(state, 3698175007u);  // wraps modulo 2^32

    // r is (x div 2) / 2^31, so the largest state gives the largest r below 1.
    state = 0xFFFFFFFFu;
    double r = 0;
    for (int i = 0; i < 1000; ++i) {
        r = fsutil::next_random(state);
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
    }
}

TEST(NameGenerator, MapsDrawsOntoDigitsAndCapitals) {
    const double two31 = 2147483648.0;
    // The smallest draws n / 2^31 with floor(36 r) = 10 and 35.
    const long long first_a = ((10LL << 31) + 35) / 36;
    const long long first_z = ((35LL << 31) + 35) / 36;
    struct Case {
        double r;
        char c;
    };
    const std::vector<Case> cases = {
        {0.0, '0'},
        {(first_a - 1) / two31, '9'},
        {first_a / two31, 'A'},
        {(first_z - 1) / two31, 'Y'},
        {first_z / two31, 'Z'},
        {(two31 - 1) / two31, 'Z'},
    };
    for (const Case& c : cases) EXPECT_EQ(fsutil::name_char_for(c.r), c.c) << c.r;

    std::uint32_t state = 0;
    std::string drawn;
    for (int i = 0; i < 8; ++i) drawn += fsutil::random_name_char(state);
    EXPECT_EQ(drawn, "01U79OB5");
}

TEST(UniqueName, FormOfDirectoryPrefixAndExtension) {
    struct Case {
        const char* dir;
        const char* prefix;
        const char* ext;
        const char* head;  // directory and prefix as they appear
        std::size_t random;
        const char* tail;  // "." and extension, or nothing
    };
    const std::vector<Case> cases = {
        {"", "", "hta", "", 8, ".hta"},
        {"   ", "", "hta", "", 8, ".hta"},
        {"C:", "", "hta", "C:", 8, ".hta"},
        {"C:\\T\\", "", "hta", "C:\\T\\", 8, ".hta"},
        {"C:\\T/", "", "hta", "C:\\T/", 8, ".hta"},
        {" C:\\T ", "", "hta", "C:\\T\\", 8, ".hta"},
        {"T", "ABCDE", "hta", "T\\ABC", 5, ".hta"},
        {"T", " ab ", "hta", "T\\ab", 6, ".hta"},
        {"T", "", "HTML", "T\\", 8, ".HTM"},
        {"T", "", ".hta", "T\\", 8, ".hta"},
        {"T", "", " .hta ", "T\\", 8, ".hta"},
        {"T", "", ".", "T\\", 8, ""},
        {"T", "", "   ", "T\\", 8, ""},
        {"T", "", "", "T\\", 8, ""},
    };
    for (const Case& c : cases) {
        std::string name = fsutil::unique_name_candidate(c.dir, c.prefix, c.ext, 12345u);
        std::string head = c.head, tail = c.tail;
        SCOPED_TRACE(std::string("dir '") + c.dir + "' prefix '" + c.prefix + "' ext '" + c.ext +
                     "' gives " + name);
        ASSERT_EQ(name.size(), head.size() + c.random + tail.size());
        EXPECT_EQ(name.substr(0, head.size()), head);
        EXPECT_EQ(name.substr(name.size() - tail.size()), tail);
        for (char ch : name.substr(head.size(), c.random))
            EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(ch)) || (ch >= 'A' && ch <= 'Z'));
    }
    EXPECT_EQ(fsutil::unique_name_candidate("", "", "hta", 0), "01U79OB5.hta");
    EXPECT_EQ(fsutil::unique_name_candidate("", "", "hta", fsutil::seed_from_time(12, 34, 56, 789)),
              "JG5UYR1P.hta");
}

// A scripted clock: 12:34:56.789 for the first two readings, then a second
// later (the seed's resolution is a few milliseconds at this time of day).
int clock_readings = 0;
platform::LocalTimeOfDay scripted_clock() {
    ++clock_readings;
    return {12, 34, clock_readings <= 2 ? 56 : 57, 789};
}

TEST(UniqueName, DrawsAgainOnlyWhenAnOrdinaryFileHoldsTheName) {
    enum class Taken { nothing, ordinary_file, read_only_file, directory };
    struct Case {
        Taken taken;
        bool moves_on;  // the name of the later clock reading is returned
    };
    const std::vector<Case> cases = {
        {Taken::nothing, false},
        {Taken::ordinary_file, true},
        {Taken::read_only_file, false},
        {Taken::directory, false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string first = fsutil::unique_name_candidate(
            folder.path(), "", "hta", fsutil::seed_from_time(12, 34, 56, 789));
        const std::string later = fsutil::unique_name_candidate(
            folder.path(), "", "hta", fsutil::seed_from_time(12, 34, 57, 789));
        const fs::path taken = folder.dir / first.substr(folder.path().size());
        if (c.taken == Taken::directory) fs::create_directory(taken);
        if (c.taken == Taken::ordinary_file || c.taken == Taken::read_only_file)
            zaltest::write_bytes(taken, "x");
        if (c.taken == Taken::read_only_file)
            fs::permissions(
                taken, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
        clock_readings = 0;
        std::string name =
            fsutil::make_unique_name_with_clock(folder.path(), "", "hta", scripted_clock);
        EXPECT_EQ(name, c.moves_on ? later : first) << static_cast<int>(c.taken);
        // The same clock reading is tried again before the clock moves on.
        EXPECT_EQ(clock_readings, c.moves_on ? 3 : 1) << static_cast<int>(c.taken);
    }
}

platform::LocalTimeOfDay frozen_clock() { return {9, 0, 0, 0}; }

TEST(UniqueName, AClockThatStandsStillDoesNotHoldTheRun) {
    TempFolder folder;
    const std::string taken =
        fsutil::unique_name_candidate(folder.path(), "", "hta", fsutil::seed_from_time(9, 0, 0, 0));
    zaltest::write_bytes(folder.dir / taken.substr(folder.path().size()), "x");
    std::string name = fsutil::make_unique_name_with_clock(folder.path(), "", "hta", frozen_clock);
    EXPECT_NE(name, taken);
    EXPECT_EQ(name.size(), taken.size());
    EXPECT_FALSE(fs::exists(folder.dir / name.substr(folder.path().size())));
}

TEST(DirectoryPath, AttemptsEachPrefixEndingBeforeABackslash) {
    using List = std::vector<std::string>;
    struct Case {
        const char* path;
        List attempts;
    };
    const std::vector<Case> cases = {
        {"C:\\REPORTS\\OUT", {"C:\\REPORTS", "C:\\REPORTS\\OUT"}},
        {"OUT\\DOCS", {"OUT", "OUT\\DOCS"}},
        {"\\OUT\\DOCS", {"\\OUT", "\\OUT\\DOCS"}},
        {"OUT\\DOCS\\", {"OUT", "OUT\\DOCS"}},
        {"OUT\\  ", {"OUT"}},
        {"", {}},
        {"C:", {}},
        {"C:\\", {"C:\\"}},
        {"C:OUT", {"C:OUT"}},
        {"\\\\server\\share\\dir",
         {"\\", "\\\\server", "\\\\server\\share", "\\\\server\\share\\dir"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fsutil::directory_path_attempts(c.path), c.attempts) << c.path;
}

TEST(DirectoryPath, CreatesNestedAbsoluteAndRelativePaths) {
    TempFolder folder;
    // Absolute: on Windows a drive path under the temporary folder.
    fsutil::make_directory_path(folder.path() + "abs\\one\\two");
    EXPECT_TRUE(fs::is_directory(folder.dir / "abs" / "one" / "two"));
    // Existing parts are passed over, a trailing backslash is harmless.
    fsutil::make_directory_path(folder.path() + "abs\\one\\three\\");
    EXPECT_TRUE(fs::is_directory(folder.dir / "abs" / "one" / "three"));
    {
        zaltest::CurrentDirectory here(folder.dir);
        fsutil::make_directory_path("rel\\a\\b");
    }
    EXPECT_TRUE(fs::is_directory(folder.dir / "rel" / "a" / "b"));
}

TEST(PathExists, OnlyOrdinaryFilesArePresent) {
    TempFolder folder;
    fs::create_directories(folder.dir / "sub");
    zaltest::write_bytes(folder.dir / "plain.txt", "x");
    zaltest::write_bytes(folder.dir / "sub" / "Inner.TXT", "x");
    zaltest::write_bytes(folder.dir / "locked.txt", "x");
    fs::permissions(folder.dir / "locked.txt",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string d = folder.path();
    struct Case {
        std::string path;
        bool exists;
    };
    const std::vector<Case> cases = {
        {d + "plain.txt", true},
        {d + "PLAIN.TXT", true},  // names match without regard to letter case
        {d + "pl?in.*", true},    // find-first wildcards in the last component
        {d + "locked.txt", false},
        {d + "sub", false},
        {d + "missing.txt", false},
        {d + "sub\\inner.txt", true},
        {d + "sub/Inner.TXT", true},  // "/" separates the directory part too
        {d + "nosuchdir\\plain.txt", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(fsutil::path_exists(c.path), c.exists) << c.path;
}

TEST(PathExists, AttributeRule) {
    using namespace platform;
    struct Case {
        std::uint32_t attributes;
        bool ordinary;
    };
    const std::vector<Case> cases = {
        {attr_normal, true},
        {attr_archive, true},
        {0, true},
        {attr_archive | attr_read_only, false},
        {attr_archive | attr_hidden, false},
        {attr_archive | attr_system, false},
        {attr_directory, false},
        {attr_volume_label, false},
        {attr_directory | attr_archive, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fsutil::is_ordinary_file(c.attributes), c.ordinary) << c.attributes;
}

#ifdef _WIN32
TEST(PathExists, HiddenAndSystemFilesAreAbsentUnderWindows) {
    TempFolder folder;
    struct Case {
        const char* name;
        const char* attrib;
        bool exists;
    };
    const std::vector<Case> cases = {
        {"hidden.txt", "+h", false},
        {"system.txt", "+s", false},
        {"noarchive.txt", "-a", true},
    };
    for (const Case& c : cases) {
        zaltest::write_bytes(folder.dir / c.name, "x");
        const std::string path = folder.path() + c.name;
        platform::run_process("attrib " + std::string(c.attrib) + " \"" + path + "\"");
        EXPECT_EQ(fsutil::path_exists(path), c.exists) << c.name;
        platform::run_process("attrib -h -s \"" + path + "\"");
    }
}
#endif

}  // namespace
