#include "store/delay.h"

namespace kelvo {

void Delay(TickSource& ticks, std::uint32_t milliseconds) {
    const std::uint32_t start = ticks.TickCount();
    for (;;) {
        const std::uint32_t elapsed = ticks.TickCount() - start;  // wrap-around safe
        if (elapsed > milliseconds) {
            return;
        }
        ticks.Sleep(milliseconds - elapsed + 1);
    }
}

}  // namespace kelvo
