// Temporary files beside an output: made new under a name nobody can guess, so that nothing planted
// beforehand (a file, a link) can receive what is written.
#pragma once

#include <string>

struct TemporaryFile {
    int descriptor = -1;  // open for writing; the caller closes it
    std::string path;
};

// Throws std::runtime_error naming the target when no such file can be made.
TemporaryFile createTemporaryBeside(const std::string& target);
