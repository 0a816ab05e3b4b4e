// Stand-in for the programs that zalprint starts (the command interpreter of
// COMSPEC and the mail program ZIRIDU): appends one line with its argument
// words, separated by tabs and program name first, to the log file named by
// ZALPRINT_RECORDER_LOG, or else to the file named like the program with
// ".log" appended, and ends with exit code 0. Portable: standard library only.
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const char* named = std::getenv("ZALPRINT_RECORDER_LOG");
    std::string log =
        named && *named ? named : std::string(argc > 0 ? argv[0] : "recorder") + ".log";
    std::string line;
    for (int i = 0; i < argc; ++i) {
        if (i > 0) line += '\t';
        line += argv[i];
    }
    std::ofstream(log, std::ios::binary | std::ios::app) << line << '\n';
    return 0;
}
