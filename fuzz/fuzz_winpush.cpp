// libFuzzer target: the window stack on an arbitrary WinPush.tmp that lies
// above one valid record of another program.
#include <cstdio>
#include <cstdlib>

#include "winpush_check.h"

namespace {

// The scratch directory of this process, removed again at exit.
const std::filesystem::path& scratch() {
    static const std::filesystem::path dir = fuzz::make_scratch_dir("zalprint-fuzz-winpush");
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
    const std::string problem =
        fuzz::check_winpush_case(scratch(), fuzz::split_winpush_input(data, size));
    if (!problem.empty()) {
        std::fprintf(stderr, "fuzz_winpush: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
