// libFuzzer target: the INI reader on arbitrary file bytes and arbitrary
// section and key arguments.
#include <cstdio>
#include <cstdlib>

#include "ini_check.h"

namespace {

// The scratch directory of this process, removed again at exit.
const std::filesystem::path& scratch() {
    static const std::filesystem::path dir = fuzz::make_scratch_dir("zalprint-fuzz-ini");
    return dir;
}

// Removes the scratch directory.
void remove_scratch() {
    std::error_code error;
    std::filesystem::remove_all(scratch(), error);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratch();
    std::atexit(remove_scratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string problem = fuzz::check_ini_case(scratch(), fuzz::split_ini_input(data, size));
    if (!problem.empty()) {
        std::fprintf(stderr, "fuzz_ini: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
