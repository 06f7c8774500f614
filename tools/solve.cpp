// tumbra-solve: searches a keyboard schedule that clears one stage with the real game flow.
//
//   tumbra-solve STAGE [--beam WIDTH] [--hold FRAMES] [--frames LIMIT] [--lives-lost N]
//
// Beam search over key presses, as a player makes them: every HOLD frames each line of play
// either keeps its keys or changes one of them (a tipping digit, "5", an arrow or the stop
// key), the events go through onKeyboard and onSpecialKey and the frames through onIdle. Lines
// in which the player's ball drops over the rim are dropped (up to N lost lives may be
// allowed). The schedule that clears the stage first is checked once more by playing it from
// the stage's start, freed of presses that turn out not to matter, and printed on stdout;
// progress goes to stderr.
#include "engine/ball.h"
#include "engine/characters/characters.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"
#include "flow/game_flow.h"
#include "tools/flow_snapshot.h"
#include "tools/schedule.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

namespace {

constexpr int BadArguments = 2;
constexpr int NotFound = 1;
constexpr const char* Usage =
    "usage: tumbra-solve STAGE [--beam WIDTH] [--hold FRAMES] [--frames LIMIT] [--lives-lost N]";

struct Options {
    int stage = 0;
    int beam = 400;
    int hold = 6;
    long frameLimit = 12000;
    int livesLost = 0;
};

// What a line of play may do at the start of a segment: keep its keys, or press one key.
constexpr unsigned char TiltKeys[] = {'5', '1', '2', '3', '4', '6', '7', '8', '9'};
constexpr int RollKeys[] = {StopRollingKey, LeftKey, UpKey, RightKey, DownKey};
constexpr int TiltKeyCount = sizeof TiltKeys;
constexpr int RollKeyCount = sizeof RollKeys / sizeof RollKeys[0];
constexpr int ActionCount = 1 + TiltKeyCount + RollKeyCount; // 0 keeps the keys

// Score weights: an opponent gone is worth far more than anything else; then opponents near
// the rim and moving outward, a Dark worn down, the player close to the opponents, and the
// player kept away from the rim.
constexpr double GoneWeight = 1000.0;
constexpr double FallingShare = 0.9; // an opponent over the rim, not yet removed
constexpr double RimWeight = 120.0;
constexpr double OutwardWeight = 6.0;
constexpr double WornDarkWeight = 1.0;
constexpr double ApproachWeight = 30.0;
constexpr double SafeReach = 0.55; // of the rim radius
constexpr double DangerWeight = 800.0;
constexpr double LifeWeight = 3000.0;

// Nearby lines of play share a cell; each cell keeps its best line, so the beam stays varied.
constexpr float PositionCell = 0.35f;
constexpr float VelocityCell = 1.0f;
constexpr float TiltCell = 0.03f;

constexpr int ProgressEvery = 50; // segments

struct HistoryEntry {
    int parent; // -1 before the first event
    ReplayEvent event;
};

// A line of play: where it stands, its last event in the history (-1 for none yet) and the
// keys the flow holds.
struct Node {
    FlowSnapshot state;
    int history;
    unsigned char tiltKey;
    int rollKey;
};

// The line of play as the flow stands now.
Node nodeHere(int history) {
    return {FlowSnapshot(), history, lastKey, lastSpecialKey};
}

struct Candidate {
    int parent;
    int action;
    double score;
    std::uint64_t cell;
};

enum class Outcome { Running, Cleared, Lost };

bool readInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool parseOptions(int argc, char** argv, Options& options) {
    long value = 0;
    if (argc < 2 || !readInt(argv[1], FirstStage, LastStage, value)) {
        return false;
    }
    options.stage = static_cast<int>(value);
    for (int i = 2; i + 1 < argc; i += 2) {
        const char* name = argv[i];
        const char* text = argv[i + 1];
        if (std::strcmp(name, "--beam") == 0 && readInt(text, 1, 100000, value)) {
            options.beam = static_cast<int>(value);
        } else if (std::strcmp(name, "--hold") == 0 && readInt(text, 1, 1000, value)) {
            options.hold = static_cast<int>(value);
        } else if (std::strcmp(name, "--frames") == 0 && readInt(text, 1, 10000000, value)) {
            options.frameLimit = value;
        } else if (std::strcmp(name, "--lives-lost") == 0 && readInt(text, 0, 3, value)) {
            options.livesLost = static_cast<int>(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 0;
}

float horizontal(const Vector3f& v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// The event an action makes on a line, or false when it keeps the keys.
bool actionEvent(const Node& node, int action, long frame, ReplayEvent& event) {
    const int at = static_cast<int>(frame);
    if (action == 0) {
        return false;
    }
    const unsigned char tilt = node.tiltKey == 0 ? '5' : node.tiltKey;
    const int roll = node.rollKey == 0 ? StopRollingKey : node.rollKey;
    if (action <= TiltKeyCount) {
        event = {at, ReplayEvent::Key, TiltKeys[action - 1]};
        return event.code != tilt;
    }
    event = {at, ReplayEvent::Special, RollKeys[action - 1 - TiltKeyCount]};
    return event.code != roll;
}

// Runs `count` frames from `frame` on and stops early at a clear or a loss.
Outcome runFrames(long frame, int count, int lowestLives, long& clearFrame) {
    for (int i = 0; i < count; ++i) {
        onIdle();
        if (gameState == StageClear) {
            clearFrame = frame + i;
            return Outcome::Cleared;
        }
        const bool fallsNow = lowestLives == StartingLives && gameWorld.balls[0]->fallen;
        if (gameState == GameOver || lives < lowestLives || fallsNow) {
            return Outcome::Lost;
        }
    }
    return Outcome::Running;
}

double score(int opponentsAtStart) {
    const World& world = gameWorld;
    const double rim = world.fieldSize;
    const Ball& player = *world.balls[0];
    double total = GoneWeight * (opponentsAtStart - (world.ballCount - 1));
    double nearest = 2.0 * rim;
    for (int i = 1; i < world.ballCount; ++i) {
        const Ball& ball = *world.balls[i];
        if (ball.fallen) {
            total += GoneWeight * FallingShare;
            continue;
        }
        const double out = horizontal(ball.position);
        const double reach = out / rim;
        total += RimWeight * reach * reach;
        if (out > 0.0) {
            const double outward =
                (ball.velocity.x * ball.position.x + ball.velocity.y * ball.position.y) / out;
            total += OutwardWeight * outward * reach;
        }
        if (const auto* dark = dynamic_cast<const Dark*>(&ball)) {
            total -= WornDarkWeight * dark->bonusDrive;
        }
        nearest = std::min(nearest, double((ball.position - player.position).length()));
    }
    total -= ApproachWeight * nearest / rim;
    const double reach = horizontal(player.position) / rim;
    const double danger = std::max(0.0, reach - SafeReach);
    total -= DangerWeight * danger * danger;
    total -= LifeWeight * (StartingLives - lives);
    return total;
}

std::int64_t cellOf(float value, float cell) {
    return static_cast<std::int64_t>(std::floor(value / cell));
}

std::uint64_t cellKey() {
    const World& world = gameWorld;
    const Ball& player = *world.balls[0];
    const std::int64_t parts[] = {world.ballCount,
                                  lives,
                                  cellOf(player.position.x, PositionCell),
                                  cellOf(player.position.y, PositionCell),
                                  cellOf(player.velocity.x, VelocityCell),
                                  cellOf(player.velocity.y, VelocityCell),
                                  cellOf(world.tiltX, TiltCell),
                                  cellOf(world.tiltY, TiltCell)};
    std::uint64_t key = 1469598103934665603ull;
    for (const std::int64_t part : parts) {
        key = (key ^ static_cast<std::uint64_t>(part)) * 1099511628211ull;
    }
    return key;
}

std::vector<ReplayEvent> eventsOf(const std::vector<HistoryEntry>& history, int last) {
    std::vector<ReplayEvent> events;
    for (int i = last; i >= 0; i = history[i].parent) {
        events.push_back(history[i].event);
    }
    std::reverse(events.begin(), events.end());
    return events;
}

// Plays the schedule from the stage's start without snapshots: the frame it clears on.
long replayClearFrame(int stage, const std::vector<ReplayEvent>& events, long frameLimit) {
    loadStageAsGame(stage);
    Replay schedule;
    schedule.events = events;
    ReplayFeed feed(schedule);
    for (long frame = 1; frame <= frameLimit; ++frame) {
        feed.feedFrame(static_cast<int>(frame), FlowKeys);
        onIdle();
        if (gameState == StageClear) {
            return frame;
        }
    }
    return -1;
}

// Drops every event without which the schedule still clears as early, with as many lives left
// and the player's ball on the field: some presses of a search turn out not to matter.
void dropNeedlessEvents(int stage, std::vector<ReplayEvent>& events, long clearFrame) {
    const int livesLeft = lives;
    for (std::size_t i = events.size(); i-- > 0;) {
        std::vector<ReplayEvent> fewer = events;
        fewer.erase(fewer.begin() + static_cast<long>(i));
        if (replayClearFrame(stage, fewer, clearFrame) != -1 && lives >= livesLeft &&
            !gameWorld.balls[0]->fallen) {
            events = std::move(fewer);
        }
    }
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The search proper: a beam of lines of play, all at the same frame, advanced a segment of
// `hold` frames at a time.
class BeamSearch {
  public:
    BeamSearch(const Options& options, long firstFrame)
        : options(options), lowestLives(StartingLives - options.livesLost),
          opponentsAtStart(gameWorld.ballCount - 1), frame(firstFrame) {
        beam.push_back(nodeHere(-1));
    }

    // Runs until a line clears the stage; its events and clear frame, or false.
    bool run(std::vector<ReplayEvent>& solution, long& clearFrame) {
        const auto started = std::chrono::steady_clock::now();
        for (int segment = 0; frame <= options.frameLimit; ++segment) {
            if (expand(solution, clearFrame)) {
                return true;
            }
            if (candidates.empty()) {
                std::fprintf(stderr, "tumbra-solve: every line of play lost by frame %ld\n", frame);
                return false;
            }
            selectNextBeam();
            frame += options.hold;
            if (segment % ProgressEvery == 0) {
                reportProgress(secondsSince(started));
            }
        }
        std::fprintf(stderr, "tumbra-solve: not cleared within %ld frames\n", options.frameLimit);
        return false;
    }

  private:
    const Options& options;
    const int lowestLives;
    const int opponentsAtStart;
    long frame; // the first frame of the next segment
    std::vector<Node> beam;
    std::vector<HistoryEntry> history;
    std::vector<Candidate> candidates;

    // Plays one segment of a line with an action; the clear frame when it clears.
    Outcome trySegment(const Node& node, int action, long& clearFrame) {
        node.state.restore();
        ReplayEvent event{};
        if (actionEvent(node, action, frame, event)) {
            handEvent(event, FlowKeys);
        }
        return runFrames(frame, options.hold, lowestLives, clearFrame);
    }

    // Tries every action on every line; true, with the schedule, when one clears the stage.
    bool expand(std::vector<ReplayEvent>& solution, long& clearFrame) {
        candidates.clear();
        clearFrame = -1;
        for (int n = 0; n < static_cast<int>(beam.size()); ++n) {
            for (int action = 0; action < ActionCount; ++action) {
                ReplayEvent event{};
                if (action != 0 && !actionEvent(beam[n], action, frame, event)) {
                    continue; // that key is already held
                }
                long cleared = -1;
                const Outcome outcome = trySegment(beam[n], action, cleared);
                if (outcome == Outcome::Cleared && (clearFrame < 0 || cleared < clearFrame)) {
                    clearFrame = cleared;
                    solution = eventsOf(history, beam[n].history);
                    if (action != 0) {
                        solution.push_back(event);
                    }
                } else if (outcome == Outcome::Running) {
                    candidates.push_back({n, action, score(opponentsAtStart), cellKey()});
                }
            }
        }
        return clearFrame >= 0;
    }

    // The best candidates, one a cell, become the next beam.
    void selectNextBeam() {
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
        std::unordered_set<std::uint64_t> taken;
        std::vector<Node> next;
        for (const Candidate& c : candidates) {
            if (static_cast<int>(next.size()) >= options.beam) {
                break;
            }
            if (!taken.insert(c.cell).second) {
                continue;
            }
            const Node& parent = beam[c.parent];
            ReplayEvent event{};
            int last = parent.history;
            if (actionEvent(parent, c.action, frame, event)) {
                history.push_back({last, event});
                last = static_cast<int>(history.size()) - 1;
            }
            long unused = -1;
            trySegment(parent, c.action, unused);
            next.push_back(nodeHere(last));
        }
        beam = std::move(next);
    }

    void reportProgress(double seconds) {
        beam.front().state.restore();
        std::fprintf(stderr, "stage %d frame %ld: best %.1f, %d opponents left, beam %zu, %.1f s\n",
                     options.stage, frame - 1, candidates.front().score, gameWorld.ballCount - 1,
                     beam.size(), seconds);
    }
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "%s\n", Usage);
        return BadArguments;
    }
    const auto started = std::chrono::steady_clock::now();
    loadStageAsGame(options.stage);
    long frame = 1;
    // The intro and "READY ?" freeze the world: the search starts where it first steps.
    while (gameState != Go) {
        onIdle();
        ++frame;
    }
    std::vector<ReplayEvent> solution;
    long clearFrame = -1;
    BeamSearch search(options, frame);
    if (!search.run(solution, clearFrame)) {
        std::fprintf(stderr, "tumbra-solve: stage %d not solved\n", options.stage);
        return NotFound;
    }
    if (replayClearFrame(options.stage, solution, clearFrame) != clearFrame) {
        std::fprintf(stderr, "tumbra-solve: stage %d: the schedule does not replay\n",
                     options.stage);
        return NotFound;
    }
    dropNeedlessEvents(options.stage, solution, clearFrame);
    clearFrame = replayClearFrame(options.stage, solution, clearFrame);
    const int livesLost = StartingLives - lives;
    std::printf("# Stage %d: cleared on frame %ld, %d %s lost; %zu events; "
                "tumbra-solve %d --beam %d --hold %d\n",
                options.stage, clearFrame, livesLost, livesLost == 1 ? "life" : "lives",
                solution.size(), options.stage, options.beam, options.hold);
    for (const ReplayEvent& event : solution) {
        std::printf("%s", replayEventLine(event).c_str());
    }
    std::fprintf(stderr, "stage %d cleared on frame %ld, %d lives lost, %zu events, %.1f s\n",
                 options.stage, clearFrame, livesLost, solution.size(), secondsSince(started));
    return 0;
}
