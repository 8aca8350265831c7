// The command-line host's system calls on POSIX systems.
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/random.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
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

namespace {
// The child runSelf waits for, for the interrupt handler to end with this process.
std::atomic<pid_t> runningChild{0};
int interruptedStatus = 130;

void endNow(int /*signal*/) {
    const pid_t child = runningChild.load();
    if (child > 0) {
        kill(child, SIGKILL);
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }
    static const char kMessage[] = "zelmor-host: interrupted\n";
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(interruptedStatus);
}

// Blocks the interrupt signals while a child starts, so that the handler always knows of it.
class InterruptsHeld {
public:
    InterruptsHeld() {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &held, &previous);
    }
    ~InterruptsHeld() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t previous;
};
}  // namespace

void endOnInterrupt(int status) {
    interruptedStatus = status;
    struct sigaction action = {};
    action.sa_handler = endNow;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

ChildResult runSelf(const std::vector<std::string>& arguments, double seconds) {
    ChildResult result;
    const std::string program = ownPath();
    int pipeEnds[2];
    if (program.empty() || pipe2(pipeEnds, O_CLOEXEC) != 0) {
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
    // The child starts with no signal blocked, whatever is held here while it starts.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t child = 0;
    int spawned = 0;
    {
        InterruptsHeld held;
        spawned = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
        if (spawned == 0) {
            runningChild.store(child);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        result.output = "cannot start " + program;
        return result;
    }
    result.started = true;
    using Clock = std::chrono::steady_clock;
    const auto deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            result.timedOut = true;
            break;
        }
        pollfd waiting{pipeEnds[0], POLLIN, 0};
        const int ready = poll(&waiting, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
        if (got > 0) {
            result.output.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;  // the child closed its end: it has ended
        }
    }
    close(pipeEnds[0]);
    if (result.timedOut) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    runningChild.store(0);
    result.exited = !result.timedOut && WIFEXITED(status);
    result.status = result.exited ? WEXITSTATUS(status) : -1;
    return result;
}

void crashQuietly() {
    // A crash already ends a POSIX process at once with its signal.
}
