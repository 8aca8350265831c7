// Temporary files beside an output, made exclusively under a fresh random name.
#include "host/cli/temporary_file.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "host/cli/system.h"

namespace {
// A collision with a random name is rare; many in a row mean something else is wrong.
constexpr int kAttempts = 100;
}  // namespace

TemporaryFile createTemporaryBeside(const std::string& target) {
    int error = EEXIST;
    for (int attempt = 0; attempt < kAttempts && error == EEXIST; ++attempt) {
        // Beside the target, so that the final rename stays on one file system.
        TemporaryFile file;
        file.path = target + ".partial-" + unguessableTag();
        file.descriptor = createNewFile(file.path);
        if (file.descriptor >= 0) {
            return file;
        }
        error = errno;
    }
    throw std::runtime_error("cannot write '" + target + "': " + std::strerror(error));
}
