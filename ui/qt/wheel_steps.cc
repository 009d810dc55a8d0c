#include "ui/qt/wheel_steps.h"

namespace kelvo {

std::vector<int> TakeWheelSteps(int& rest, int angleDelta) {
    if ((rest > 0 && angleDelta < 0) || (rest < 0 && angleDelta > 0)) {
        rest = 0;  // the wheel turned back: what was left of the other direction is dropped
    }
    rest += angleDelta;
    std::vector<int> steps;
    while (rest >= kWheelNotch) {
        steps.push_back(kWheelNotch);
        rest -= kWheelNotch;
    }
    while (rest <= -kWheelNotch) {
        steps.push_back(-kWheelNotch);
        rest += kWheelNotch;
    }
    return steps;
}

}  // namespace kelvo
