// Text requests into canary-guarded buffers.
#include "host/validate/text_probe.h"

#include <cstring>
#include <vector>

namespace validate {

namespace {
constexpr int kCanaryBytes = 256;
constexpr unsigned char kCanary = 0xCD;
}  // namespace

TextAnswer askText(HostedEffect& effect, std::int32_t opcode, std::int32_t index, std::intptr_t value, int capacity) {
    std::vector<unsigned char> buffer(static_cast<std::size_t>(capacity + kCanaryBytes), kCanary);
    std::memset(buffer.data(), 0, static_cast<std::size_t>(capacity));
    TextAnswer answer;
    answer.result = effect.dispatch(opcode, index, value, buffer.data());
    const void* end = std::memchr(buffer.data(), 0, static_cast<std::size_t>(capacity));
    answer.terminated = end != nullptr;
    const std::size_t length = end != nullptr
                                   ? static_cast<std::size_t>(static_cast<const unsigned char*>(end) - buffer.data())
                                   : static_cast<std::size_t>(capacity);
    answer.text.assign(reinterpret_cast<const char*>(buffer.data()), length);
    // The furthest changed canary byte tells how far the plug-in wrote.
    for (int i = kCanaryBytes - 1; i >= 0; --i) {
        if (buffer[static_cast<std::size_t>(capacity + i)] != kCanary) {
            answer.overrun = i + 1;
            break;
        }
    }
    return answer;
}

std::string describeMisfit(const char* request, std::int32_t index, const TextAnswer& answer, int capacity) {
    std::string line = std::string(request) + "(" + std::to_string(index) + ")";
    if (answer.overrun > 0) {
        line +=
            " wrote " + std::to_string(answer.overrun) + " bytes past its " + std::to_string(capacity) + "-byte buffer";
    } else {
        line += " left its " + std::to_string(capacity) + "-byte buffer unterminated";
    }
    return line;
}

}  // namespace validate
