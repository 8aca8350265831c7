// The headless presenter: windows exist only as surfaces in memory, which tests read as pixels.
#include "platform/present/presenter.h"

namespace platform {
namespace {

class HeadlessPresenter final : public Presenter {
public:
    void windowShown(HWND, HWND, const RECT&, const SurfacePixels&) override {}
    void present(HWND, const SurfacePixels&, const RECT&) override {}
    void windowDestroyed(HWND) override {}
};

HeadlessPresenter headless;
Presenter* current = &headless;

}  // namespace

Presenter& presenter() {
    return *current;
}

void setPresenter(Presenter* replacement) {
    current = replacement != nullptr ? replacement : &headless;
}

}  // namespace platform
