// Counting one thread's system calls on Linux: a seccomp filter on that thread traps each call into a
// SIGSYS handler, which counts it and makes it fail as an unknown call.
#include "host/validate/system_call_trap.h"

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

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <new>

namespace validate {
namespace {

std::atomic<TrappedCalls*> trapped{nullptr};

void countSystemCall(int, siginfo_t* info, void* context) {
    TrappedCalls* counts = trapped.load();
    if (counts != nullptr && counts->counting.load()) {
        if (counts->calls.fetch_add(1) == 0) {
            counts->firstNumber.store(info->si_syscall);
        }
    }
    // The call is not made; it fails as an unknown one would.
    static_cast<ucontext_t*>(context)->uc_mcontext.gregs[REG_RAX] = -ENOSYS;
}

}  // namespace

bool trapSystemCalls(TrappedCalls* counts, bool allowClock) {
    trapped.store(counts);
    struct sigaction action = {};
    action.sa_sigaction = countSystemCall;
    action.sa_flags = SA_SIGINFO;
    sigaction(SIGSYS, &action, nullptr);
    const unsigned clock = allowClock ? SYS_clock_gettime : SYS_exit;
    const unsigned day = allowClock ? SYS_gettimeofday : SYS_exit;
    struct sock_filter program[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_rt_sigreturn, 5, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_exit_group, 4, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_exit, 3, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, clock, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, day, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    struct sock_fprog filter = {static_cast<unsigned short>(sizeof program / sizeof program[0]), program};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

bool countInCopy(const std::function<void(TrappedCalls&)>& work, TrappedCalls& result, std::string& reason) {
    void* shared = mmap(nullptr, sizeof(TrappedCalls), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED) {
        reason = "no shared memory for the counting copy";
        return false;
    }
    auto* counts = new (shared) TrappedCalls;
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        work(*counts);
        syscall(SYS_exit_group, 0);
    }
    int status = 0;
    const bool waited = child > 0 && waitpid(child, &status, 0) == child;
    result.calls = counts->calls.load();
    result.firstNumber = counts->firstNumber.load();
    counts->~TrappedCalls();
    munmap(shared, sizeof(TrappedCalls));
    if (!waited) {
        reason = "the counting copy could not be started";
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        reason = WIFSIGNALED(status) ? "the counting copy died of signal " + std::to_string(WTERMSIG(status))
                                     : "the counting copy exited with status " + std::to_string(WEXITSTATUS(status));
        return false;
    }
    return true;
}

}  // namespace validate
