#pragma once

#include <QElapsedTimer>

namespace kelvo {

/// Lets pending window events through from inside a long loop of the GUI thread (the
/// consultation's Ausst, deriving, printing). Qt hands out no single events, so a pump serves
/// everything pending; it does so at most every few milliseconds, which keeps a loop
/// that pumps before each of a million rules fast while a click is still served at once.
class EventPump {
  public:
    static constexpr int kDefaultInterval = 2;

    explicit EventPump(int intervalMilliseconds = kDefaultInterval)
        : interval_(intervalMilliseconds) {}

    /// Serves the pending events the first time and whenever the interval has passed since
    /// the last time.
    void Pump();

  private:
    int interval_;
    QElapsedTimer last_;
};

}  // namespace kelvo
