// The command-line host's system calls on Windows.
#include <windows.h>

#include "host/cli/system.h"

std::string processTag() {
    return std::to_string(static_cast<unsigned long>(GetCurrentProcessId()));
}

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// The C library's rename refuses to replace an existing file on Windows.
bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
