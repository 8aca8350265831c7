// Allocations, locks and system calls inside processReplacing on Linux: counted through the C
// library's functions, which this executable interposes (host/call_counts_linux.cpp, exported), and
// through a seccomp filter that traps every system call in a forked child.
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>

#include "host/call_counts.h"
#include "host/validate/realtime_scenario.h"
#include "host/validate/system_call_trap.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

// Answers the number of system calls, or -1 with a reason when the child could not count.
long countSystemCalls(const PluginLibrary& library, std::uint64_t seed, long& firstNumber, std::string& reason) {
    void* shared = mmap(nullptr, sizeof(TrappedCalls), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        reason = "no shared memory for the child";
        return -1;
    }
    TrappedCalls* trapped = new (shared) TrappedCalls;
    QuietEffect quiet(library, seed);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!trapSystemCalls(trapped, false)) {
            syscall(SYS_exit_group, 3);
        }
        quiet.processAll([trapped](bool on) { trapped->counting.store(on); });
        syscall(SYS_exit_group, 0);
    }
    int status = 0;
    const bool waited = child > 0 && waitpid(child, &status, 0) == child;
    const long calls = trapped->calls.load();
    firstNumber = trapped->firstNumber.load();
    trapped->~TrappedCalls();
    munmap(shared, sizeof(TrappedCalls));
    if (!waited) {
        reason = "the child could not be started";
        return -1;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        reason = WIFSIGNALED(status) ? "the child died of signal " + std::to_string(WTERMSIG(status))
                                     : "the child could not install its filter";
        return -1;
    }
    return calls;
}

Outcome realtime(Context& context) {
    long blocks = 0;
    {
        QuietEffect quiet(*context.library, context.seed);
        if (quiet.record() == nullptr) {
            return failed("the plug-in yielded no effect");
        }
        callcounts::reset();
        quiet.processAll(callcounts::watch);
        blocks = quiet.blocksPerRun();
    }
    long firstNumber = -1;
    std::string reason;
    const long calls = countSystemCalls(*context.library, context.seed, firstNumber, reason);
    std::string figures = "in " + std::to_string(blocks) +
                          " processReplacing calls: " + std::to_string(callcounts::allocations()) +
                          " allocations or frees, " + std::to_string(callcounts::locks()) + " mutex locks, ";
    figures += calls >= 0 ? std::to_string(calls) + " system calls" : "system calls not counted (" + reason + ")";
    if (calls > 0) {
        figures += " (first number " + std::to_string(firstNumber) + ")";
    }
    if (callcounts::allocations() > 0 || callcounts::locks() > 0 || calls != 0) {
        return failed(figures);
    }
    return passed(figures);
}

}  // namespace

std::vector<Check> realtimeChecks() {
    return {{"realtime", realtime}};
}

}  // namespace validate
