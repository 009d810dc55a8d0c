#pragma once

#include <QElapsedTimer>

#include "platform/clock.h"
#include "store/beeper.h"

namespace kelvo {

/// The local clock (QDateTime), a monotonic millisecond tick and the desktop's beep.
class QtClock final : public Clock, public Beeper {
  public:
    QtClock();

    LocalDateTime Now() override;
    /// Milliseconds since this clock was made, on the monotonic clock.
    std::uint32_t TickCount() override;
    /// Blocks the thread; no window event is handled meanwhile.
    void Sleep(std::uint32_t milliseconds) override;
    void Beep() override;

  private:
    QElapsedTimer started_;
};

}  // namespace kelvo
