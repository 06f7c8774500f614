#include "shell/web/page_loop.h"

#include "engine/game_state.h"
#include "flow/flags.h"
#include "flow/frame_pacing.h"
#include "flow/game_flow.h"
#include "platform/frame_clock.h"
#include "shell/game_frame.h"
#include "shell/web/page_window.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <emscripten/html5.h>

namespace {

// The refresh is the median of this many intervals between animation frames.
constexpr std::size_t IntervalsKept = 15;

// The browser's animation frames as the frame clocks' time: each frame's time is the one the
// browser gives it. Nothing waits in a page: the next animation frame comes at the display's
// next refresh, which is where the desktop's swap would have waited.
class AnimationFrameTime final : public TimeSource {
  public:
    FrameTime now() override { return current; }
    void sleepUntil(FrameTime) override {}
    void set(double milliseconds) {
        current = FrameTime(std::chrono::duration_cast<FrameDuration>(
            std::chrono::duration<double, std::milli>(milliseconds)));
    }

  private:
    FrameTime current{};
};

// The display's refresh period, from the times of the last animation frames.
class RefreshWatch {
  public:
    // The period so far after a frame at `time` (milliseconds); 0 until one interval is known.
    double noteFrame(double time) {
        if (last > 0.0) {
            intervals[next++ % IntervalsKept] = time - last;
        }
        last = time;
        const std::size_t count = std::min(next, IntervalsKept);
        std::array<double, IntervalsKept> sorted = intervals;
        std::nth_element(sorted.begin(), sorted.begin() + count / 2, sorted.begin() + count);
        return count == 0 ? 0.0 : sorted[count / 2];
    }

  private:
    std::array<double, IntervalsKept> intervals{};
    std::size_t next = 0;
    double last = 0.0;
};

AnimationFrameTime frameTime;
RefreshWatch refreshWatch;
// The browser's frames wait for the display, as a swap that waits does.
PresentClock presentClock(frameTime, refreshPeriod(0.0), true);
StepClock stepClock;
FrameClock classicClock(frameTime);
FrameTime classicDue{};
bool drawnBefore = false;
bool running = true;
void (*frameEnd)() = nullptr;

void smoothFrame() {
    // The frame drawn last was shown when this one began.
    if (drawnBefore) {
        presentClock.afterSwap();
    }
    drawFrameBetween(runDueSteps(presentClock, stepClock));
    saveWantedScreenshot();
    drawnBefore = true;
}

void classicFrame() {
    if (drawnBefore && frameTime.now() < classicDue) {
        return;
    }
    onIdle();
    drawFrame();
    saveWantedScreenshot();
    classicDue = classicClock.nextDeadline(framePeriod(waitLevel));
    drawnBefore = true;
}

EM_BOOL animationFrame(double time, void*) {
    frameTime.set(time);
    const double refreshMs = refreshWatch.noteFrame(time);
    if (refreshMs > 0.0) {
        presentClock.setRefresh(refreshPeriod(1000.0 / refreshMs));
    }
    fitCanvas();
    if (optClassicFrames != 0) {
        classicFrame();
    } else {
        smoothFrame();
    }
    frameEnd();
    return running ? EM_TRUE : EM_FALSE;
}

} // namespace

void startPageLoop(void (*endFrame)()) {
    frameEnd = endFrame;
    emscripten_request_animation_frame_loop(animationFrame, nullptr);
}

void stopPageLoop() {
    running = false;
}
