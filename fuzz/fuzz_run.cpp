// libFuzzer target: a whole run, from the interpreter to the closed document,
// on an arbitrary print file with options chosen by the first input byte.
#include <cstdio>
#include <cstdlib>

#include "run_check.h"

namespace {

// The scratch directory of this process, removed again at exit.
const std::filesystem::path& scratch() {
    static const std::filesystem::path dir = fuzz::make_scratch_dir("zalprint-fuzz-run");
    return dir;
}

// Removes the scratch directory.
void remove_scratch() {
    std::error_code error;
    std::filesystem::remove_all(scratch(), error);
}

// True when no command interpreter is configured, so that a hand-off fails to start.
bool hand_off_is_harmless() {
    static const bool harmless = platform::get_env("COMSPEC").empty();
    return harmless;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    scratch();
    hand_off_is_harmless();
    std::atexit(remove_scratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::RunVerdict verdict =
        fuzz::check_run_case(scratch(), fuzz::split_run_input(data, size), hand_off_is_harmless());
    if (verdict.rejected) return -1;
    if (!verdict.problem.empty()) {
        std::fprintf(stderr, "fuzz_run: %s\n", verdict.problem.c_str());
        std::abort();
    }
    return 0;
}
