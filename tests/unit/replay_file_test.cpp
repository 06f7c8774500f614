// The replay file: every kind of bad text is refused with its line, good text reads back as
// written, and mutated copies of a good recording never get past the parser unchecked.
#include "engine/float_bits.h"
#include "engine/stages.h"
#include "replay/replay_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string Header = "tumbra-replay 1\ngame 1.0.0\nstart title\n";
const std::string Sum = "00000000000000ff";

// At the edges: a line of 200 characters, the last frame a file may name.
const std::string EdgeRecording =
    Header + std::string(200, '#') + "\n2592000 key 56\nend " + "2592000 " + Sum + "\n";

const std::string GoodRecording = Header +
                                  "# a comment\n"
                                  "5 key 56\r\n"
                                  "5 state 9 1 4 0123456789abcdef\n"
                                  "86 key 50\n"
                                  "86 special 103\n"
                                  "86 pad leftX=0.12345679 rightY=-1e-40 dpadY=-1 pressed=5\n"
                                  "90 pad leftX=-0 pressed=0 disconnected=1\n"
                                  "400 state 7 0 -3 fedcba9876543210\n"
                                  "401 key 113\n"
                                  "end 400 " +
                                  Sum + "\n";

struct BadText {
    const char* what;
    ReplayText kind;
    std::string text;
    int line;
    const char* message; // a part of the message
};

const BadText BadTexts[] = {
    {"empty", ReplayText::Recording, "", 1, "inside its header"},
    {"other format", ReplayText::Recording, "hello 1\n", 1, "not a replay"},
    {"newer version", ReplayText::Recording, "tumbra-replay 4\n", 1, "version 4"},
    {"version 01", ReplayText::Recording, "tumbra-replay 01\n", 1, "version 01"},
    {"stage start in version 1", ReplayText::Recording,
     "tumbra-replay 1\ngame 1\nstart stage 3 level 0\n", 3, "start title"},
    {"start stage 23", ReplayText::Recording, "tumbra-replay 2\ngame 1\nstart stage 23 level 0\n",
     3, "start stage"},
    {"start level 11", ReplayText::Recording, "tumbra-replay 2\ngame 1\nstart stage 1 level 11\n",
     3, "start level"},
    {"title-game start in version 2", ReplayText::Recording,
     "tumbra-replay 2\ngame 1\nstart title-game level 0\n", 3, "or \"start stage N level L\""},
    {"title-game start at level 11", ReplayText::Recording,
     "tumbra-replay 3\ngame 1\nstart title-game level 11\n", 3, "start level"},
    {"title-game start at a stage", ReplayText::Recording,
     "tumbra-replay 3\ngame 1\nstart title-game stage 2 level 0\n", 3, "title-game level L"},
    {"no game line", ReplayText::Recording, "tumbra-replay 1\nstart title\n", 2, "game VERSION"},
    {"other start", ReplayText::Recording, "tumbra-replay 1\ngame 1\nstart stage\n", 3, "start"},
    {"cut short", ReplayText::Recording, Header + "5 key 56", 4, "cut short"},
    {"key code", ReplayText::Recording, Header + "5 key 256\n", 4, "key code"},
    {"Escape", ReplayText::Recording, Header + "5 key 27\n", 4, "Escape"},
    {"frame 0", ReplayText::Recording, Header + "0 key 56\n", 4, "frame"},
    {"absurd frame", ReplayText::Recording, Header + "99999999999 key 56\n", 4, "frame"},
    {"negative frame", ReplayText::Recording, Header + "-5 key 56\n", 4, "frame"},
    {"out of order", ReplayText::Recording, Header + "6 key 56\n5 key 50\n", 5, "order"},
    {"input after its state line", ReplayText::Recording,
     Header + "5 state 9 1 4 " + Sum + "\n5 key 50\n", 5, "order"},
    {"two state lines", ReplayText::Recording,
     Header + "5 state 9 1 4 " + Sum + "\n5 state 9 1 4 " + Sum + "\n", 5, "second"},
    {"state number", ReplayText::Recording, Header + "5 state 10 1 4 " + Sum + "\n", 4, "state"},
    {"stage number", ReplayText::Recording, Header + "5 state 9 24 4 " + Sum + "\n", 4, "stage"},
    {"short checksum", ReplayText::Recording, Header + "5 state 9 1 4 ff\n", 4, "checksum"},
    {"upper-case checksum", ReplayText::Recording, Header + "end 0 00000000000000FF\n", 4,
     "checksum"},
    {"unknown kind", ReplayText::Recording, Header + "5 jump 3\n", 4, "unknown"},
    {"two spaces", ReplayText::Recording, Header + "5  key 56\n", 4, "single spaces"},
    {"tab", ReplayText::Recording, Header + "5\tkey 56\n", 4, "printable"},
    {"line of 201", ReplayText::Recording, Header + std::string(201, '#') + "\n", 4, "longer"},
    {"frame past the limit", ReplayText::Recording, Header + "2592001 key 56\n", 4, "frame"},
    {"end past the limit", ReplayText::Recording, Header + "end 2592001 " + Sum + "\n", 4,
     "frame count"},
    {"input after the end", ReplayText::Recording, Header + "6 key 56\nend 4 " + Sum + "\n", 5,
     "earlier"},
    {"state after the end", ReplayText::Recording,
     Header + "5 state 9 1 4 " + Sum + "\nend 4 " + Sum + "\n", 5, "earlier"},
    {"line after the end", ReplayText::Recording, Header + "end 4 " + Sum + "\n5 key 56\n", 5,
     "follow"},
    {"pad name", ReplayText::Recording, Header + "5 pad leftZ=1\n", 4, "NAME=VALUE"},
    {"pad value without name", ReplayText::Recording, Header + "5 pad 1\n", 4, "NAME=VALUE"},
    {"pad value twice", ReplayText::Recording, Header + "5 pad dpadX=1 dpadX=0\n", 4, "twice"},
    {"stick beyond 1", ReplayText::Recording, Header + "5 pad rightX=1.0001\n", 4, "rightX"},
    {"stick no number", ReplayText::Recording, Header + "5 pad leftY=nan\n", 4, "leftY"},
    {"stick infinite", ReplayText::Recording, Header + "5 pad leftY=-inf\n", 4, "leftY"},
    {"stick trailing text", ReplayText::Recording, Header + "5 pad leftY=0.5x\n", 4, "leftY"},
    {"D-pad 2", ReplayText::Recording, Header + "5 pad dpadY=2\n", 4, "dpadY"},
    {"unknown button", ReplayText::Recording, Header + "5 pad pressed=32\n", 4, "pressed"},
    {"disconnected 2", ReplayText::Recording, Header + "5 pad disconnected=2\n", 4, "disconnected"},
    {"no pad value", ReplayText::Recording, Header + "5 pad\n", 4, "expected"},
    {"two pad lines", ReplayText::Recording, Header + "5 pad dpadX=1\n5 pad dpadY=1\n", 5,
     "second"},
    {"pad after its state line", ReplayText::Recording,
     Header + "5 state 9 1 4 " + Sum + "\n5 pad dpadX=1\n", 5, "order"},
    {"pad after the end", ReplayText::Recording, Header + "5 pad dpadX=1\nend 4 " + Sum + "\n", 5,
     "earlier"},
    {"state line in an event list", ReplayText::EventList, "5 state 9 1 4 " + Sum + "\n", 1,
     "expected"},
    {"header in an event list", ReplayText::EventList, Header, 1, "expected"},
};

TEST(ReplayFile, BadTextIsRefusedWithItsLineAndOneLineReason) {
    for (const BadText& bad : BadTexts) {
        Replay replay;
        ReplayError error;
        EXPECT_FALSE(parseReplay(bad.text, bad.kind, replay, error)) << bad.what;
        EXPECT_EQ(error.line, bad.line) << bad.what << ": " << error.message;
        EXPECT_NE(error.message.find(bad.message), std::string::npos)
            << bad.what << ": " << error.message;
        EXPECT_EQ(error.message.find('\n'), std::string::npos) << bad.what;
    }
}

TEST(ReplayFile, GoodTextReadsBackAsWritten) {
    Replay replay;
    ReplayError error;
    ASSERT_TRUE(parseReplay(EdgeRecording, ReplayText::Recording, replay, error))
        << error.line << ": " << error.message;
    EXPECT_EQ(replay.lastFrame(), MaxReplayFrame);
    const std::string stageStart = "tumbra-replay 2\ngame 1.1\nstart stage 22 level 10\n";
    ASSERT_TRUE(parseReplay(stageStart, ReplayText::Recording, replay, error)) << error.message;
    EXPECT_EQ(replay.start, (ReplayStart{LastStage, MaxReplayWaitLevel}));
    EXPECT_EQ(formatReplay(replay), stageStart);
    const std::string titleGame = "tumbra-replay 3\ngame 1.1\nstart title-game level 10\n";
    ASSERT_TRUE(parseReplay(titleGame, ReplayText::Recording, replay, error)) << error.message;
    EXPECT_EQ(replay.start, (ReplayStart{FirstStage, MaxReplayWaitLevel, true}));
    EXPECT_EQ(formatReplay(replay), titleGame);

    ASSERT_TRUE(parseReplay(GoodRecording, ReplayText::Recording, replay, error))
        << error.line << ": " << error.message;
    EXPECT_EQ(replay.gameVersion, "1.0.0");
    EXPECT_EQ(replay.events, (std::vector<ReplayEvent>{{5, ReplayEvent::Key, 56},
                                                       {86, ReplayEvent::Key, 50},
                                                       {86, ReplayEvent::Special, 103},
                                                       {401, ReplayEvent::Key, 113}}));
    // Each pad line holds the whole pad after its changes, every float bit for bit.
    GamepadState pad;
    pad.leftX = 0.12345679f;
    pad.rightY = -1e-40f;
    pad.dpadY = -1;
    pad.pressed = GamepadSouth | GamepadStart;
    ASSERT_EQ(replay.pads.size(), 2u);
    EXPECT_TRUE(samePad(replay.pads[0].state, pad));
    EXPECT_EQ(replay.pads[0].frame, 86);
    pad.leftX = -0.0f;
    pad.pressed = 0;
    pad.disconnected = true;
    EXPECT_TRUE(samePad(replay.pads[1].state, pad));
    EXPECT_FALSE(samePad(replay.pads[0].state, GamepadState{}));
    ASSERT_EQ(replay.checks.size(), 2u);
    EXPECT_EQ(replay.checks[1], (ReplayCheck{400, {7, 0, -3}, 0xfedcba9876543210ull}));
    EXPECT_TRUE(replay.sealed);
    EXPECT_EQ(replay.lastFrame(), 400);
    EXPECT_EQ(replay.checksum, 0xffu);

    Replay again;
    ASSERT_TRUE(parseReplay(formatReplay(replay), ReplayText::Recording, again, error));
    EXPECT_EQ(again, replay);
    EXPECT_TRUE(samePad(again.pads[1].state, pad));
    // A pad line that changes nothing is not kept; a recording never writes one.
    std::string repeated = GoodRecording;
    repeated.insert(repeated.find("400 state"), "95 pad leftX=-0 dpadX=0\n");
    ASSERT_TRUE(parseReplay(repeated, ReplayText::Recording, again, error));
    EXPECT_EQ(again, replay);

    // Cut short before its end, a recording still plays up to its last line.
    const std::string cut = GoodRecording.substr(0, GoodRecording.find("401 key"));
    ASSERT_TRUE(parseReplay(cut, ReplayText::Recording, again, error));
    EXPECT_FALSE(again.sealed);
    EXPECT_EQ(again.lastFrame(), 400);
}

TEST(ReplayFile, APadIsBoundedToWhatAFileHolds) {
    GamepadState wild;
    wild.leftX = std::numeric_limits<float>::quiet_NaN();
    wild.leftY = -std::numeric_limits<float>::infinity();
    wild.rightX = 1.5f;
    wild.rightY = 0.25f;
    wild.dpadX = 3;
    wild.dpadY = -2;
    wild.pressed = 0xffu;
    GamepadState bounded;
    bounded.leftY = -1.0f;
    bounded.rightX = 1.0f;
    bounded.rightY = 0.25f;
    bounded.dpadX = 1;
    bounded.dpadY = -1;
    bounded.pressed = 31;
    EXPECT_TRUE(samePad(boundedPad(wild), bounded));
}

// The sticks' text is the replay file's own, kept byte for byte as std::to_chars wrote it and
// read bit for bit as std::from_chars read it, which recordings made with those hold.
// tumbra-float-text-sweep compares every float; these are the edges and a sample.
TEST(ReplayFile, SticksAreWrittenAndReadAsTheLibraryDid) {
    const std::pair<float, const char*> Edges[] = {
        {0.0f, "0"},
        {-0.0f, "-0"},
        {1.0f, "1"},
        {-1.0f, "-1"},
        {0x1p-149f, "1e-45"},                  // the smallest subnormal
        {-0x1.fffffcp-127f, "-1.1754942e-38"}, // the largest subnormal
        {0x1p-126f, "1.1754944e-38"},          // the smallest normal float
        {0x1p-96f, "1.2621775e-29"},           // shortest above the rounded decimal
        {0.0001f, "1e-04"},                    // scientific where shorter
        {0.00012f, "0.00012"},                 // fixed on a tie
        {0.75f, "0.75"},
        {0x1.fffffep-1f, "0.99999994"},
    };
    for (const auto& [value, text] : Edges) {
        EXPECT_EQ(floatText(value), text);
        float read = 2.0f;
        EXPECT_TRUE(readFloatText(text, read)) << text;
        EXPECT_EQ(floatBits(read), floatBits(value)) << text;
    }
    const auto libraryText = [](float value) {
        char text[64];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    };
    std::mt19937 random(20260115);
    std::uniform_int_distribution<std::uint32_t> bits(0, 0x3f800000u);
    for (int i = 0; i < 100000; ++i) {
        const float value = floatFromBits(bits(random) | (i % 2 == 0 ? 0 : 0x80000000u));
        ASSERT_EQ(floatText(value), libraryText(value)) << std::hexfloat << value;
    }
}

TEST(ReplayFile, StickTextIsReadWhereTheLibraryReadsIt) {
    const char* const Words[] = {
        "1",
        "-0",
        ".5",
        "5.",
        "00.5",
        "1E-2",
        "1.0e+00",
        "0e-50",
        "0e999999",
        "1e-40",
        "1.00000005960464477539062500", // halfway from 1 up: to the even significand
        "7.1e-46",
        "7e-46",
        "1e-50",
        "1e50",
        "-1e-999999",
        "+1",
        "1e",
        "1e+",
        "-",
        ".",
        "",
        "inf",
        "-infinity",
        "nan",
        "0x1p-3",
        "1.5.",
        "--1",
        "1e5e",
    };
    for (const char* word : Words) {
        const std::string_view text = word;
        float expected = 0.0f;
        const auto parsed = std::from_chars(text.data(), text.data() + text.size(), expected);
        const bool libraryReads =
            parsed.ec == std::errc{} && parsed.ptr == text.end() && std::isfinite(expected);
        float read = 0.0f;
        ASSERT_EQ(readFloatText(text, read), libraryReads) << word;
        if (libraryReads) {
            EXPECT_EQ(floatBits(read), floatBits(expected)) << word;
        }
    }
    // Refused within a recording, with the value's name.
    Replay replay;
    ReplayError error;
    EXPECT_FALSE(parseReplay(Header + "5 pad leftX=1e-50\n", ReplayText::Recording, replay, error));
    EXPECT_NE(error.message.find("leftX"), std::string::npos) << error.message;
}

// A file is read as it is: only a regular one, up to the size limit exactly.
TEST(ReplayFile, MissingOversizedAndIrregularFilesAreRefused) {
    Replay replay;
    ReplayError error;
    EXPECT_FALSE(loadReplay("/nonexistent/x.replay", ReplayText::Recording, replay, error));
    EXPECT_EQ(error.line, 0);
    EXPECT_NE(error.message.find("cannot open"), std::string::npos);

    const std::string path = testing::TempDir() + "limit_" + std::to_string(getpid());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_FALSE(loadReplay(path, ReplayText::Recording, replay, error)); // no hang
    EXPECT_NE(error.message.find("not a regular file"), std::string::npos) << error.message;
    std::remove(path.c_str());
    EXPECT_FALSE(loadReplay("/dev/null", ReplayText::Recording, replay, error));
    EXPECT_NE(error.message.find("not a regular file"), std::string::npos) << error.message;

    // Sparse files of zero bytes: at the limit the text is read (and refused for what it
    // holds), one byte over it is refused unread.
    for (const long size : {MaxReplayBytes, MaxReplayBytes + 1}) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(ftruncate(fileno(file), size), 0);
        std::fclose(file);
        EXPECT_FALSE(loadReplay(path, ReplayText::EventList, replay, error));
        const bool tooLarge = error.message.find("larger") != std::string::npos;
        EXPECT_EQ(tooLarge, size > MaxReplayBytes) << size << ": " << error.message;
        EXPECT_EQ(error.line, tooLarge ? 0 : 1) << error.message;
        std::remove(path.c_str());
    }
}

// One random change to a good text: a byte, a digit, a cut, a lost, doubled or swapped line.
std::string mutate(std::string text, std::mt19937& random) {
    const auto at = [&](std::size_t size) {
        return std::uniform_int_distribution<std::size_t>(0, size == 0 ? 0 : size - 1)(random);
    };
    const auto lineAround = [&](std::size_t pos) {
        const std::size_t start = text.rfind('\n', pos == 0 ? 0 : pos - 1);
        const std::size_t begin = start == std::string::npos || pos == 0 ? 0 : start + 1;
        const std::size_t end = text.find('\n', pos);
        return std::pair(begin, end == std::string::npos ? text.size() : end + 1);
    };
    const std::size_t pos = at(text.size());
    switch (random() % 7) {
    case 0:
        text[pos] = static_cast<char>(random());
        break;
    case 1:
        text[pos] = static_cast<char>('0' + random() % 10);
        break;
    case 2:
        text.insert(pos, std::to_string(random()));
        break;
    case 3:
        text.resize(pos);
        break;
    case 4: {
        const auto [begin, end] = lineAround(pos);
        text.erase(begin, end - begin);
        break;
    }
    case 5: {
        const auto [begin, end] = lineAround(pos);
        text.insert(begin, text.substr(begin, end - begin));
        break;
    }
    default: {
        const auto [begin, end] = lineAround(pos);
        const std::string line = text.substr(begin, end - begin);
        text.erase(begin, end - begin);
        const auto [otherBegin, otherEnd] = lineAround(at(text.size()));
        text.insert(otherBegin, line);
        break;
    }
    }
    return text;
}

// TUMBRA_FUZZ_ITERATIONS sets a longer run.
TEST(ReplayFile, MutatedRecordingsAreReadOrRefusedCleanly) {
    const char* setting = std::getenv("TUMBRA_FUZZ_ITERATIONS");
    const long iterations = setting != nullptr ? std::atol(setting) : 20000;
    std::mt19937 random(20240611);
    long refused = 0;
    for (long i = 0; i < iterations; ++i) {
        std::string text = GoodRecording;
        for (unsigned changes = 1 + random() % 3; changes > 0; --changes) {
            text = mutate(text, random);
        }
        Replay replay;
        ReplayError error;
        if (!parseReplay(text, ReplayText::Recording, replay, error)) {
            ++refused;
            const long lines = std::count(text.begin(), text.end(), '\n');
            ASSERT_GE(error.line, 1) << text;
            ASSERT_LE(error.line, lines + 1) << text;
            ASSERT_FALSE(error.message.empty());
            ASSERT_EQ(error.message.find('\n'), std::string::npos);
            continue;
        }
        // Whatever is read is sound: in time order, within the limits, and written back
        // as it reads.
        Replay again;
        ASSERT_TRUE(parseReplay(formatReplay(replay), ReplayText::Recording, again, error))
            << text << "\n"
            << error.message;
        ASSERT_EQ(again, replay) << text;
        ASSERT_EQ(formatReplay(again), formatReplay(replay)) << text;
    }
    EXPECT_GT(refused, iterations / 2);
    EXPECT_LT(refused, iterations);
}

} // namespace
