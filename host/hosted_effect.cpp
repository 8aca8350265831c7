// The host side of the record: calling its entries and answering the plug-in's callback calls.
#include "host/hosted_effect.h"

#include <cstring>

namespace {
// The instance whose entry-point call is in progress: the plug-in may call back before the host
// has the record in hand and can store itself in the record's user field.
thread_local HostedEffect* constructing = nullptr;

constexpr std::intptr_t kHostVersion = 2400;
constexpr std::size_t kTextBufferSize = 256;

bool passesText(std::int32_t opcode) {
    return opcode == audioMasterCanDo;
}
}  // namespace

std::intptr_t defaultHostAnswer(const HostCall& call) {
    return call.opcode == audioMasterVersion ? kHostVersion : 0;
}

std::unique_ptr<HostedEffect> HostedEffect::create(const PluginLibrary& library, std::string& error,
                                                   HostAnswer answer) {
    std::unique_ptr<HostedEffect> hosted(new HostedEffect(std::move(answer)));
    constructing = hosted.get();
    AEffect* effect = library.entry()(&HostedEffect::callback);
    constructing = nullptr;
    if (effect == nullptr) {
        error = "the plug-in's entry point returned no effect";
        return nullptr;
    }
    if (effect->magic != kEffectMagic) {
        error = "the plug-in's entry point returned a record without the plug-in magic number";
        return nullptr;
    }
    effect->user = hosted.get();
    hosted->effect = effect;
    return hosted;
}

HostedEffect::~HostedEffect() {
    close();
}

std::intptr_t HostedEffect::close() {
    if (effect == nullptr) {
        return 0;
    }
    std::intptr_t result = effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
    return result;
}

std::intptr_t HostedEffect::callback(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                     void* ptr, float opt) {
    HostCall call{opcode, index, value, opt, effect != nullptr, {}};
    if (ptr != nullptr && passesText(opcode)) {
        call.text = static_cast<const char*>(ptr);
    }
    HostedEffect* host = nullptr;
    if (effect != nullptr && effect->user != nullptr) {
        host = static_cast<HostedEffect*>(effect->user);
    } else {
        host = constructing;
    }
    return host != nullptr ? host->record(call) : defaultHostAnswer(call);
}

std::intptr_t HostedEffect::record(const HostCall& call) {
    {
        std::lock_guard<std::mutex> lock(callsLock);
        recorded.push_back(call);
    }
    return answer ? answer(call) : 0;
}

std::vector<HostCall> HostedEffect::calls() const {
    std::lock_guard<std::mutex> lock(callsLock);
    return recorded;
}

void HostedEffect::clearCalls() {
    std::lock_guard<std::mutex> lock(callsLock);
    recorded.clear();
}

std::intptr_t HostedEffect::dispatch(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                     float opt) {
    if (effect == nullptr) {
        return 0;
    }
    if (opcode == effClose) {
        return close();
    }
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void HostedEffect::setParameter(std::int32_t index, float value) {
    effect->setParameter(effect, index, value);
}

float HostedEffect::getParameter(std::int32_t index) {
    return effect->getParameter(effect, index);
}

void HostedEffect::processReplacing(float** inputs, float** outputs, std::int32_t frames) {
    effect->processReplacing(effect, inputs, outputs, frames);
}

void HostedEffect::setSampleRate(float rate) {
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}

void HostedEffect::setBlockSize(std::int32_t frames) {
    dispatch(effSetBlockSize, 0, frames);
}

void HostedEffect::resume() {
    dispatch(effMainsChanged, 0, 1);
}

void HostedEffect::suspend() {
    dispatch(effMainsChanged, 0, 0);
}

std::string HostedEffect::text(std::int32_t opcode, std::int32_t index) {
    char buffer[kTextBufferSize];
    std::memset(buffer, 0, sizeof buffer);
    dispatch(opcode, index, 0, buffer);
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}
