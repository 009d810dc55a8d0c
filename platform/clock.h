#pragma once

#include "store/delay.h"

namespace kelvo {

/// A local calendar date and time of day.
struct LocalDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

/// The system clock: local date and time, and the millisecond tick counter.
class Clock : public TickSource {
  public:
    virtual LocalDateTime Now() = 0;
};

}  // namespace kelvo
