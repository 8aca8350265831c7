// The few operating-system calls the command-line host makes, one implementation per platform.
#pragma once

#include <string>

// A suffix no other running zelmor-host uses, for temporary files beside an output.
std::string processTag();

// True when standard error is a terminal, where progress can be redrawn in place.
bool standardErrorIsTerminal();

// Moves `from` over `to`, replacing an existing `to` in one step; false on failure.
bool replaceFile(const std::string& from, const std::string& to);
