// Interposes the C library's allocator and pthread_mutex_lock: an executable that links this and
// exports its symbols (ENABLE_EXPORTS) sees every call a loaded plug-in makes, and counts the watching
// thread's. Each interposer has default visibility: the project builds everything hidden, and a
// hidden definition is not exported, so the plug-in's calls would bind to the C library instead.
#include "host/call_counts.h"

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void __libc_free(void* pointer);
}

namespace {
thread_local bool watching = false;
std::atomic<long> allocationCount{0};
std::atomic<long> lockCount{0};

void noteAllocation() {
    if (watching) {
        allocationCount.fetch_add(1, std::memory_order_relaxed);
    }
}
}  // namespace

namespace callcounts {
void watch(bool on) {
    watching = on;
}
void reset() {
    allocationCount = 0;
    lockCount = 0;
}
long allocations() {
    return allocationCount.load();
}
long locks() {
    return lockCount.load();
}
}  // namespace callcounts

#define ZELMOR_INTERPOSED __attribute__((visibility("default")))

extern "C" {
ZELMOR_INTERPOSED void* malloc(std::size_t size) {
    noteAllocation();
    return __libc_malloc(size);
}
ZELMOR_INTERPOSED void* calloc(std::size_t count, std::size_t size) {
    noteAllocation();
    return __libc_calloc(count, size);
}
ZELMOR_INTERPOSED void* realloc(void* pointer, std::size_t size) {
    noteAllocation();
    return __libc_realloc(pointer, size);
}
ZELMOR_INTERPOSED void free(void* pointer) {
    if (pointer != nullptr) {
        noteAllocation();
    }
    __libc_free(pointer);
}
ZELMOR_INTERPOSED int pthread_mutex_lock(pthread_mutex_t* mutex) {
    if (watching) {
        lockCount.fetch_add(1, std::memory_order_relaxed);
    }
    using Lock = int (*)(pthread_mutex_t*);
    static Lock real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    return real(mutex);
}
}
