#pragma once

#include <cstdint>

namespace kelvo {

/// The system tick counter in milliseconds, and a way to pass time on it.
class TickSource {
  public:
    virtual ~TickSource() = default;
    /// Milliseconds since an arbitrary start; wraps around like a 32-bit counter.
    virtual std::uint32_t TickCount() = 0;
    /// Lets about `milliseconds` pass without handling any window event.
    virtual void Sleep(std::uint32_t milliseconds) = 0;
};

/// Waits, handling no window events, until more than `milliseconds` have passed on the tick
/// counter.
void Delay(TickSource& ticks, std::uint32_t milliseconds);

}  // namespace kelvo
