// The library's entry point: exported under its names, refusing a host without a version, and its record.
#include <cstdio>

#include "host/validate/validation.h"

namespace validate {
namespace {

std::intptr_t versionlessHost(AEffect*, std::int32_t, std::int32_t, std::intptr_t, void*, float) {
    return 0;
}

std::intptr_t currentHost(AEffect*, std::int32_t opcode, std::int32_t, std::intptr_t, void*, float) {
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

Outcome exportsAndEntry(Context& context) {
    const bool named = context.library->symbol("VSTPluginMain") != nullptr;
    const bool legacy = context.library->symbol("main") != nullptr;
    std::string figures = std::string("VSTPluginMain ") + (named ? "exported" : "missing") + ", main " +
                          (legacy ? "exported" : "missing");
    if (!named && !legacy) {
        return failed(figures + "; neither entry point is exported");
    }
    AEffect* refused = context.library->entry()(&versionlessHost);
    if (refused != nullptr) {
        refused->dispatcher(refused, effClose, 0, 0, nullptr, 0.0f);
        return failed(figures + "; a host answering version 0 still got a record");
    }
    AEffect* effect = context.library->entry()(&currentHost);
    if (effect == nullptr) {
        return failed(figures + "; a host answering version 2400 got no record");
    }
    const std::int32_t magic = effect->magic;
    char line[160];
    std::snprintf(line, sizeof line,
                  "; version 0 gives no record; version 2400 gives magic 0x%08X, %d in, %d out, "
                  "%d parameters, %d programs, flags 0x%X",
                  static_cast<unsigned>(magic), effect->numInputs, effect->numOutputs, effect->numParams,
                  effect->numPrograms, static_cast<unsigned>(effect->flags));
    const bool sane = effect->numInputs >= 0 && effect->numOutputs >= 0 && effect->numParams >= 0 &&
                      effect->numPrograms >= 0 && effect->processReplacing != nullptr;
    if (magic == kEffectMagic) {
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
    if (magic != kEffectMagic) {
        return failed(figures + line + "; the magic should be 0x56737450");
    }
    if (!sane) {
        return failed(figures + line + "; negative counts or no processReplacing entry");
    }
    return passed(figures + line);
}

}  // namespace

std::vector<Check> entryChecks() {
    return {{"exports-and-entry", exportsAndEntry}};
}

}  // namespace validate
