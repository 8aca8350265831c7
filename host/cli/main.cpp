// zelmor-host: loads a plug-in as a host does, to describe it, run audio through it, measure it, open its editor,
// validate it.
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>

#include "host/cli/commands.h"
#include "zelmor_version.h"

namespace {
volatile std::sig_atomic_t interruption = 0;
void noteInterruption(int /*signal*/) {
    interruption = 1;
}
constexpr int kInterruptedStatus = 130;

// Errors are one line on standard error, also when a library's message (libsndfile quotes the
// system's on Windows) ends in or contains line breaks.
std::string oneLine(const char* message) {
    std::string line;
    bool pendingSpace = false;
    for (const char* c = message; *c != '\0'; ++c) {
        if (*c == '\n' || *c == '\r' || *c == '\t' || *c == ' ') {
            pendingSpace = !line.empty();
            continue;
        }
        if (pendingSpace) {
            line += ' ';
            pendingSpace = false;
        }
        line += *c;
    }
    return line;
}
}  // namespace

void checkInterrupted() {
    if (interruption != 0) {
        throw Interrupted();
    }
}

int main(int argc, char** argv) {
    // Long commands stop at the next block and remove their partial output instead of leaving it.
    std::signal(SIGINT, noteInterruption);
    std::signal(SIGTERM, noteInterruption);
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
        if (options.command == "edit") {
            return runEdit(options);
        }
        if (options.command == "validate") {
            return runValidate(options);
        }
        if (options.command == "validate-chunk-worker") {
            return runChunkWorker(options);
        }
        if (options.command == "validate-worker") {
            return runCheckWorker(options);
        }
        if (options.command == "--version" || options.command == "version") {
            // The host ships with the plug-in: one version names them both.
            std::printf("zelmor-host %s (Korvane - Zelmor by Korvane Audio)\n", ZELMOR_VERSION_TEXT);
            return 0;
        }
        if (options.command == "--help" || options.command == "help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        throw UsageError("unknown command '" + options.command + "'");
    } catch (const Interrupted& error) {
        std::fprintf(stderr, "zelmor-host: %s\n", oneLine(error.what()).c_str());
        return kInterruptedStatus;
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zelmor-host: %s (see 'zelmor-host help')\n", oneLine(error.what()).c_str());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmor-host: %s\n", oneLine(error.what()).c_str());
        return 1;
    }
}
