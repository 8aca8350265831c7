// Checks that run in a worker process of their own, so that a crash or a hang fails the check and
// not the whole run: the parent's side, and the parts the worker runs.
#pragma once

#include <string>

#include "host/validate/validation.h"

namespace validate {

// Runs the named part in a worker and answers its verdict; a worker that crashes, hangs or exits
// without one fails, naming the stage it had reached.
Outcome runInWorker(Context& context, const char* part);

// Inside a worker: tells the parent which stage begins, for its line if the worker dies there.
void workerStage(const std::string& what);

// The parts. The worker loads the library for each (context.library) except unload, which loads and
// unloads it itself as what it checks.
Outcome constructThreadsPart(Context& context);
Outcome parameterLatencyPart(Context& context);
Outcome unloadPart(Context& context);
Outcome lostConnectionPart(Context& context);

}  // namespace validate
