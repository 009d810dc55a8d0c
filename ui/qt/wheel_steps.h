#pragma once

#include <vector>

namespace kelvo {

/// One notch of a mouse wheel, as the models count wheel messages.
inline constexpr int kWheelNotch = 120;

/// Turns a wheel turn of `angleDelta` eighths of a degree into whole wheel messages of +120
/// (away from the user) or -120 (towards the user). Fine-grained wheels and touch pads send
/// parts of a notch; `rest` keeps what is not yet a whole one between calls.
std::vector<int> TakeWheelSteps(int& rest, int angleDelta);

}  // namespace kelvo
