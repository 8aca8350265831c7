// The audio callback makes no allocation, takes no lock and makes no system call, for any block size.
// Linux only: it counts through the host library's interposed C library functions and runs under
// strict seccomp.
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "host/call_counts.h"
#include "tests/audio_thread_scenario.h"

using namespace testhost;

TEST(AudioThread, NoAllocationAndNoLock) {
    AudioThreadScenario scenario;
    callcounts::reset();
    callcounts::watch(true);
    scenario.processAll();
    callcounts::watch(false);
    EXPECT_EQ(callcounts::allocations(), 0);
    EXPECT_EQ(callcounts::locks(), 0);
}

TEST(AudioThread, NoSystemCall) {
    AudioThreadScenario scenario;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Strict seccomp allows only read, write and exit: any other system call kills the child.
        if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) {
            _exit(3);
        }
        scenario.processAll();
        syscall(SYS_exit, 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0)
                                   << ": the callback made a system call";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

// Hosts play automation by calling setParameter on their audio thread, often while another thread
// restores chunks (a project loading, an undo, a preset browser): the call must neither lock nor
// enter the kernel, however the two meet.
namespace {

constexpr int kParameterCalls = 200000;

// Gets the bank and sets it back, over and over, until told to stop.
void restoreChunks(HostedEffect& effect, const std::atomic<bool>& stop) {
    std::vector<char> bank(576);
    while (!stop.load()) {
        void* data = nullptr;
        if (effect.dispatch(effGetChunk, 0, 0, &data) == 576) {
            std::memcpy(bank.data(), data, bank.size());
            effect.dispatch(effSetChunk, 0, 576, bank.data());
        }
    }
}

void automate(HostedEffect& effect) {
    for (int call = 0; call < kParameterCalls; ++call) {
        effect.setParameter(call % 3, static_cast<float>(call % 100) / 100.0f);
    }
}

}  // namespace

TEST(AudioThread, SetParameterTakesNoLockWhileChunksAreRestored) {
    auto effect = makeEffect();
    std::atomic<bool> stop{false};
    std::thread restorer([&] { restoreChunks(*effect, stop); });
    callcounts::reset();
    callcounts::watch(true);
    automate(*effect);
    callcounts::watch(false);
    stop.store(true);
    restorer.join();
    EXPECT_EQ(callcounts::allocations(), 0);
    EXPECT_EQ(callcounts::locks(), 0);
}

TEST(AudioThread, SetParameterMakesNoSystemCallWhileChunksAreRestored) {
    auto effect = makeEffect();
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Strict seccomp kills only the automating thread: the restorer (this process's first thread,
        // free to wait and yield) watches it and tells how it ended.
        std::atomic<bool> stop{false};
        std::atomic<pid_t> automating{0};
        std::thread([&] {
            automating.store(static_cast<pid_t>(syscall(SYS_gettid)));
            if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_STRICT) != 0) {
                _exit(3);
            }
            automate(*effect);
            stop.store(true);
            syscall(SYS_exit, 0);
        }).detach();
        while (automating.load() == 0) {
        }
        std::vector<char> bank(576);
        for (;;) {
            if (stop.load()) {
                _exit(0);
            }
            if (syscall(SYS_tgkill, getpid(), automating.load(), 0) != 0 && !stop.load()) {
                _exit(4);
            }
            void* data = nullptr;
            if (effect->dispatch(effGetChunk, 0, 0, &data) == 576) {
                std::memcpy(bank.data(), data, bank.size());
                effect->dispatch(effSetChunk, 0, 576, bank.data());
            }
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "4: the thread calling setParameter made a system call";
}
