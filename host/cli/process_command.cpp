// zelmor-host process: runs an audio file through the plug-in, keeping the file's format.
#include <cstdio>
#include <vector>

#include "host/cli/audio_file.h"
#include "host/cli/commands.h"
#include "host/cli/effect_session.h"
#include "host/cli/system.h"

namespace {

// Shows the share done on a terminal, for files long enough for it to matter.
class Progress {
public:
    Progress(const std::string& what, std::int64_t frames, int sampleRate)
        : label(what), total(frames), shown(standardErrorIsTerminal() && frames > 10LL * sampleRate) {}
    void update(std::int64_t done) {
        if (!shown || total <= 0) {
            return;
        }
        int percent = static_cast<int>(done * 100 / total);
        if (percent != last) {
            last = percent;
            std::fprintf(stderr, "\r%s: %3d%%", label.c_str(), percent);
            std::fflush(stderr);
        }
    }
    ~Progress() {
        if (shown && last >= 0) {
            std::fprintf(stderr, "\n");
        }
    }

private:
    std::string label;
    std::int64_t total;
    bool shown;
    int last = -1;
};

}  // namespace

int runProcess(const Options& options) {
    if (options.paths.size() != 3) {
        throw UsageError("process needs three arguments: PLUGIN IN OUT");
    }
    EffectSession session(options.paths[0]);
    AudioReader reader(options.paths[1]);
    auto effect = session.makeEffect(options.settings, reader.sampleRate(), options.blockFrames);
    AudioWriter writer(options.paths[2], reader.format(), reader.channels(), reader.sampleRate());

    const auto block = static_cast<std::size_t>(options.blockFrames);
    const auto channels = static_cast<std::size_t>(reader.channels());
    std::vector<float> interleaved;
    std::vector<float> inLeft(block), inRight(block), outLeft(block), outRight(block);
    Progress progress("processing " + options.paths[1], reader.frames(), reader.sampleRate());
    std::int64_t done = 0;
    while (std::int64_t got = reader.read(interleaved, options.blockFrames)) {
        checkInterrupted();
        const auto frames = static_cast<std::size_t>(got);
        for (std::size_t n = 0; n < frames; ++n) {
            inLeft[n] = interleaved[n * channels];
            inRight[n] = interleaved[n * channels + channels - 1];  // a mono file feeds both inputs
        }
        float* inputs[2] = {inLeft.data(), inRight.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        effect->processReplacing(inputs, outputs, static_cast<std::int32_t>(got));
        for (std::size_t n = 0; n < frames; ++n) {
            interleaved[n * channels] = outLeft[n];
            if (channels == 2) {
                interleaved[n * channels + 1] = outRight[n];
            }
        }
        writer.write(interleaved, got);
        done += got;
        progress.update(done);
    }
    writer.commit();
    return 0;
}
