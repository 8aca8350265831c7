// Chunks: saved ones restore exactly, and chunks of any size and content never crash the plug-in.
#include <cstdio>
#include <cstring>
#include <sstream>

#include "host/validate/playback.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

constexpr int kLargestSize = 1200;

std::vector<unsigned char> takeChunk(HostedEffect& effect, bool program) {
    void* data = nullptr;
    const std::intptr_t size = effect.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) {
        return {};
    }
    // The plug-in may hand out its own memory, which changes with every later parameter change.
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

std::vector<float> values(HostedEffect& effect) {
    std::vector<float> read;
    for (std::int32_t p = 0; p < effect.record()->numParams; ++p) {
        read.push_back(effect.getParameter(p));
    }
    return read;
}

Outcome roundTrip(Context& context) {
    auto effect = makeEffect(context);
    const AEffect& record = *effect->record();
    if ((record.flags & effFlagsProgramChunks) == 0) {
        return skipped("the plug-in keeps no chunks (effFlagsProgramChunks is clear)");
    }
    Random random(context.seed ^ 0x6368756E6Bull);
    std::string figures;
    for (bool program : {true, false}) {
        const char* kind = program ? "program" : "bank";
        for (std::int32_t p = 0; p < record.numParams; ++p) {
            effect->setParameter(p, static_cast<float>(random.uniform()));
        }
        const std::vector<float> saved = values(*effect);
        const std::vector<unsigned char> chunk = takeChunk(*effect, program);
        if (chunk.empty()) {
            return failed(std::string("effGetChunk gave no ") + kind + " chunk");
        }
        for (std::int32_t p = 0; p < record.numParams; ++p) {
            effect->setParameter(p, static_cast<float>(random.uniform()));
        }
        std::vector<unsigned char> copy = chunk;
        const std::intptr_t accepted =
            effect->dispatch(effSetChunk, program ? 1 : 0, static_cast<std::intptr_t>(copy.size()), copy.data());
        // Hosts restore projects with the chunk alone: its values must apply without a program change.
        const std::vector<unsigned char> again = takeChunk(*effect, program);
        const std::vector<float> restored = values(*effect);
        figures +=
            (figures.empty() ? "" : ", ") + std::string(kind) + " chunk " + std::to_string(chunk.size()) + " bytes";
        if (again != chunk) {
            return failed(figures + " (effSetChunk answered " + std::to_string(accepted) +
                          "), but getting it again gave different bytes");
        }
        if (std::memcmp(saved.data(), restored.data(), saved.size() * sizeof(float)) != 0) {
            return failed(figures + " restored the same bytes but not the same parameter values");
        }
    }
    return passed(figures + ": both restore byte for byte, with the same parameter values");
}

// Every size from 0 up, in worker processes: when one dies, the next starts after the size it died at.
Outcome chunkSizes(Context& context) {
    auto probe = makeEffect(context);
    if ((probe->record()->flags & effFlagsProgramChunks) == 0) {
        return skipped("the plug-in keeps no chunks (effFlagsProgramChunks is clear)");
    }
    probe.reset();
    int crashes = 0;
    int hangs = 0;
    int workers = 0;
    std::string crashedAt;
    for (bool bank : {true, false}) {
        int first = 0;
        while (first <= kLargestSize) {
            ++workers;
            WorkerRun run =
                context.runWorker({"validate-chunk-worker", context.pluginPath, bank ? "bank" : "program",
                                   std::to_string(first), std::to_string(kLargestSize), std::to_string(context.seed)});
            int lastDone = first - 1;
            bool finished = false;
            std::istringstream lines(run.output);
            std::string word;
            while (lines >> word) {
                if (word == "ok") {
                    lines >> lastDone;
                } else if (word == "done") {
                    finished = true;
                }
            }
            if (finished && run.exited && run.status == 0) {
                break;
            }
            if (!run.started) {
                return failed("the worker process could not be started: " + run.output);
            }
            // A hung worker was stopped at the size it was setting; the next starts after it.
            ++(run.timedOut ? hangs : crashes);
            const int size = lastDone + 1;
            if (crashedAt.size() < 120) {
                crashedAt += (crashedAt.empty() ? "" : ", ") + std::string(bank ? "bank " : "program ") +
                             std::to_string(size) + (run.timedOut ? " hung" : "");
            }
            first = size + 1;
        }
    }
    std::string figures = "sizes 0 to " + std::to_string(kLargestSize) + " as bank and program chunks with random " +
                          "content, " + std::to_string(workers) + " worker processes: " + std::to_string(crashes) +
                          " crashes";
    if (hangs > 0) {
        char limit[48];
        std::snprintf(limit, sizeof limit, " hangs (each stopped after %g s)", context.workerSeconds);
        figures += ", " + std::to_string(hangs) + limit;
    }
    if (crashes > 0 || hangs > 0) {
        return failed(figures + " (at " + crashedAt + ")");
    }
    return passed(figures);
}

}  // namespace

int runChunkWorker(const std::string& pluginPath, bool bank, int first, int last, std::uint64_t seed) {
    std::string error;
    auto library = PluginLibrary::open(pluginPath, error);
    if (!library) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    Context context;
    context.library = library.get();
    auto effect = makeEffect(context, 44100.0, 64);
    Channels inputs = inputsFor(*effect->record(), 64);
    Channels outputs = outputsFor(*effect->record(), 64);
    for (int size = first; size <= last; ++size) {
        // Each size's content depends only on the seed and the size, whichever worker sets it.
        Random random(seed ^ (static_cast<std::uint64_t>(size) << 20) ^ (bank ? 0xB000000000ull : 0));
        std::vector<unsigned char> data(static_cast<std::size_t>(size) + 1);
        for (unsigned char& byte : data) {
            byte = random.byte();
        }
        effect->dispatch(effSetChunk, bank ? 0 : 1, size, data.data());
        effect->dispatch(effSetProgram, 0, 0);
        for (int b = 0; b < 4; ++b) {
            inputs.fillNoise(random, kNoisePeak);
            effect->processReplacing(inputs.pointers(), outputs.pointers(), 64);
        }
        std::printf("ok %d\n", size);
        std::fflush(stdout);
    }
    std::printf("done\n");
    std::fflush(stdout);
    return 0;
}

std::vector<Check> chunkChecks() {
    return {{"chunk-round-trip", roundTrip}, {"chunk-sizes", chunkSizes}};
}

}  // namespace validate
