// The few operating-system calls the command-line host makes, one implementation per platform.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Creates the file at path only when nothing exists there (not even a link): answers a descriptor
// open for writing in binary mode, or -1 (errno EEXIST when the name is taken).
int createNewFile(const std::string& path);

// A stream over a descriptor from createNewFile, which it takes over; null on failure.
std::FILE* streamFor(int descriptor);

// Eight random letters and digits from the system's generator: names that others cannot guess.
std::string unguessableTag();

// True when standard error is a terminal, where progress can be redrawn in place.
bool standardErrorIsTerminal();

// Moves `from` over `to`, replacing an existing `to` in one step; false on failure.
bool replaceFile(const std::string& from, const std::string& to);

// How a run of this program as a child process ended, and what it printed on standard output.
struct ChildResult {
    bool started = false;
    bool exited = false;    // false when it crashed or was stopped
    bool timedOut = false;  // stopped for running past its time
    int status = -1;
    std::string output;
};

// Runs this same program with the arguments and waits for it, at most the given seconds: then the
// child is killed. Its standard error is shared.
ChildResult runSelf(const std::vector<std::string>& arguments, double seconds);

// From now on an interrupt (Ctrl+C, or a request to terminate) ends this process at once with the
// status, after killing and reaping the child that runSelf is waiting for.
void endOnInterrupt(int status);

// A crash ends this process at once, without the system's crash reporting or debugger.
void crashQuietly();
