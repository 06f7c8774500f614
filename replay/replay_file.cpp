#include "replay/replay_file.h"

#include "platform/user_files.h"

#include "engine/float_bits.h"
#include "engine/game_state.h"
#include "engine/stages.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <compare>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int MaxVersionLength = 40;
constexpr int ChecksumDigits = 16;
constexpr int MaxNumberDigits = 9; // every number the format allows fits an int
constexpr int MaxKeyCode = 255;
// The first version with the start of a game the title started.
constexpr int TitleGameVersion = 3;

// The pad's values as a line names them, in the order it writes them: the four sticks, the
// two D-pad axes, the buttons pressed and the pad pulled out.
constexpr const char* PadNames[] = {"leftX", "leftY", "rightX",  "rightY",
                                    "dpadX", "dpadY", "pressed", "disconnected"};
constexpr float GamepadState::*Sticks[] = {&GamepadState::leftX, &GamepadState::leftY,
                                           &GamepadState::rightX, &GamepadState::rightY};
constexpr int GamepadState::*DpadAxes[] = {&GamepadState::dpadX, &GamepadState::dpadY};
constexpr int PressedIndex = 6;
constexpr int DisconnectedIndex = 7;
constexpr unsigned KnownButtons =
    GamepadSouth | GamepadBack | GamepadStart | GamepadLeftShoulder | GamepadRightShoulder;
constexpr int MaxPadValues = static_cast<int>(std::size(PadNames));

// Nine significant digits read back to every float.
constexpr int FloatDigits = 9;

// A decimal: digits x 10^scale.
struct Decimal {
    long long digits;
    int scale;
};

// `magnitude` (not negative) to `count` significant digits, correctly rounded: the C
// library's printf rounds the exact binary value.
Decimal roundedDecimal(double magnitude, int count) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*e", count - 1, magnitude);
    long long digits = 0;
    const char* c = text;
    for (; *c != 'e'; ++c) {
        if (*c >= '0' && *c <= '9') {
            digits = digits * 10 + (*c - '0');
        }
    }
    return {digits, std::atoi(c + 1) - count + 1};
}

// Whether the decimal reads back to `magnitude` exactly.
bool readsBack(const Decimal& decimal, float magnitude) {
    const std::string text = std::to_string(decimal.digits) + "e" + std::to_string(decimal.scale);
    return floatBits(std::strtof(text.c_str(), nullptr)) == floatBits(magnitude);
}

// The decimal of `count` digits closest to `magnitude` that reads back to it, if one does:
// the correctly rounded one, or where the floats below lie closer than those above (at a
// power of two) a neighbour.
std::optional<Decimal> shortDecimal(float magnitude, int count) {
    const Decimal rounded = roundedDecimal(magnitude, count);
    for (const long long step : {0LL, 1LL, -1LL}) {
        const Decimal near{rounded.digits + step, rounded.scale};
        if (readsBack(near, magnitude)) {
            return near;
        }
    }
    return std::nullopt;
}

// Laid out as std::to_chars does without a format: fixed or scientific notation, whichever
// is shorter, fixed on a tie.
std::string decimalText(const Decimal& decimal, bool negative) {
    const std::string digits = std::to_string(decimal.digits);
    const int exponent = decimal.scale + static_cast<int>(digits.size()) - 1;
    const std::string rest = digits.size() > 1 ? "." + digits.substr(1) : "";
    char power[16];
    std::snprintf(power, sizeof power, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    const std::string scientific = digits.substr(0, 1) + rest + power;
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (decimal.scale >= 0) {
        fixed = digits + std::string(static_cast<std::size_t>(decimal.scale), '0');
    } else {
        const auto point = static_cast<std::size_t>(exponent + 1);
        fixed = digits.substr(0, point) + "." + digits.substr(point);
    }
    return (negative ? "-" : "") + (fixed.size() <= scientific.size() ? fixed : scientific);
}

// Of the grammar std::from_chars reads: [-]DIGITS[.DIGITS] or [-].DIGITS, then an exponent
// [eE][+-]DIGITS if any. True with whether a digit of the significand is not 0.
bool decimalShape(std::string_view word, bool& nonZero) {
    std::size_t at = word.starts_with('-') ? 1 : 0;
    const auto digitsFrom = [&word, &at, &nonZero](bool significand) {
        const std::size_t start = at;
        while (at < word.size() && word[at] >= '0' && word[at] <= '9') {
            nonZero |= significand && word[at] != '0';
            ++at;
        }
        return at - start;
    };
    nonZero = false;
    std::size_t digits = digitsFrom(true);
    if (at < word.size() && word[at] == '.') {
        ++at;
        digits += digitsFrom(true);
    }
    if (digits == 0) {
        return false;
    }
    if (at < word.size() && (word[at] == 'e' || word[at] == 'E')) {
        ++at;
        at += at < word.size() && (word[at] == '+' || word[at] == '-') ? 1 : 0;
        if (digitsFrom(false) == 0) {
            return false;
        }
    }
    return at == word.size();
}

// Where a line stands in time: an input goes before its frame's idle call, a check after it.
struct Moment {
    long frame = 0;
    int afterCall = 1; // the start counts as "after call 0"

    auto operator<=>(const Moment&) const = default;
};

class LineParser {
  public:
    LineParser(ReplayText kind, Replay& replay, ReplayError& error)
        : kind(kind), replay(replay), error(error) {}

    bool parse(std::string_view text) {
        replay = Replay{};
        expected = kind == ReplayText::Recording ? Expect::Format : Expect::Body;
        while (!text.empty()) {
            ++lineNumber;
            const std::size_t newline = text.find('\n');
            if (newline == std::string_view::npos) {
                return fail("the line is cut short (no newline at its end)");
            }
            std::string_view line = text.substr(0, newline);
            text.remove_prefix(newline + 1);
            if (!line.empty() && line.back() == '\r') {
                line.remove_suffix(1);
            }
            if (!parseLine(line)) {
                return false;
            }
        }
        if (expected != Expect::Body && expected != Expect::Nothing) {
            ++lineNumber;
            return fail("the file ends inside its header");
        }
        return true;
    }

  private:
    enum class Expect { Format, Game, Start, Body, Nothing };

    ReplayText kind;
    Replay& replay;
    ReplayError& error;
    int lineNumber = 0;
    Expect expected = Expect::Format;
    Moment last;
    int lastPadFrame = 0;
    GamepadState pad{};
    std::vector<std::string_view> words;

    bool fail(const std::string& message) {
        error = {lineNumber, message};
        return false;
    }

    bool parseLine(std::string_view line) {
        if (line.size() > MaxReplayLineLength) {
            return fail("the line is longer than " + std::to_string(MaxReplayLineLength) +
                        " characters");
        }
        for (const char c : line) {
            if (c < ' ' || c > '~') {
                return fail("the line holds a character that is not printable ASCII");
            }
        }
        if (expected != Expect::Format && !line.empty() && line.front() == '#') {
            return true; // a comment
        }
        if (!split(line)) {
            return fail("words must be separated by single spaces");
        }
        switch (expected) {
        case Expect::Format:
            return parseFormat();
        case Expect::Game:
            return parseGame();
        case Expect::Start:
            return parseStart();
        case Expect::Body:
            return parseBody();
        case Expect::Nothing:
            return fail("nothing may follow the end record");
        }
        return false;
    }

    bool split(std::string_view line) {
        words.clear();
        while (true) {
            const std::size_t space = line.find(' ');
            words.push_back(line.substr(0, space));
            if (words.back().empty()) {
                return false;
            }
            if (space == std::string_view::npos) {
                return true;
            }
            line.remove_prefix(space + 1);
        }
    }

    bool shape(const char* first, std::size_t count) const {
        return words.size() == count && words[0] == first;
    }

    bool parseFormat() {
        if (words.size() != 2 || words[0] != ReplayFormatName) {
            return fail(std::string("not a replay: the first line must be \"") + ReplayFormatName +
                        " " + std::to_string(ReplayFormatVersion) + "\"");
        }
        int version = 0;
        const auto [end, fault] =
            std::from_chars(words[1].data(), words[1].data() + words[1].size(), version);
        if (fault != std::errc{} || end != words[1].data() + words[1].size() ||
            version < FirstReplayFormatVersion || version > ReplayFormatVersion ||
            words[1] != std::to_string(version)) {
            return fail("format version " + std::string(words[1]) +
                        " is not supported (this game reads versions " +
                        std::to_string(FirstReplayFormatVersion) + " to " +
                        std::to_string(ReplayFormatVersion) + ")");
        }
        replay.formatVersion = version;
        expected = Expect::Game;
        return true;
    }

    bool parseGame() {
        if (!shape("game", 2) || words[1].size() > MaxVersionLength) {
            return fail("the second line must be \"game VERSION\"");
        }
        replay.gameVersion = words[1];
        expected = Expect::Start;
        return true;
    }

    // "start title", from version 2 on "start stage N level L", from version 3 on
    // "start title-game level L".
    bool parseStart() {
        const bool title = shape("start", 2) && words[1] == "title";
        const bool stage = replay.formatVersion >= 2 && shape("start", 5) && words[1] == "stage" &&
                           words[3] == "level";
        const bool fromTitle = replay.formatVersion >= TitleGameVersion && shape("start", 4) &&
                               words[1] == "title-game" && words[2] == "level";
        if (!title && !stage && !fromTitle) {
            return fail(startShapes());
        }
        expected = Expect::Body;
        if (title) {
            return true;
        }
        long number = FirstStage;
        if (stage && !this->number(words[2], FirstStage, LastStage, "the start stage", number)) {
            return false;
        }
        replay.start.stage = static_cast<int>(number);
        replay.start.fromTitle = fromTitle;
        if (!this->number(words.back(), 0, MaxReplayWaitLevel, "the start level", number)) {
            return false;
        }
        replay.start.level = static_cast<int>(number);
        return true;
    }

    // The starts this file's version may name, for the message that refuses another.
    std::string startShapes() const {
        std::string shapes = "\"start title\"";
        if (replay.formatVersion >= 2) {
            shapes += replay.formatVersion >= TitleGameVersion ? ", " : " or ";
            shapes += "\"start stage N level L\"";
        }
        if (replay.formatVersion >= TitleGameVersion) {
            shapes += " or \"start title-game level L\"";
        }
        return "the third line must be " + shapes;
    }

    // A decimal number within [low, high]; `what` names it in the message.
    bool number(std::string_view word, long low, long high, const char* what, long& value) {
        const bool negative = !word.empty() && word.front() == '-';
        const std::string_view digits = negative ? word.substr(1) : word;
        const bool wellFormed =
            !digits.empty() && digits.size() <= MaxNumberDigits &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (wellFormed) {
            value = std::stol(std::string(word));
            if (value >= low && value <= high) {
                return true;
            }
        }
        return fail(std::string(what) + " must be a whole number from " + std::to_string(low) +
                    " to " + std::to_string(high) + ", not \"" + std::string(word) + "\"");
    }

    bool checksumWord(std::string_view digits, std::uint64_t& checksum) {
        const bool hex = digits.size() == ChecksumDigits &&
                         std::all_of(digits.begin(), digits.end(), [](char c) {
                             return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
                         });
        if (!hex) {
            return fail("the checksum must be 16 lower-case hex digits");
        }
        checksum = std::stoull(std::string(digits), nullptr, 16);
        return true;
    }

    bool inOrder(Moment moment) {
        if (moment < last) {
            return fail("out of time order: frame " + std::to_string(moment.frame) +
                        " after frame " + std::to_string(last.frame) +
                        " (a frame's inputs go before its state line)");
        }
        last = moment;
        return true;
    }

    bool parseBody() {
        if (kind == ReplayText::Recording && shape("end", 3)) {
            return parseEnd();
        }
        const bool padLine =
            words.size() >= 3 && words.size() <= 2 + MaxPadValues && words[1] == "pad";
        if (!padLine && words.size() != 3 &&
            !(kind == ReplayText::Recording && words.size() == 6)) {
            return fail(
                "expected \"FRAME key CODE\", \"FRAME special CODE\", \"FRAME pad NAME=VALUE...\"" +
                std::string(kind == ReplayText::Recording
                                ? ", \"FRAME state STATE STAGE LIVES CHECKSUM\" or \"end FRAMES "
                                  "CHECKSUM\""
                                : ""));
        }
        long frame = 0;
        if (!number(words[0], 1, MaxReplayFrame, "the frame", frame)) {
            return false;
        }
        if (padLine) {
            return parsePad(frame);
        }
        if (words.size() == 6 && words[1] == "state") {
            return parseCheck(frame);
        }
        if (words.size() == 3 && (words[1] == "key" || words[1] == "special")) {
            return parseEvent(frame);
        }
        return fail("unknown line kind \"" + std::string(words[1]) + "\"");
    }

    bool parseEvent(long frame) {
        const bool isKey = words[1] == "key";
        long code = 0;
        if (!number(words[2], 0, isKey ? MaxKeyCode : MaxSpecialKeyCode, "the key code", code)) {
            return false;
        }
        // Escape ends a recording: the end record stands for it, and it is never replayed.
        if (isKey && code == EscapeKey) {
            return fail("Escape is not replayed: the end record stands for it");
        }
        if (!inOrder({frame, 0})) {
            return false;
        }
        replay.events.push_back({static_cast<int>(frame),
                                 isKey ? ReplayEvent::Key : ReplayEvent::Special,
                                 static_cast<int>(code)});
        return true;
    }

    // A stick's value: a finite number within -1..1.
    bool stickValue(std::string_view name, std::string_view word, float& value) {
        float read = 0.0f;
        if (readFloatText(word, read) && read >= -1.0f && read <= 1.0f) {
            value = read;
            return true;
        }
        return fail(std::string(name) + " must be a number from -1 to 1, not \"" +
                    std::string(word) + "\"");
    }

    // "NAME=VALUE" words: the pad's values that changed on this frame, each named once.
    bool parsePad(long frame) {
        GamepadState next = pad;
        unsigned named = 0;
        for (std::size_t w = 2; w < words.size(); ++w) {
            const std::size_t equals = words[w].find('=');
            const std::string_view name = words[w].substr(0, equals);
            const auto found = std::find(std::begin(PadNames), std::end(PadNames), name);
            if (equals == std::string_view::npos || found == std::end(PadNames)) {
                return fail("a pad value must be NAME=VALUE with NAME one of leftX, leftY, "
                            "rightX, rightY, dpadX, dpadY, pressed, disconnected");
            }
            const int index = static_cast<int>(found - std::begin(PadNames));
            if ((named & (1u << index)) != 0) {
                return fail("the pad value " + std::string(name) + " is named twice");
            }
            named |= 1u << index;
            const std::string_view value = words[w].substr(equals + 1);
            long integer = 0;
            if (index < static_cast<int>(std::size(Sticks))) {
                if (!stickValue(name, value, next.*Sticks[index])) {
                    return false;
                }
            } else if (index < PressedIndex) {
                if (!number(value, -1, 1, PadNames[index], integer)) {
                    return false;
                }
                next.*DpadAxes[index - std::size(Sticks)] = static_cast<int>(integer);
            } else if (index == PressedIndex) {
                if (!number(value, 0, KnownButtons, "pressed", integer)) {
                    return false;
                }
                next.pressed = static_cast<unsigned>(integer);
            } else {
                if (!number(value, 0, 1, "disconnected", integer)) {
                    return false;
                }
                next.disconnected = integer == 1;
            }
        }
        if (lastPadFrame == frame) {
            return fail("a second pad line for frame " + std::to_string(frame));
        }
        if (!inOrder({frame, 0})) {
            return false;
        }
        lastPadFrame = static_cast<int>(frame);
        // A line that changes nothing says nothing: it is not kept.
        if (!samePad(next, pad)) {
            pad = next;
            replay.pads.push_back({static_cast<int>(frame), pad});
        }
        return true;
    }

    bool parseCheck(long frame) {
        long state = 0;
        long stage = 0;
        long lives = 0;
        // StageIntro has the highest state number.
        if (!number(words[2], 0, StageIntro, "the state", state) ||
            !number(words[3], 0, StageCount - 1, "the stage", stage) ||
            !number(words[4], -MaxReplayLives, MaxReplayLives, "the lives", lives)) {
            return false;
        }
        std::uint64_t checksum = 0;
        if (!checksumWord(words[5], checksum)) {
            return false;
        }
        // One check at most per frame: a later one would repeat the frame's "after" moment.
        if (!replay.checks.empty() && replay.checks.back().frame == frame) {
            return fail("a second state line for frame " + std::to_string(frame));
        }
        if (!inOrder({frame, 1})) {
            return false;
        }
        replay.checks.push_back(
            {static_cast<int>(frame),
             {static_cast<int>(state), static_cast<int>(stage), static_cast<int>(lives)},
             checksum});
        return true;
    }

    bool parseEnd() {
        long frames = 0;
        if (!number(words[1], 0, MaxReplayFrame, "the frame count", frames)) {
            return false;
        }
        std::uint64_t checksum = 0;
        if (!checksumWord(words[2], checksum)) {
            return false;
        }
        // Keys that came after the last idle call and before Escape belong to frame + 1.
        // The pad is read in an idle call, so none comes after the last.
        if (last > Moment{frames + 1, 0} || lastPadFrame > frames) {
            return fail("the end record's frame count " + std::to_string(frames) +
                        " is earlier than the lines before it");
        }
        replay.sealed = true;
        replay.endFrame = static_cast<int>(frames);
        replay.checksum = checksum;
        expected = Expect::Nothing;
        return true;
    }
};

} // namespace

int Replay::lastFrame() const {
    if (sealed) {
        return endFrame;
    }
    int frame = 0;
    if (!events.empty()) {
        frame = events.back().frame;
    }
    if (!pads.empty()) {
        frame = std::max(frame, pads.back().frame);
    }
    if (!checks.empty()) {
        frame = std::max(frame, checks.back().frame);
    }
    return frame;
}

bool parseReplay(std::string_view text, ReplayText kind, Replay& replay, ReplayError& error) {
    return LineParser(kind, replay, error).parse(text);
}

bool loadReplay(const std::string& path, ReplayText kind, Replay& replay, ReplayError& error) {
    std::string text;
    std::string reason;
    error = {};
    if (readSmallFile(path, MaxReplayBytes, text, reason) != ReadStatus::Read) {
        error = {0, reason};
        return false;
    }
    return parseReplay(text, kind, replay, error);
}

std::string replayHeader(std::string_view gameVersion, const ReplayStart& start,
                         int formatVersion) {
    const std::string level = " level " + std::to_string(start.level);
    const std::string where = start.atTitle()   ? "title"
                              : start.fromTitle ? "title-game" + level
                                                : "stage " + std::to_string(start.stage) + level;
    return std::string(ReplayFormatName) + " " + std::to_string(formatVersion) + "\ngame " +
           std::string(gameVersion) + "\nstart " + where + "\n";
}

std::string replayEventLine(const ReplayEvent& event) {
    return std::to_string(event.frame) + (event.kind == ReplayEvent::Key ? " key " : " special ") +
           std::to_string(event.code) + "\n";
}

GamepadState boundedPad(const GamepadState& pad) {
    GamepadState bounded = pad;
    for (const auto stick : Sticks) {
        const float value = pad.*stick;
        bounded.*stick = std::isnan(value) ? 0.0f : std::clamp(value, -1.0f, 1.0f);
    }
    for (const auto axis : DpadAxes) {
        bounded.*axis = std::clamp(pad.*axis, -1, 1);
    }
    bounded.pressed &= KnownButtons;
    return bounded;
}

bool samePad(const GamepadState& a, const GamepadState& b) {
    for (const auto stick : Sticks) {
        if (floatBits(a.*stick) != floatBits(b.*stick)) {
            return false;
        }
    }
    return a.dpadX == b.dpadX && a.dpadY == b.dpadY && a.pressed == b.pressed &&
           a.disconnected == b.disconnected;
}

std::string replayPadLine(int frame, const GamepadState& before, const GamepadState& now) {
    std::string values;
    for (std::size_t i = 0; i < std::size(Sticks); ++i) {
        if (floatBits(before.*Sticks[i]) != floatBits(now.*Sticks[i])) {
            values += std::string(" ") + PadNames[i] + "=" + floatText(now.*Sticks[i]);
        }
    }
    for (std::size_t i = 0; i < std::size(DpadAxes); ++i) {
        if (before.*DpadAxes[i] != now.*DpadAxes[i]) {
            values += std::string(" ") + PadNames[std::size(Sticks) + i] + "=" +
                      std::to_string(now.*DpadAxes[i]);
        }
    }
    if (before.pressed != now.pressed) {
        values += std::string(" ") + PadNames[PressedIndex] + "=" + std::to_string(now.pressed);
    }
    if (before.disconnected != now.disconnected) {
        values +=
            std::string(" ") + PadNames[DisconnectedIndex] + "=" + (now.disconnected ? "1" : "0");
    }
    return values.empty() ? "" : std::to_string(frame) + " pad" + values + "\n";
}

std::string replayCheckLine(const ReplayCheck& check) {
    return std::to_string(check.frame) + " state " + std::to_string(check.mark.state) + " " +
           std::to_string(check.mark.stage) + " " + std::to_string(check.mark.lives) + " " +
           checksumText(check.checksum) + "\n";
}

std::string replayEndLine(int frames, std::uint64_t checksum) {
    return "end " + std::to_string(frames) + " " + checksumText(checksum) + "\n";
}

std::string formatReplay(const Replay& replay) {
    std::string text = replayHeader(replay.gameVersion, replay.start, replay.formatVersion);
    auto event = replay.events.begin();
    auto pad = replay.pads.begin();
    auto check = replay.checks.begin();
    GamepadState before{};
    // On each frame its keys, then its pad, then its check, as a recorder writes them.
    while (true) {
        const int eventFrame = event != replay.events.end() ? event->frame : INT_MAX;
        const int padFrame = pad != replay.pads.end() ? pad->frame : INT_MAX;
        const int checkFrame = check != replay.checks.end() ? check->frame : INT_MAX;
        const int frame = std::min({eventFrame, padFrame, checkFrame});
        if (frame == INT_MAX) {
            break;
        }
        if (eventFrame == frame) {
            text += replayEventLine(*event++);
        } else if (padFrame == frame) {
            text += replayPadLine(frame, before, pad->state);
            before = pad++->state;
        } else {
            text += replayCheckLine(*check++);
        }
    }
    if (replay.sealed) {
        text += replayEndLine(replay.endFrame, replay.checksum);
    }
    return text;
}

std::string checksumText(std::uint64_t checksum) {
    char text[ChecksumDigits + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(checksum));
    return text;
}

std::string replayErrorText(const std::string& path, const ReplayError& error) {
    return path + (error.line > 0 ? ":" + std::to_string(error.line) : "") + ": " + error.message;
}

std::string floatText(float value) {
    if (std::isnan(value) || std::isinf(value)) {
        return std::isnan(value) ? (std::signbit(value) ? "-nan" : "nan")
                                 : (value < 0.0f ? "-inf" : "inf");
    }
    const float magnitude = std::fabs(value);
    if (magnitude == 0.0f) {
        return std::signbit(value) ? "-0" : "0";
    }
    // Fewer digits read back only if more do: the shortest is where that stops.
    std::optional<Decimal> shortest;
    for (int count = FloatDigits - 1; count > 0; --count) {
        const std::optional<Decimal> shorter = shortDecimal(magnitude, count);
        if (!shorter) {
            break;
        }
        shortest = shorter;
    }
    return decimalText(shortest ? *shortest : roundedDecimal(magnitude, FloatDigits),
                       std::signbit(value));
}

bool readFloatText(std::string_view word, float& value) {
    bool nonZero = false;
    if (!decimalShape(word, nonZero)) {
        return false;
    }
    const float read = std::strtof(std::string(word).c_str(), nullptr);
    // Too small for a float: from_chars gives no value then, nor too large for one.
    if ((read == 0.0f && nonZero) || std::isinf(read)) {
        return false;
    }
    value = read;
    return true;
}
