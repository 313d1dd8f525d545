// The time the receive and send sessions run on: a real clock for the program, a fake one for
// tests, so that no session ever waits itself.
#pragma once

#include <chrono>

namespace korvel::midi {

using Instant = std::chrono::steady_clock::time_point;
using Duration = std::chrono::steady_clock::duration;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual Instant Now() = 0;
};

class SteadyClock : public Clock {
  public:
    Instant Now() override { return std::chrono::steady_clock::now(); }
};

}  // namespace korvel::midi
