// The audio callback makes no allocation, takes no lock and makes no system call, for any block size.
// Linux only: it counts through the host library's interposed C library functions and runs under
// strict seccomp.
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

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
