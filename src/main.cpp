// zalprint: turns the suite's print file into a self-printing HTA document.
#include "config/run.h"

int main() { return config::run_main(); }
