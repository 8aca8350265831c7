// One effect instance driven through its record, with a host callback that records every call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/plugin_library.h"

// One call that the plug-in made to the host. text holds ptr's text for the calls that pass one.
struct HostCall {
    std::int32_t opcode;
    std::int32_t index;
    std::intptr_t value;
    float opt;
    bool withRecord;  // false for calls made with a null record (the version query)
    std::string text;
};

// How the host answers; the default answers the version query with 2400 and everything else with 0.
using HostAnswer = std::function<std::intptr_t(const HostCall&)>;
std::intptr_t defaultHostAnswer(const HostCall& call);

class HostedEffect {
public:
    // Calls the entry point; null with a one-line reason in error when it yields no usable record.
    static std::unique_ptr<HostedEffect> create(const PluginLibrary& library, std::string& error,
                                                HostAnswer answer = defaultHostAnswer);
    ~HostedEffect();  // sends effClose
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    AEffect* record() const { return effect; }

    std::intptr_t dispatch(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0, void* ptr = nullptr,
                           float opt = 0.0f);
    void setParameter(std::int32_t index, float value);
    float getParameter(std::int32_t index);
    void processReplacing(float** inputs, float** outputs, std::int32_t frames);
    void setSampleRate(float rate);
    void setBlockSize(std::int32_t frames);
    void resume();
    void suspend();
    std::string text(std::int32_t opcode, std::int32_t index = 0);  // a text request's answer

    // Every callback call so far, and forgetting them.
    std::vector<HostCall> calls() const;
    void clearCalls();

    // Closes the effect now (as the host's effClose); later calls on this object do nothing.
    std::intptr_t close();

    // The host callback given to every effect made by create().
    static std::intptr_t callback(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                  void* ptr, float opt);

private:
    explicit HostedEffect(HostAnswer hostAnswer) : answer(std::move(hostAnswer)) {}
    std::intptr_t record(const HostCall& call);

    AEffect* effect = nullptr;
    HostAnswer answer;
    mutable std::mutex callsLock;
    std::vector<HostCall> recorded;
};
