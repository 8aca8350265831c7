// An effect with a bank of programs that the host saves and restores as chunks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "plugin/audio_effect_x.h"
#include "plugin/text.h"

// Program must be a trivially copyable record with a zero-terminated `name` field.
// Threads: every operation runs on the thread of the host's request (normally the user-interface
// thread). The chunk handed out is the bank's own memory and changes with later parameter changes.
template <typename Program>
class EffectBase : public AudioEffectX {
public:
    EffectBase(audioMasterCallback host, std::int32_t programCount, std::int32_t parameterCount)
        : AudioEffectX(host, programCount, parameterCount),
          programs(new Program[static_cast<std::size_t>(programCount)]()) {
        programsAreChunks(true);
        for (std::int32_t n = 1; n <= numPrograms; ++n) {
            std::snprintf(programs[n - 1].name, sizeof programs[n - 1].name, "Init %d", n);
        }
    }

    void setProgramName(char* name) override {
        copyText(programs[curProgram].name, name, sizeof programs[curProgram].name);
    }

    void getProgramName(char* name) override {
        const Program& program = programs[curProgram];
        if (std::strcmp(program.name, kDefaultName) == 0) {
            std::snprintf(name, kProgramNameCapacity, "%s %d", kDefaultName, curProgram + 1);
        } else {
            copyText(name, program.name, sizeof program.name);
        }
    }

    std::int32_t getChunk(void** data, bool isPreset) override {
        if (isPreset) {
            *data = &programs[curProgram];
            return kProgramSize;
        }
        *data = programs.get();
        return bankSize();
    }

    std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset) override {
        if (isPreset) {
            if (byteSize != kProgramSize) {
                return 0;
            }
            std::memcpy(&programs[curProgram], data, sizeof(Program));
            terminateName(programs[curProgram]);
            return kProgramSize;
        }
        if (byteSize != bankSize()) {
            return 0;
        }
        std::memcpy(programs.get(), data, static_cast<std::size_t>(byteSize));
        for (std::int32_t i = 0; i < numPrograms; ++i) {
            terminateName(programs[i]);
        }
        return byteSize;
    }

    bool getProgramNameIndexed(std::int32_t /*category*/, std::int32_t index, char* text) override {
        if (index < 0 || index >= numPrograms) {
            return false;
        }
        copyText(text, programs[index].name, sizeof programs[index].name);
        return true;
    }

    bool getVendorString(char* text) override {
        copyText(text, "Korvane Audio", kIdentityTextCapacity);
        return true;
    }

protected:
    static constexpr const char* kDefaultName = "Init";
    static constexpr std::int32_t kProgramSize = static_cast<std::int32_t>(sizeof(Program));

    std::int32_t bankSize() const { return numPrograms * kProgramSize; }

    // A stored chunk may carry a name without its terminator; later reads must stay inside the field.
    static void terminateName(Program& program) { program.name[sizeof program.name - 1] = '\0'; }

    std::unique_ptr<Program[]> programs;
};
