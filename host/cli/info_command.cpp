// zelmor-host info: what the plug-in tells a host about itself.
#include <cstdio>
#include <string>

#include "editor/aeff_editor.h"
#include "host/cli/commands.h"
#include "host/cli/effect_session.h"

namespace {

std::string flagNames(std::int32_t flags) {
    const std::pair<std::int32_t, const char*> names[] = {
        {effFlagsHasEditor, "editor"}, {effFlagsHasClip, "clip"},           {effFlagsHasVu, "vu"},
        {effFlagsCanMono, "mono"},     {effFlagsCanReplacing, "replacing"}, {effFlagsProgramChunks, "program chunks"},
        {effFlagsIsSynth, "synth"},    {effFlagsNoSoundInStop, "no tail"},  {effFlagsCanDoubleReplacing, "double"},
    };
    std::string text;
    for (const auto& [flag, name] : names) {
        if ((flags & flag) != 0) {
            text += text.empty() ? name : std::string(", ") + name;
        }
    }
    return text;
}

std::string fourCharacterText(std::int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((static_cast<std::uint32_t>(id) >> shift) & 0xFF);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

}  // namespace

int runInfo(const Options& options) {
    if (options.paths.size() != 1) {
        throw UsageError("info needs exactly one argument: PLUGIN");
    }
    EffectSession session(options.paths[0]);
    auto effect = session.makeEffect({}, 44100.0, 512);
    const AEffect* record = effect->record();
    std::printf("Name:        %s\n", effect->text(effGetEffectName).c_str());
    std::printf("Vendor:      %s\n", effect->text(effGetVendorString).c_str());
    std::printf("Product:     %s\n", effect->text(effGetProductString).c_str());
    std::printf("Version:     %ld (record version %d, interface %ld)\n",
                static_cast<long>(effect->dispatch(effGetVendorVersion)), record->version,
                static_cast<long>(effect->dispatch(effGetVstVersion)));
    std::printf("Unique ID:   0x%08X '%s'\n", static_cast<unsigned>(record->uniqueID),
                fourCharacterText(record->uniqueID).c_str());
    std::printf("Category:    %ld\n", static_cast<long>(effect->dispatch(effGetPlugCategory)));
    std::printf("Flags:       0x%X (%s)\n", static_cast<unsigned>(record->flags), flagNames(record->flags).c_str());
    ERect* editorRect = nullptr;
    if ((record->flags & effFlagsHasEditor) != 0 && effect->dispatch(effEditGetRect, 0, 0, &editorRect) != 0 &&
        editorRect != nullptr) {
        std::printf("Editor:      %d x %d pixels\n", editorRect->right - editorRect->left,
                    editorRect->bottom - editorRect->top);
    }
    std::printf("Inputs:      %d\nOutputs:     %d\n", record->numInputs, record->numOutputs);
    std::printf("Parameters:  %d\n", record->numParams);
    for (std::int32_t i = 0; i < record->numParams; ++i) {
        std::printf("  %d  %-24s %-10s label '%s'  value %g\n", i, effect->text(effGetParamName, i).c_str(),
                    effect->text(effGetParamDisplay, i).c_str(), effect->text(effGetParamLabel, i).c_str(),
                    static_cast<double>(effect->getParameter(i)));
    }
    std::printf("Programs:    %d\n", record->numPrograms);
    for (std::int32_t i = 0; i < record->numPrograms; ++i) {
        char name[256] = {};
        effect->dispatch(effGetProgramNameIndexed, i, 0, name);
        std::printf("  %2d  %s\n", i + 1, name);
    }
    return 0;
}
