// What an instance costs while its editor is closed: hosts keep hundreds of them in a project, so the
// editor's images are decoded only while an editor is open. Counted on the C library's heap.
#include <gtest/gtest.h>

#include <malloc.h>

#include <memory>
#include <vector>

#include "tests/test_host.h"

using namespace testhost;

namespace {

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace

TEST(InstanceCost, AHundredInstancesWithTheirEditorsClosedHoldLittleMemory) {
    constexpr std::size_t kInstances = 100;
    constexpr std::size_t kMostBytesEach = 100 * 1024;
    makeEffect();  // whatever the first instance of a process makes once
    const std::size_t before = heapInUse();
    std::vector<std::unique_ptr<HostedEffect>> effects;
    for (std::size_t n = 0; n < kInstances; ++n) {
        effects.push_back(makeEffect());
    }
    const std::size_t each = (heapInUse() - before) / kInstances;
    EXPECT_LE(each, kMostBytesEach) << each << " bytes per instance";
    RecordProperty("bytes_per_instance", static_cast<int>(each));
    std::printf("%zu bytes per instance\n", each);
}
