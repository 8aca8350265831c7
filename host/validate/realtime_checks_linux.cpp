// Allocations, locks and system calls inside processReplacing on Linux: counted through the C
// library's functions, which this executable interposes (host/call_counts_linux.cpp, exported), and
// through a seccomp filter that traps every system call in a forked child.
#include <dlfcn.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>

#include "host/call_counts.h"
#include "host/validate/realtime_scenario.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

// Shared with the forked child, which can tell the parent nothing else once its filter is in place.
struct Trapped {
    std::atomic<long> calls;
    std::atomic<long> firstNumber;
    std::atomic<bool> counting;
};
Trapped* trapped = nullptr;

void countSystemCall(int, siginfo_t* info, void* context) {
    if (trapped->counting.load()) {
        if (trapped->calls.fetch_add(1) == 0) {
            trapped->firstNumber.store(info->si_syscall);
        }
    }
    // The call is not made; it fails as an unknown one would.
    static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RAX] = -ENOSYS;
}

bool installTrapFilter() {
    struct sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_rt_sigreturn, 3, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_exit_group, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_exit, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog filter = {static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

// Answers the number of system calls, or -1 with a reason when the child could not count.
long countSystemCalls(const PluginLibrary& library, std::uint64_t seed, long& firstNumber, std::string& reason) {
    void* shared = mmap(nullptr, sizeof(Trapped), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        reason = "no shared memory for the child";
        return -1;
    }
    trapped = new (shared) Trapped{{0}, {-1}, {false}};
    QuietEffect quiet(library, seed);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        struct sigaction action = {};
        action.sa_sigaction = countSystemCall;
        action.sa_flags = SA_SIGINFO;
        sigaction(SIGSYS, &action, nullptr);
        if (!installTrapFilter()) {
            syscall(SYS_exit_group, 3);
        }
        quiet.processAll([](bool on) { trapped->counting.store(on); });
        syscall(SYS_exit_group, 0);
    }
    int status = 0;
    const bool waited = child > 0 && waitpid(child, &status, 0) == child;
    const long calls = trapped->calls.load();
    firstNumber = trapped->firstNumber.load();
    munmap(shared, sizeof(Trapped));
    trapped = nullptr;
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
