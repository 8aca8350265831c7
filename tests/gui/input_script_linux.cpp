// The input script over the subset's test driver, which steps gestures and runs a virtual clock itself.
#include <memory>

#include "platform/testing/test_driver.h"
#include "tests/conformance/support.h"
#include "tests/gui/input_script.h"

namespace guitest {
namespace {

std::unique_ptr<platform::testing::Driver> driver;

platform::GestureStep toDriver(const Step& step) {
    platform::GestureStep converted;
    converted.cursor = step.at;
    converted.left = step.left;
    converted.shift = step.shift;
    converted.control = step.control;
    return converted;
}

}  // namespace

InputScript::InputScript() {
    driver = std::make_unique<platform::testing::Driver>();
}

InputScript::~InputScript() {
    releaseAll();
    driver.reset();
}

void InputScript::prepare(HWND /*host*/) {}

void InputScript::play(const std::vector<Step>& steps) {
    std::vector<platform::GestureStep> converted;
    for (const Step& step : steps) {
        converted.push_back(toDriver(step));
    }
    driver->gesture(converted);
    conformance::pumpMessages();
    releaseAll();
}

void InputScript::stepFromLoop() {}

void InputScript::click(POINT screen) {
    driver->click(screen);
    conformance::pumpMessages();
    releaseAll();
}

void InputScript::setModifiers(bool shift, bool control) {
    driver->setModifiers(shift, control, false);
}

void InputScript::moveTo(POINT screen) {
    driver->setCursor(screen);
}

void InputScript::turnWheel(HWND /*window*/, POINT screen, int notches) {
    driver->turnWheel(screen, notches);
    conformance::pumpMessages();
}

void InputScript::typeText(const std::string& text) {
    driver->typeText(text);
    conformance::pumpMessages();
}

void InputScript::pressKey(int virtualKey) {
    driver->pressKey(virtualKey);
    conformance::pumpMessages();
}

bool InputScript::advanceTime(DWORD milliseconds) {
    driver->advance(milliseconds);
    return true;
}

void InputScript::lengthenDoubleClicks(UINT /*milliseconds*/) {}

void InputScript::releaseAll() {
    if (!driver) {
        return;
    }
    driver->holdButtons(false, false, false);
    driver->setModifiers(false, false, false);
}

void InputScript::apply(const Step& /*step*/) {}

}  // namespace guitest
