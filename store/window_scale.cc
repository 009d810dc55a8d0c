#include "store/window_scale.h"

#include "store/stored_number.h"

namespace kelvo {

int FindScale(int baseWidth, int baseHeight, int availableWidth, double factor,
              int availableHeight) {
    constexpr int kLargest = 10000;
    int s = 100;
    while (s <= kLargest) {
        const bool widthFits =
            static_cast<double>(availableWidth) > static_cast<double>(baseWidth) * s / 1000.0;
        const bool heightFits =
            static_cast<double>(availableHeight) > static_cast<double>(baseHeight) * s / 1000.0;
        if (!widthFits || !heightFits) {
            break;
        }
        ++s;
    }
    // A window that fits at every scale leaves the loop with s = 10001: the largest scale.
    return static_cast<int>(RoundHalfEven((s - 1) * 10.0 * factor));
}

}  // namespace kelvo
