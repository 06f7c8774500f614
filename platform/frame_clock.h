#pragma once

#include <chrono>

// The steady frame pace: every frame ends by sleeping to a deadline that advances by one
// frame period, so the long-run rate is exact whatever the drawing costs and whether or not
// buffer swaps wait for the display.

using FrameTime = std::chrono::steady_clock::time_point;
using FrameDuration = std::chrono::steady_clock::duration;

// The frame period at pace level L (0 to 10): 1/30 s + L x L x 1/600 s, that is 30 frames
// per second at level 0, slowing with the square of the level to 5 frames per second at 10.
inline constexpr auto framePeriod = [](int level) {
    return std::chrono::round<FrameDuration>(
        std::chrono::duration<double>(1.0 / 30.0 + level * level * (1.0 / 600.0)));
};

// Where the clock reads the time and sleeps: the steady clock in the game, a fake in tests.
class TimeSource {
  public:
    virtual ~TimeSource() = default;
    virtual FrameTime now() = 0;
    virtual void sleepUntil(FrameTime deadline) = 0;
};

class SteadyTimeSource final : public TimeSource {
  public:
    FrameTime now() override;
    void sleepUntil(FrameTime deadline) override;
};

class FrameClock {
  public:
    explicit FrameClock(TimeSource& time) : time(time) {}

    // Sleeps until one period after the previous frame's deadline. A frame that comes later
    // than a whole period past its deadline (a hidden window, a stalled machine) returns at
    // once and the deadlines start again from now, so the game never rushes to catch up.
    void waitNextFrame(FrameDuration period);

  private:
    TimeSource& time;
    FrameTime deadline{};
    bool started = false;
};

// Ends the game's frame on the steady clock at pace level `level`.
void waitForNextFrame(int level);
