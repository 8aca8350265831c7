// The audio-thread scenario that the platform-specific watchers observe: every mode, block sizes from
// 0 to 100 000 frames, separate and in-place buffers.
#pragma once

#include <memory>
#include <vector>

#include "tests/test_host.h"

namespace testhost {

struct AudioThreadScenario {
    static constexpr std::size_t kLongest = 100000;

    // One effect per mode, each already through its first callback so nothing lazy is left.
    AudioThreadScenario();
    // The watched part: only processReplacing calls.
    void processAll();

    std::vector<std::unique_ptr<HostedEffect>> effects;
    Stereo input{kLongest, 0.25f};
    Stereo output{kLongest};
};

}  // namespace testhost
