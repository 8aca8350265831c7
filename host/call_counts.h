// Counts of the allocations and mutex locks a thread makes while it watches: for checking that an
// audio callback makes none. Linux only, and only in a process that exports the interposed functions.
#pragma once

namespace callcounts {

// Starts or stops counting the calling thread's calls; other threads' calls are never counted.
void watch(bool on);
void reset();
long allocations();  // allocations and frees
long locks();        // pthread_mutex_lock calls

}  // namespace callcounts
