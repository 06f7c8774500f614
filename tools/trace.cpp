// tumbra-trace: runs the world headless and prints every frame as one JSON object per line.
//
//   tumbra-trace STAGE FRAMES [FROM:PADX,PADY,ARROWX,ARROWY ...]
//
// From step FROM (1-based) on, the four step inputs are the given values (-1, 0 or 1) until
// the next token; before the first token they are all 0. Line 0 is the stage just loaded;
// the run stops after FRAMES steps or after a step that ends the game or clears the stage.
#include "engine/characters/characters.h"
#include "engine/game_state.h"
#include "engine/stages.h"
#include "engine/world.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int BadArguments = 2;
constexpr const char* Usage = "usage: tumbra-trace STAGE FRAMES [FROM:PADX,PADY,ARROWX,ARROWY ...]";

struct Inputs {
    float padX = 0.0f;
    float padY = 0.0f;
    float arrowX = 0.0f;
    float arrowY = 0.0f;
};

// From step `from` on, `inputs` hold.
struct ScheduleEntry {
    long from;
    Inputs inputs;
};

int fail(const char* message) {
    std::fprintf(stderr, "tumbra-trace: %s; %s\n", message, Usage);
    return BadArguments;
}

// Reads a decimal integer, optionally negative, at `text` and moves past it.
bool readInteger(const char*& text, long& value) {
    const char* digits = *text == '-' ? text + 1 : text;
    if (!std::isdigit(static_cast<unsigned char>(*digits))) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text, &end, 10);
    text = end;
    return errno != ERANGE;
}

bool readWhole(const char* text, long& value) {
    return readInteger(text, value) && *text == '\0';
}

// One input axis: -1, 0 or 1.
bool readAxis(const char*& text, float& axis) {
    long value = 0;
    if (!readInteger(text, value) || value < -1 || value > 1) {
        return false;
    }
    axis = static_cast<float>(value);
    return true;
}

bool parseToken(const char* text, ScheduleEntry& entry) {
    Inputs& in = entry.inputs;
    return readInteger(text, entry.from) && entry.from >= 1 && *text++ == ':' &&
           readAxis(text, in.padX) && *text++ == ',' && readAxis(text, in.padY) && *text++ == ',' &&
           readAxis(text, in.arrowX) && *text++ == ',' && readAxis(text, in.arrowY) &&
           *text == '\0';
}

// Shortest text that reads back as the same float; non-finite values as JavaScript and
// Python's json module write them.
void appendFloat(std::string& out, float v) {
    if (std::isnan(v)) {
        out += "NaN";
        return;
    }
    if (std::isinf(v)) {
        out += v > 0 ? "Infinity" : "-Infinity";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(v));
    out += text;
}

void appendVector(std::string& out, const Vector3f& v) {
    out += '[';
    appendFloat(out, v.x);
    out += ',';
    appendFloat(out, v.y);
    out += ',';
    appendFloat(out, v.z);
    out += ']';
}

void appendPair(std::string& out, float a, float b) {
    out += '[';
    appendFloat(out, a);
    out += ',';
    appendFloat(out, b);
    out += ']';
}

void appendField(std::string& out, const char* name, float v) {
    out += ",\"";
    out += name;
    out += "\":";
    appendFloat(out, v);
}

void appendField(std::string& out, const char* name, int v) {
    out += ",\"";
    out += name;
    out += "\":";
    out += std::to_string(v);
}

// The members only some characters have.
void appendExtras(std::string& out, const Ball& ball) {
    if (const auto* saturn = dynamic_cast<const Saturn*>(&ball)) {
        appendField(out, "mode", saturn->mode);
    } else if (const auto* dark = dynamic_cast<const Dark*>(&ball)) {
        appendField(out, "mode", dark->mode);
        appendField(out, "bonusDrive", dark->bonusDrive);
    } else if (const auto* jupiter = dynamic_cast<const Jupiter*>(&ball)) {
        appendField(out, "orbitForce", jupiter->orbitForce);
    }
}

void appendBall(std::string& out, const Ball& ball) {
    out += "{\"label\":\"";
    out += ball.label;
    out += "\",\"pos\":";
    appendVector(out, ball.position);
    out += ",\"vel\":";
    appendVector(out, ball.velocity);
    appendField(out, "radius", ball.radius);
    appendField(out, "mass", ball.mass);
    appendField(out, "stun", ball.stunFrames);
    appendField(out, "fallen", ball.fallen);
    appendExtras(out, ball);
    out += '}';
}

void appendFieldShape(std::string& out, const World& world) {
    out += ",\"field\":{\"kind\":" + std::to_string(world.fieldKind);
    appendField(out, "size", world.fieldSize);
    out += ",\"ringHeight\":[";
    for (int i = 0; i < RingCount; ++i) {
        out += i == 0 ? "" : ",";
        appendFloat(out, world.ringHeight[i]);
    }
    out += "],\"ringNormal\":[";
    for (int i = 0; i < RingCount; ++i) {
        out += i == 0 ? "" : ",";
        appendVector(out, world.ringNormal[i]);
    }
    out += ']';
    appendField(out, "tiltInertia", world.tiltInertia);
    appendField(out, "tiltGain", world.tiltGain);
    out += '}';
}

void printFrame(long frame, int result, const World& world, bool withField) {
    std::string out = "{\"frame\":" + std::to_string(frame);
    appendField(out, "result", result);
    appendField(out, "lives", lives);
    out += ",\"tilt\":";
    appendPair(out, world.tiltX, world.tiltY);
    out += ",\"tiltRate\":";
    appendPair(out, world.tiltRateX, world.tiltRateY);
    appendField(out, "playPhase", world.playPhase);
    appendField(out, "phaseCountdown", world.phaseCountdown);
    out += ",\"balls\":[";
    for (int i = 0; i < world.ballCount; ++i) {
        out += i == 0 ? "" : ",";
        appendBall(out, *world.balls[i]);
    }
    out += ']';
    if (withField) {
        appendFieldShape(out, world);
    }
    out += "}\n";
    std::fputs(out.c_str(), stdout);
}

// The inputs of step `frame`: those of the last entry that has begun.
Inputs inputsAt(const std::vector<ScheduleEntry>& schedule, long frame) {
    Inputs inputs;
    for (const ScheduleEntry& entry : schedule) {
        if (entry.from <= frame) {
            inputs = entry.inputs;
        }
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return fail("STAGE and FRAMES are needed");
    }
    long stage = 0;
    if (!readWhole(argv[1], stage) || stage < 0 || stage >= StageCount) {
        return fail("STAGE must be a whole number from 0 to 23");
    }
    long frames = 0;
    if (!readWhole(argv[2], frames) || frames < 0 || frames > INT_MAX) {
        return fail("FRAMES must be a whole number from 0 on");
    }
    std::vector<ScheduleEntry> schedule;
    for (int i = 3; i < argc; ++i) {
        ScheduleEntry entry{};
        if (!parseToken(argv[i], entry)) {
            return fail("each schedule token is FROM:PADX,PADY,ARROWX,ARROWY with FROM >= 1 "
                        "and each input -1, 0 or 1");
        }
        if (!schedule.empty() && entry.from <= schedule.back().from) {
            return fail("schedule tokens must come in increasing FROM order");
        }
        schedule.push_back(entry);
    }

    lives = StartingLives;
    stageNumber = static_cast<int>(stage);
    loadStage();
    printFrame(0, Playing, gameWorld, true);
    for (long frame = 1; frame <= frames; ++frame) {
        const Inputs in = inputsAt(schedule, frame);
        const int result = gameWorld.step(in.padX, in.padY, in.arrowX, in.arrowY);
        printFrame(frame, result, gameWorld, false);
        if (result == GameOver || result == StageClear) {
            break;
        }
    }
    return 0;
}
