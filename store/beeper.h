#pragma once

namespace kelvo {

/// The platform's default message beep. The desktop sounds it; the scripted platform records it.
class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void Beep() = 0;
};

}  // namespace kelvo
