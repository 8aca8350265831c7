// The editor test host's requests, the same on both targets.
#include "tests/editor/editor_host.h"

#include <stdexcept>

namespace editortest {

void EditorHost::makeEffect(const PluginLibrary& library) {
    std::string error;
    hosted = HostedEffect::create(library, error, [this](const HostCall& call) { return answer(call); });
    if (!hosted) {
        throw std::runtime_error(error);
    }
}

void EditorHost::closeEffect() {
    if (hosted) {
        hosted->dispatch(effEditClose);
    }
    hosted.reset();
}

std::intptr_t EditorHost::open() {
    const std::intptr_t opened = hosted->dispatch(effEditOpen, 0, 0, parentHandle);
    pump();
    return opened;
}

void EditorHost::close() {
    hosted->dispatch(effEditClose);
    pump();
}

void EditorHost::idle() {
    hosted->dispatch(effEditIdle);
    pump();
}

}  // namespace editortest
