// zelmor-host: loads the plug-in as a host does, to describe it, run audio files through it and measure it.
#include <cstdio>
#include <exception>

#include "host/cli/commands.h"

int main(int argc, char** argv) {
    try {
        Options options = parseOptions(argc, argv);
        if (options.command == "info") {
            return runInfo(options);
        }
        if (options.command == "process") {
            return runProcess(options);
        }
        if (options.command == "response") {
            return runResponse(options);
        }
        if (options.command == "generate") {
            return runGenerate(options);
        }
        if (options.command == "levels") {
            return runLevels(options);
        }
        if (options.command == "--help" || options.command == "help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        throw UsageError("unknown command '" + options.command + "'");
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zelmor-host: %s (see 'zelmor-host help')\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmor-host: %s\n", error.what());
        return 1;
    }
}
