// How often the system took the processor away from the calling thread, one implementation per
// platform: a timed call that lost it measured the machine's load, not the plug-in.
#pragma once

namespace validate {

// Involuntary context switches of the calling thread so far; 0 where the system does not tell.
long involuntarySwitches();

}  // namespace validate
