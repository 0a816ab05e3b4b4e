// Replays the inputs that the fuzz targets failed on once (and a few that
// reach their hardest paths) through the same checks as the fuzz targets:
// tests/fixtures/fuzz/<target>/ holds one input per file, in the target's
// input format. Natively only: the checks use the in-memory console.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/ini_check.h"
#include "../../fuzz/run_check.h"
#include "../../fuzz/winpush_check.h"

namespace {

// The fixture inputs of one fuzz target, in name order.
std::vector<std::filesystem::path> inputs_of(const std::string& target) {
    const std::filesystem::path dir =
        std::filesystem::path(__FILE__).parent_path().parent_path() / "fixtures" / "fuzz" / target;
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The bytes of a fixture as the fuzz target receives them.
std::string input_bytes(const std::filesystem::path& file) { return fuzz::read_bytes(file); }

// A pointer to the bytes of an input in the form the split functions take.
const std::uint8_t* data_of(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

class FuzzRegressions : public ::testing::Test {
  protected:
    void SetUp() override { dir = fuzz::make_scratch_dir("zalprint-fuzz-regressions"); }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(dir, error);
    }
    std::filesystem::path dir;
};

TEST_F(FuzzRegressions, IniReaderInputs) {
    const auto files = inputs_of("fuzz_ini");
    ASSERT_FALSE(files.empty()) << "no fixtures found beside " << __FILE__;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = input_bytes(file);
        EXPECT_EQ(fuzz::check_ini_case(dir, fuzz::split_ini_input(data_of(bytes), bytes.size())),
                  "");
    }
}

TEST_F(FuzzRegressions, WholeRunInputs) {
    const auto files = inputs_of("fuzz_run");
    ASSERT_FALSE(files.empty()) << "no fixtures found beside " << __FILE__;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = input_bytes(file);
        const fuzz::RunVerdict verdict =
            fuzz::check_run_case(dir, fuzz::split_run_input(data_of(bytes), bytes.size()), false);
        EXPECT_FALSE(verdict.rejected);
        EXPECT_EQ(verdict.problem, "");
    }
}

TEST_F(FuzzRegressions, WindowStackInputs) {
    const auto files = inputs_of("fuzz_winpush");
    ASSERT_FALSE(files.empty()) << "no fixtures found beside " << __FILE__;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = input_bytes(file);
        EXPECT_EQ(
            fuzz::check_winpush_case(dir, fuzz::split_winpush_input(data_of(bytes), bytes.size())),
            "");
    }
}

}  // namespace

#endif  // _WIN32
