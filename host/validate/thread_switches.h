// How often the system took the processor away from the calling thread, one implementation per
// platform: a timed call that lost it measured the machine's load, not the plug-in.
#pragma once

namespace validate {

// Involuntary context switches of the calling thread so far; 0 where the system does not tell.
long involuntarySwitches();

// How many slow calls a timed run may have that involuntarySwitches could not put down to the system:
// none where it counts switches; a few where it does not, since a busy machine preempts any thread
// now and then, while a plug-in that waits for a lock is slow at every contended call.
long slowCallsTolerated();

// Whether slow calls beyond that prove the plug-in slow (a failure), or only may (a warning): where
// the system does not say when it took the processor away, a loaded machine looks like a plug-in
// that waits.
bool slowCallsConclusive();

}  // namespace validate
