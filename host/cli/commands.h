// The commands of zelmor-host. Each returns the process exit status and throws on failure.
#pragma once

#include "host/cli/options.h"

int runInfo(const Options& options);
int runProcess(const Options& options);
int runResponse(const Options& options);
int runGenerate(const Options& options);
int runLevels(const Options& options);
int runEdit(const Options& options);
int runValidate(const Options& options);
// The validator's workers, run by the validator itself in a child process; not in the usage text.
int runChunkWorker(const Options& options);
int runCheckWorker(const Options& options);
