// Conformance helpers that only the subset needs: file lists come from the test driver.
#include "platform/testing/test_driver.h"
#include "tests/conformance/support.h"

namespace conformance {

HDROP makeFileList(const std::vector<std::string>& files) {
    return platform::testing::Driver::makeFileList(files);
}

void freeFileList(HDROP files) {
    platform::testing::Driver::freeFileList(files);
}

}  // namespace conformance
