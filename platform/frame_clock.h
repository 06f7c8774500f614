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

    // The deadline of the frame being made: one period after the previous frame's. A frame
    // that comes later than a whole period past it (a hidden window, a stalled machine) is due
    // now, and the deadlines start again from there, so the game never rushes to catch up.
    FrameTime nextDeadline(FrameDuration period);
    // Sleeps until that deadline; a frame that was due now does not sleep.
    void waitDeadline();
    // Both: the game's classic frame end.
    void waitNextFrame(FrameDuration period);
    // The deadlines go on from `shown`, where a frame really reached the display.
    void resync(FrameTime shown) { deadline = shown; }

  private:
    TimeSource& time;
    FrameTime deadline{};
    bool started = false;
    bool restarted = false;
};

// The simulation's steps while frames are shown at the display's rate. Steps are due one
// period apart, and a shown moment lies somewhere between the last two: blend() says where.
class StepClock {
  public:
    // The first step is due at once.
    bool due(FrameTime at) const { return !started || at >= last + period; }
    // The step due by `at` has run; the next comes `next` later. A step more than a whole
    // period late starts the schedule again at `at`, so the simulation never races.
    void stepped(FrameTime at, FrameDuration next);
    // How far `at` lies from the last step towards the next, 0 to 1.
    float blend(FrameTime at) const;

  private:
    FrameTime last{};
    FrameDuration period{};
    bool started = false;
};

// Presents frames on the display's refresh. Where swap control takes, the swap itself waits
// for the vertical blank; elsewhere the clock sleeps to each refresh before the swap. A swap
// said to wait that comes back at once over its first frames does not wait: the clock paces.
class PresentClock {
  public:
    PresentClock(TimeSource& time, FrameDuration refresh, bool swapWaits)
        : time(time), clock(time), refresh(refresh), swapsWait(swapWaits) {}

    // When the frame being drawn will reach the display.
    FrameTime plan();
    // Before the swap: sleeps to that moment unless the swap waits for it.
    void beforeSwap();
    // After the swap.
    void afterSwap();
    bool swapWaits() const { return swapsWait; }
    // The display's refresh period from now on, once it is known.
    void setRefresh(FrameDuration period) { refresh = period; }

    // Frames over which a waiting swap proves itself.
    static constexpr int ProbeFrames = 8;

  private:
    TimeSource& time;
    FrameClock clock;
    FrameDuration refresh;
    bool swapsWait;
    int probed = 0;
    FrameTime probeStart{};
};

// The game's clock: the steady clock.
TimeSource& steadyTime();
// Waits for the game's classic frame on the steady clock at pace level `level`.
void waitForNextFrame(int level);
