// The command-line host's system calls on POSIX systems.
#include <unistd.h>

#include <cstdio>

#include "host/cli/system.h"

std::string processTag() {
    return std::to_string(static_cast<long>(getpid()));
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}
