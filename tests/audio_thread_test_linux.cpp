// The audio callback makes no allocation, takes no lock and makes no system call, for any block size.
// Linux only: it counts through symbols interposed on the C library and runs under strict seccomp.
#include <dlfcn.h>
#include <linux/seccomp.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include "tests/audio_thread_scenario.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void __libc_free(void* pointer);
}

namespace {
std::atomic<bool> watching{false};
std::atomic<int> forbiddenCalls{0};
void note() {
    if (watching.load(std::memory_order_relaxed)) {
        forbiddenCalls.fetch_add(1, std::memory_order_relaxed);
    }
}
}  // namespace

// The plug-in library binds to these (the test executable exports them), so every allocation and
// every lock that it makes while watching is counted.
extern "C" {
void* malloc(std::size_t size) {
    note();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    note();
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, std::size_t size) {
    note();
    return __libc_realloc(pointer, size);
}
void free(void* pointer) {
    if (pointer != nullptr) {
        note();
    }
    __libc_free(pointer);
}
int pthread_mutex_lock(pthread_mutex_t* mutex) {
    note();
    using Lock = int (*)(pthread_mutex_t*);
    static Lock real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    return real(mutex);
}
}

using namespace testhost;

TEST(AudioThread, NoAllocationAndNoLock) {
    AudioThreadScenario scenario;
    forbiddenCalls = 0;
    watching = true;
    scenario.processAll();
    watching = false;
    EXPECT_EQ(forbiddenCalls.load(), 0);
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
