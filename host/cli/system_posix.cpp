// The command-line host's system calls on POSIX systems.
#include <fcntl.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "host/cli/system.h"

int createNewFile(const std::string& path) {
    // O_EXCL with O_CREAT refuses any existing name, a symbolic link included, even a dangling one.
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

std::FILE* streamFor(int descriptor) {
    return fdopen(descriptor, "wb");
}

std::string unguessableTag() {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char bytes[8] = {};
    std::size_t got = 0;
    while (got < sizeof bytes) {
        const ssize_t read = getrandom(bytes + got, sizeof bytes - got, 0);
        if (read > 0) {
            got += static_cast<std::size_t>(read);
        } else if (errno != EINTR) {
            break;  // a kernel without the call: the exclusive creation still refuses planted names
        }
    }
    std::string tag;
    for (unsigned char byte : bytes) {
        tag += kLetters[byte % (sizeof kLetters - 1)];
    }
    return tag;
}

bool standardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

namespace {
std::string ownPath() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}
}  // namespace

ChildResult runSelf(const std::vector<std::string>& arguments) {
    ChildResult result;
    const std::string program = ownPath();
    int pipeEnds[2];
    if (program.empty() || pipe(pipeEnds) != 0) {
        result.output = "cannot find this program or make a pipe";
        return result;
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        result.output = "cannot start " + program;
        return result;
    }
    result.started = true;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got > 0) {
            result.output.append(buffer, static_cast<std::size_t>(got));
        }
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exited = WIFEXITED(status);
    result.status = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

void crashQuietly() {
    // A crash already ends a POSIX process at once with its signal.
}
