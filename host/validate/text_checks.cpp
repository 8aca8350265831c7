// Identification, parameter and program texts stay inside the buffer sizes the interface documents.
#include <algorithm>
#include <vector>

#include "host/validate/text_probe.h"
#include "host/validate/validation.h"

namespace validate {
namespace {

Outcome textsWithinSize(Context& context) {
    auto effect = makeEffect(context);
    const AEffect* record = effect->record();
    int asked = 0;
    int longest = 0;
    int beyondDocumented = 0;
    std::vector<std::string> misfits;
    auto ask = [&](const char* request, std::int32_t opcode, std::int32_t index, std::intptr_t value, int capacity) {
        TextAnswer answer = askText(*effect, opcode, index, value, capacity);
        ++asked;
        longest = std::max(longest, static_cast<int>(answer.text.size()));
        if (capacity == kHostParameterTextBuffer && static_cast<int>(answer.text.size()) >= kParameterTextCapacity) {
            ++beyondDocumented;
        }
        if (!answer.fits()) {
            misfits.push_back(describeMisfit(request, index, answer, capacity));
        }
        return answer;
    };
    ask("effGetEffectName", effGetEffectName, 0, 0, kEffectNameCapacity);
    ask("effGetVendorString", effGetVendorString, 0, 0, kVendorTextCapacity);
    ask("effGetProductString", effGetProductString, 0, 0, kVendorTextCapacity);
    for (std::int32_t p = 0; p < record->numParams; ++p) {
        ask("effGetParamName", effGetParamName, p, 0, kHostParameterTextBuffer);
        ask("effGetParamLabel", effGetParamLabel, p, 0, kHostParameterTextBuffer);
        ask("effGetParamDisplay", effGetParamDisplay, p, 0, kHostParameterTextBuffer);
    }
    const std::intptr_t current = effect->dispatch(effGetProgram);
    for (std::int32_t program = 0; program < record->numPrograms; ++program) {
        effect->dispatch(effSetProgram, 0, program);
        ask("effGetProgramName", effGetProgramName, program, 0, kProgramNameCapacity);
        // Displays change with the program's values.
        for (std::int32_t p = 0; p < record->numParams; ++p) {
            ask("effGetParamDisplay", effGetParamDisplay, p, 0, kHostParameterTextBuffer);
        }
    }
    effect->dispatch(effSetProgram, 0, current);
    for (std::int32_t index = -1; index <= record->numPrograms; ++index) {
        TextAnswer answer = ask("effGetProgramNameIndexed", effGetProgramNameIndexed, index, 0, kProgramNameCapacity);
        const bool inRange = index >= 0 && index < record->numPrograms;
        if (!inRange && answer.result != 0) {
            misfits.push_back("effGetProgramNameIndexed(" + std::to_string(index) + ") answered " +
                              std::to_string(answer.result) + " for a program that does not exist");
        }
    }
    std::string figures = std::to_string(asked) + " texts asked, longest " + std::to_string(longest) + " characters, " +
                          std::to_string(beyondDocumented) + " parameter texts longer than " +
                          std::to_string(kParameterTextCapacity - 1) + " characters";
    if (!misfits.empty()) {
        std::string list;
        for (std::size_t i = 0; i < misfits.size() && i < 4; ++i) {
            list += (i == 0 ? "" : "; ") + misfits[i];
        }
        if (misfits.size() > 4) {
            list += "; and " + std::to_string(misfits.size() - 4) + " more";
        }
        return failed(figures + ", " + std::to_string(misfits.size()) + " misfits: " + list);
    }
    return passed(figures + ", all inside their buffers and terminated");
}

}  // namespace

std::vector<Check> textChecks() {
    return {{"texts", textsWithinSize}};
}

}  // namespace validate
