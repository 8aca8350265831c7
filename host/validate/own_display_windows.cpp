// Windows has no X errors and no connection a plug-in could lose: nothing to probe.
#include "host/validate/own_display.h"

namespace validate {

void installOwnErrorHandler() {}

ErrorProbe probeOwnErrorHandler() {
    return {false, false, "no X errors on Windows"};
}

std::string killEditorClient(const ParentWindow&) {
    return "Windows has no display connection of the plug-in's to cut";
}

}  // namespace validate
