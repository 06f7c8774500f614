// A player's files: nothing is ever lost. Atomic saves killed at any moment, bad and hostile
// files kept aside with every good value kept, a full disk, symbolic links, a home that cannot
// be written, and the folders.
#include "engine/game_state.h"
#include "flow/settings_in_play.h"
#include "platform/user_files.h"
#include "player/auto_replays.h"
#include "player/player_files.h"
#include "player/records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeWhole(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool isLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

// How the writer names the program in its lines: this test's name here, "tumbra" in the game.
std::string said(const std::string& line) {
    return std::string(program_invocation_short_name) + ": " + line + "\n";
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The names in `folder`, sorted: what a test expects the folder to hold.
std::vector<std::string> folderHolds(const std::string& folder) {
    std::vector<std::string> names = filesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::string> environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::nullopt : std::optional<std::string>(value);
}

void restoreEnvironment(const char* name, const std::optional<std::string>& value) {
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}

// Every test runs in a home of its own, and leaves the game's globals, the environment and
// the system calls of the writes as it found them.
class PlayerFiles : public testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/tumbra-files-XXXXXX";
        home = ::mkdtemp(name);
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_DATA_HOME");
        ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
        std::string error;
        ASSERT_TRUE(makeFolders(home + "/.config/tumbra", error)) << error;
        ASSERT_TRUE(makeFolders(home + "/.local/share/tumbra", error)) << error;
        forgetLoadedFiles();
        savedSettings = Settings();
    }
    void TearDown() override {
        finishSaving();
        fileCalls = systemFileCalls();
        std::system(("rm -rf " + home).c_str());
        forgetLoadedFiles();
        savedSettings = settingsBefore;
        recordKeeper = keeperBefore;
        gameState = gameStateBefore;
        stageNumber = stageBefore;
        restoreEnvironment("HOME", homeBefore);
        restoreEnvironment("XDG_DATA_HOME", dataBefore);
        restoreEnvironment("XDG_CONFIG_HOME", configBefore);
    }

    // Loading missing files makes the settings and records savable again, whatever an earlier
    // test loaded.
    static void forgetLoadedFiles() {
        loadSettings();
        recordKeeper.records = Records();
        loadRecords();
    }

    std::string home;
    const Settings settingsBefore = savedSettings;
    const RecordKeeper keeperBefore = recordKeeper;
    const GameState gameStateBefore = gameState;
    const int stageBefore = stageNumber;
    const std::optional<std::string> homeBefore = environment("HOME");
    const std::optional<std::string> dataBefore = environment("XDG_DATA_HOME");
    const std::optional<std::string> configBefore = environment("XDG_CONFIG_HOME");
};

TEST_F(PlayerFiles, FoldersFollowTheXdgVariablesAndUserDirs) {
    EXPECT_EQ(settingsPath(), home + "/.config/tumbra/settings.toml");
    EXPECT_EQ(recordsPath(), home + "/.local/share/tumbra/records.toml");
    EXPECT_EQ(screenshotFolder(), home + "/.local/share/tumbra/screenshots");
    ::setenv("XDG_DATA_HOME", "/data", 1);
    EXPECT_EQ(recordsPath(), "/data/tumbra/records.toml");
    EXPECT_EQ(picturesFolderIn("# x\nXDG_PICTURES_DIR=\"$HOME/Bilder\"\n", "/h"), "/h/Bilder");
    EXPECT_EQ(picturesFolderIn("XDG_PICTURES_DIR=\"/p/\"", "/h"), "/p");
    EXPECT_EQ(picturesFolderIn("XDG_PICTURES_DIR=\"$HOME/\"", "/h"), ""); // turned off
    EXPECT_EQ(picturesFolderIn("XDG_PICTURES_DIR=\"Pictures\"", "/h"), "");
    ::unsetenv("HOME");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(recordsPath(), "");
    // Without a home the game plays on, and says so once.
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSettings(), Settings());
    saveWindowSize(500);
    saveWindowSize(625);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lineCount(said), 1) << said;
}

// The writer is killed again and again in the middle of its saves: the file is always the old
// one or the new one, whole.
TEST_F(PlayerFiles, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
    const std::string path = home + "/saved";
    const std::string versions[] = {std::string(300000, 'a'), std::string(100000, 'b')};
    std::string error;
    ASSERT_TRUE(writeFileAtomically(path, versions[0], error)) << error;
    for (int round = 0; round < 40; ++round) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int i = 1;; ++i) {
                writeFileAtomically(path, versions[i % 2], error);
            }
        }
        ::usleep(static_cast<useconds_t>(round * 250));
        ::kill(writer, SIGKILL);
        ::waitpid(writer, nullptr, 0);
        const std::string found = readWhole(path);
        ASSERT_TRUE(found == versions[0] || found == versions[1]) << "round " << round;
    }
    // The next save clears what the killed writers left.
    ASSERT_TRUE(writeFileAtomically(path, versions[1], error)) << error;
    EXPECT_EQ(std::system(("ls " + path + ".tmp* 2>/dev/null").c_str()), 512);
}

// The clean-up before a save removes what dead writers left, never the temporary file of a
// game still running (this process, here).
TEST_F(PlayerFiles, TemporaryFilesOfAGameStillRunningAreSpared) {
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) {
        std::_Exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string folder = home + "/.local/share/tumbra";
    const std::string running = ".tmp" + std::to_string(::getpid()) + "-999";
    const std::string dead = ".tmp" + std::to_string(gone) + "-999";
    for (const char* name : {"records.toml", "20270115-080000-007.replay"}) {
        writeWhole(folder + "/" + name + running, "writing");
        writeWhole(folder + "/" + name + dead, "left behind");
    }
    std::string error;
    ASSERT_TRUE(writeFileAtomically(folder + "/records.toml", "games_played = 1\n", error));
    removeStaleTemporariesIn(folder);
    EXPECT_EQ(folderHolds(folder),
              (std::vector<std::string>{"20270115-080000-007.replay" + running, "records.toml",
                                        "records.toml" + running}));
}

// A file that is not TOML at all goes aside whole: one line naming it, the defaults, the file
// kept aside (never over an earlier copy) and the defaults saved in its place.
TEST_F(PlayerFiles, AFileThatIsNoTomlGoesAsideWhole) {
    const std::string settings = settingsPath();
    const std::string records = recordsPath();
    const struct {
        std::string path;
        std::string text;
    } badFiles[] = {
        {settings, "speed_level = = 3"},
        {settings, "[ }"},
        {settings, std::string("\x7f\x45LF\0\x01\xff", 7)},
        {settings, "sound = true\xc2\xa1"},
        {settings, std::string(PlayerFileLimit + 1, '#')},
        {records, "games_played = 3\n[stages\n"},
        {records, "games_played = 3\ngames_played = 4\n"},
    };
    for (const auto& bad : badFiles) {
        SCOPED_TRACE(bad.text.substr(0, 60));
        std::system(("rm -f " + bad.path + "*").c_str());
        writeWhole(bad.path + ".bad", "kept before");
        writeWhole(bad.path, bad.text);
        testing::internal::CaptureStderr();
        recordKeeper.records = Records();
        if (bad.path == settings) {
            EXPECT_EQ(loadSettings(), Settings());
        } else {
            loadRecords();
            EXPECT_EQ(recordKeeper.records, Records());
        }
        finishSaving();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("tumbra: " + bad.path + ": "), 0u) << said;
        EXPECT_NE(said.find("using the defaults, the file is kept as " + bad.path + ".bad.2"),
                  std::string::npos)
            << said;
        EXPECT_EQ(lineCount(said), 1) << said;
        EXPECT_EQ(readWhole(bad.path + ".bad"), "kept before");
        EXPECT_EQ(readWhole(bad.path + ".bad.2"), bad.text);
        EXPECT_EQ(readWhole(bad.path),
                  bad.path == settings ? formatSettings(Settings()) : formatRecords(Records()));
    }
}

// A FIFO in place of the settings is set aside at once, never waited on.
TEST_F(PlayerFiles, AFifoIsNeverWaitedOn) {
    ASSERT_EQ(::mkfifo(settingsPath().c_str(), 0600), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSettings(), Settings());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not a regular file"), std::string::npos);
    EXPECT_TRUE(exists(settingsPath() + ".bad"));
}

Settings settingsWith(void (*change)(Settings&)) {
    Settings settings;
    change(settings);
    return settings;
}

Records recordsWith(void (*change)(Records&)) {
    Records records;
    change(records);
    return records;
}

// One bad value refuses its key alone: one line naming the file, the key and why; every good
// value is kept, the file as it was is kept aside, and the values used are saved in its place.
TEST_F(PlayerFiles, ABadValueIsRefusedAloneAndEveryGoodValueKept) {
    const struct {
        std::string text;
        const char* key;
        Settings kept;
    } badSettings[] = {
        {"speed_level = 12\nwindow_size = 640\nsound = false\n", "'speed_level'",
         settingsWith([](Settings& s) {
             s.windowSize = 640;
             s.sound = false;
         })},
        {"gamepad_dead_zone = nan\nspeed_level = 4\n", "'gamepad_dead_zone'",
         settingsWith([](Settings& s) { s.speedLevel = 4; })},
        {"speed_level = \"fast\"\nfullscreen = true\n", "'speed_level'",
         settingsWith([](Settings& s) { s.fullscreen = true; })},
        {"window_size = 99\ndrawing = \"classic\"\n", "'window_size'",
         settingsWith([](Settings& s) { s.classicFrames = true; })},
        {"drawing = \"pretty\"\nspeed_level = 3\n", "'drawing'",
         settingsWith([](Settings& s) { s.speedLevel = 3; })},
        {"sound = 1\ngamepad_dead_zone = 0.5\n", "'sound'",
         settingsWith([](Settings& s) { s.deadZone = 0.5; })},
    };
    const std::string settings = settingsPath();
    for (const auto& bad : badSettings) {
        SCOPED_TRACE(bad.text);
        std::system(("rm -f " + settings + "*").c_str());
        writeWhole(settings, bad.text);
        testing::internal::CaptureStderr();
        EXPECT_EQ(loadSettings(), bad.kept);
        finishSaving();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("tumbra: " + settings + ": " + bad.key + " must be "), 0u) << said;
        EXPECT_NE(said.find("refused, keeping the other values, the file is kept as " + settings +
                            ".bad\n"),
                  std::string::npos)
            << said;
        EXPECT_EQ(lineCount(said), 1) << said;
        EXPECT_EQ(readWhole(settings + ".bad"), bad.text);
        EXPECT_EQ(readWhole(settings), formatSettings(bad.kept));
    }
}

// In the records, a stage's record (or the best game) with a bad part is refused whole, and
// the other records kept; a bad replay name loses the record only its file.
TEST_F(PlayerFiles, ABadRecordIsRefusedAloneAndEveryOtherKept) {
    const auto stageFour = [](Records& r) { r.stages[3] = {200, 0, ""}; };
    const struct {
        std::string text;
        const char* key;
        Records kept;
    } badRecords[] = {
        {"games_played = -1\nfurthest_stage = 5\n", "'games_played'",
         recordsWith([](Records& r) { r.furthestStage = 5; })},
        {"games_played = 3\nfurthest_stage = 23\n", "'furthest_stage'",
         recordsWith([](Records& r) { r.gamesPlayed = 3; })},
        {"games_played = 3\n[stages]\n3 = { frames = -5, lives_lost = 1 }\n"
         "4 = { frames = 200, lives_lost = 0 }\n",
         "stages.3: 'frames'", recordsWith([](Records& r) {
             r.gamesPlayed = 3;
             r.stages[3] = {200, 0, ""};
         })},
        {"[stages]\n3 = { frames = 10, lives_lost = 4 }\n4 = { frames = 200, lives_lost = 0 }\n",
         "stages.3: 'lives_lost'", recordsWith(stageFour)},
        {"[stages]\n3 = { frames = 10 }\n4 = { frames = 200, lives_lost = 0 }\n", "stages.3: needs",
         recordsWith(stageFour)},
        {"[stages]\n3 = 7\n4 = { frames = 200, lives_lost = 0 }\n", "'stages.3'",
         recordsWith(stageFour)},
        {"stages = 5\ngames_played = 2\n", "'stages'",
         recordsWith([](Records& r) { r.gamesPlayed = 2; })},
        {"best_game = { frames = 10, lives_lost = 67 }\ngames_played = 2\n",
         "best_game: ", recordsWith([](Records& r) { r.gamesPlayed = 2; })},
        {"[stages]\n4 = { frames = 200, lives_lost = 0, replay = \"../../notes\" }\n",
         "stages.4: 'replay'", recordsWith(stageFour)},
    };
    const std::string records = recordsPath();
    for (const auto& bad : badRecords) {
        SCOPED_TRACE(bad.text);
        std::system(("rm -f " + records + "*").c_str());
        writeWhole(records, bad.text);
        testing::internal::CaptureStderr();
        recordKeeper.records = Records();
        loadRecords();
        EXPECT_EQ(recordKeeper.records, bad.kept);
        finishSaving();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("tumbra: " + records + ": " + bad.key), 0u) << said;
        EXPECT_NE(said.find("the file is kept as " + records + ".bad\n"), std::string::npos)
            << said;
        EXPECT_EQ(lineCount(said), 1) << said;
        EXPECT_EQ(readWhole(records + ".bad"), bad.text);
        EXPECT_EQ(readWhole(records), formatRecords(bad.kept));
    }
}

// What each value's range allows, at its very edges, is read; one step past them is refused.
TEST_F(PlayerFiles, TheEdgesOfEveryRangeAreAccepted) {
    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"speed_level = 0", true},
        {"speed_level = 10", true},
        {"window_size = 100", true},
        {"window_size = 2000", true},
        {"gamepad_dead_zone = 0", true},
        {"gamepad_dead_zone = 0.9", true},
        {"speed_level = -1", false},
        {"speed_level = 11", false},
        {"window_size = 99", false},
        {"window_size = 2001", false},
        {"gamepad_dead_zone = -0.01", false},
        {"gamepad_dead_zone = 0.91", false},
        {"games_played = 0\nfurthest_stage = 0", true},
        {"games_played = 2000000000\nfurthest_stage = 22", true},
        {"[stages]\n1 = { frames = 1, lives_lost = 0 }", true},
        {"[stages]\n22 = { frames = 1000000000, lives_lost = 3 }", true},
        {"best_game = { frames = 1, lives_lost = 66 }", true},
        {"games_played = -1", false},
        {"games_played = 2000000001", false},
        {"furthest_stage = 23", false},
        {"[stages]\n1 = { frames = 0, lives_lost = 0 }", false},
        {"[stages]\n22 = { frames = 1000000001, lives_lost = 3 }", false},
        {"[stages]\n22 = { frames = 1, lives_lost = 4 }", false},
        {"best_game = { frames = 1, lives_lost = 67 }", false},
    };
    for (const auto& c : cases) {
        std::string error;
        std::vector<std::string> refused;
        Settings settings;
        Records records;
        ASSERT_TRUE(parseSettings(c.text, settings, error, refused)) << error;
        ASSERT_TRUE(parseRecords(c.text, records, error, refused)) << error;
        EXPECT_EQ(refused.empty(), c.accepted) << c.text;
    }
    // A dead zone is kept in hundredths, as the file is written.
    Settings settings;
    std::string error;
    std::vector<std::string> refused;
    ASSERT_TRUE(parseSettings("gamepad_dead_zone = 0.9", settings, error, refused));
    EXPECT_EQ(settings.deadZone, 0.9);
}

TEST_F(PlayerFiles, WhatTheGameWritesItReadsBack) {
    Settings settings;
    settings.speedLevel = 7;
    settings.sound = false;
    settings.windowSize = 976;
    settings.classicFrames = true;
    settings.deadZone = 0.1;
    Settings read;
    std::string error;
    std::vector<std::string> refused;
    EXPECT_TRUE(parseSettings(formatSettings(settings), read, error, refused)) << error;
    EXPECT_EQ(read, settings);
    Records records;
    records.gamesPlayed = 12;
    records.furthestStage = 22;
    records.bestGameFrames = 40000;
    records.bestGameLivesLost = 66;
    records.bestGameReplay = "20261207-150102-003.replay";
    records.stages[21] = {123, 3, "20261207-150102-004.replay"};
    Records readRecords;
    EXPECT_TRUE(parseRecords(formatRecords(records), readRecords, error, refused)) << error;
    EXPECT_EQ(readRecords, records);
    EXPECT_TRUE(refused.empty());
}

// The bad copies of a file: the last free name is used, and with every name taken the oldest
// gives way (said on stderr), the others move down one name, and the changes are still saved.
TEST_F(PlayerFiles, TheOldestBadCopyGivesWayWhenEveryNameIsTaken) {
    const std::string settings = settingsPath();
    const auto badName = [&settings](int number) {
        return settings + ".bad" + (number > 1 ? "." + std::to_string(number) : "");
    };
    for (int number = 1; number <= 9; ++number) {
        writeWhole(badName(number), "copy " + std::to_string(number));
    }
    testing::internal::CaptureStderr();
    writeWhole(settings, "speed_level = 12\nwindow_size = 300\n");
    loadSettings();
    finishSaving();
    EXPECT_EQ(readWhole(badName(10)), "speed_level = 12\nwindow_size = 300\n");
    EXPECT_EQ(readWhole(badName(1)), "copy 1");

    writeWhole(settings, "speed_level = 13\nwindow_size = 400\n");
    loadSettings();
    saveWindowSize(700);
    finishSaving();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("kept as " + badName(10) + " (" + badName(1) +
                        ", the oldest copy, gave way; the others moved down one name)\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(lineCount(said), 2) << said;
    for (int number = 1; number <= 8; ++number) {
        EXPECT_EQ(readWhole(badName(number)), "copy " + std::to_string(number + 1));
    }
    EXPECT_EQ(readWhole(badName(9)), "speed_level = 12\nwindow_size = 300\n");
    EXPECT_EQ(readWhole(badName(10)), "speed_level = 13\nwindow_size = 400\n");
    EXPECT_FALSE(exists(badName(11)));
    EXPECT_EQ(readWhole(settings),
              formatSettings(settingsWith([](Settings& s) { s.windowSize = 700; })));
}

// A file that could not first be set aside (here its folder takes no hard links) is never
// saved over: it stays as it was, whatever the game changes.
TEST_F(PlayerFiles, NothingIsSavedOverAFileThatCouldNotBeSetAside) {
    fileCalls.link = [](const char*, const char*) {
        errno = EPERM;
        return -1;
    };
    const std::string settings = settingsPath();
    const std::string records = recordsPath();
    writeWhole(settings, "speed_level = 12\nwindow_size = 300\n");
    writeWhole(records, "games_played = -3\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSettings().windowSize, 300);
    loadRecords();
    fileCalls = systemFileCalls();
    saveWindowSize(700);
    gameState = StageIntro; // a game starts, which counts
    stageNumber = 1;
    keepRecords(true);
    EXPECT_EQ(recordKeeper.records.gamesPlayed, 1);
    saveInBackground(home + "/other", "saved");
    finishSaving();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(settings + ": 'speed_level' must be a whole number from 0 to 10: "
                                   "refused, keeping the other values, and leaving the file as "
                                   "it is\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(lineCount(said), 2) << said;
    EXPECT_EQ(readWhole(settings), "speed_level = 12\nwindow_size = 300\n");
    EXPECT_EQ(readWhole(records), "games_played = -3\n");
    EXPECT_FALSE(exists(settings + ".bad"));
    EXPECT_EQ(readWhole(home + "/other"), "saved");
}

// `tumbra --records` changes nothing in the folder, even when the file is bad: it says what is
// wrong and shows the good values.
TEST_F(PlayerFiles, ShowingTheRecordsChangesNothing) {
    const std::string records = recordsPath();
    const std::string text = "games_played = 3\n[stages]\n3 = { frames = -5, lives_lost = 1 }\n"
                             "4 = { frames = 200, lives_lost = 0 }\n";
    writeWhole(records, text);
    const std::string shown = home + "/shown";
    std::FILE* out = std::fopen(shown.c_str(), "w");
    ASSERT_NE(out, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(printRecords(out), 0);
    std::fclose(out);
    finishSaving();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "tumbra: " + records +
                        ": stages.3: 'frames' must be a whole number from 1 to 1000000000: "
                        "refused, keeping the other values, and leaving the file as it is\n");
    EXPECT_EQ(folderHolds(home + "/.local/share/tumbra"), std::vector<std::string>{"records.toml"});
    EXPECT_EQ(readWhole(records), text);
    const std::string table = readWhole(shown);
    EXPECT_NE(table.find("GAMES PLAYED   3\n"), std::string::npos) << table;
    EXPECT_NE(table.find("    4    200    0"), std::string::npos) << table;
    EXPECT_EQ(recordKeeper.records, Records()); // what the game keeps is not touched
}

// A settings or records file that is a symbolic link (as dotfile managers keep them) is
// written through: the file at the end of the link is replaced beside itself, the link stays.
TEST_F(PlayerFiles, ASymbolicLinkIsWrittenThroughAndStays) {
    std::string error;
    ASSERT_TRUE(makeFolders(home + "/dotfiles/tumbra", error));
    const std::string target = home + "/dotfiles/tumbra/settings.toml";
    const std::string settings = settingsPath();
    writeWhole(target, "speed_level = 3\n");
    ASSERT_EQ(::symlink("../../dotfiles/tumbra/settings.toml", settings.c_str()), 0);
    EXPECT_EQ(loadSettings().speedLevel, 3);
    saveWindowSize(500);
    // A chain of two links, the last one dangling: the file it names is made.
    const std::string records = recordsPath();
    ASSERT_EQ(::symlink((home + "/dotfiles/records-link").c_str(), records.c_str()), 0);
    ASSERT_EQ(::symlink("tumbra/records.toml", (home + "/dotfiles/records-link").c_str()), 0);
    saveInBackground(records, "games_played = 4\n");
    finishSaving();
    EXPECT_TRUE(isLink(settings));
    EXPECT_TRUE(isLink(records));
    EXPECT_EQ(readWhole(target),
              formatSettings(settingsWith([](Settings& s) { s.windowSize = 500; })));
    EXPECT_EQ(readWhole(home + "/dotfiles/tumbra/records.toml"), "games_played = 4\n");
    EXPECT_EQ(folderHolds(home + "/dotfiles/tumbra"),
              (std::vector<std::string>{"records.toml", "settings.toml"}));
    EXPECT_EQ(folderHolds(home + "/.config/tumbra"), std::vector<std::string>{});

    // A bad file behind a link is set aside beside itself, and the link still leads to the
    // values the game uses.
    writeWhole(target, "speed_level = 12\nwindow_size = 640\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadSettings().windowSize, 640);
    finishSaving();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("kept as " + target + ".bad\n"),
              std::string::npos);
    EXPECT_TRUE(isLink(settings));
    EXPECT_EQ(readWhole(target + ".bad"), "speed_level = 12\nwindow_size = 640\n");
    EXPECT_EQ(readWhole(settings),
              formatSettings(settingsWith([](Settings& s) { s.windowSize = 640; })));
}

// The system calls of every write, in order, with the file or folder each one is about.
class CallLog {
  public:
    explicit CallLog(std::string home) : home(std::move(home)) {
        const FileCalls real = systemFileCalls();
        fileCalls.open = [this, real](const char* path, int flags, mode_t mode) {
            const int fd = real.open(path, flags, mode);
            names[fd] = shortName(path);
            add("open " + names[fd]);
            return fd;
        };
        fileCalls.write = [this, real](int fd, const void* data, std::size_t size) {
            add("write " + names[fd]);
            return real.write(fd, data, size);
        };
        fileCalls.fsync = [this, real](int fd) {
            add("fsync " + names[fd]);
            return real.fsync(fd);
        };
        fileCalls.close = [this, real](int fd) {
            add("close " + names[fd]);
            return real.close(fd);
        };
        fileCalls.rename = [this, real](const char* from, const char* to) {
            add("rename " + shortName(from) + " " + shortName(to));
            return real.rename(from, to);
        };
        fileCalls.link = [this, real](const char* from, const char* to) {
            add("link " + shortName(from) + " " + shortName(to));
            return real.link(from, to);
        };
        fileCalls.unlink = [this, real](const char* path) {
            add("unlink " + shortName(path));
            return real.unlink(path);
        };
    }
    ~CallLog() { fileCalls = systemFileCalls(); }
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    std::vector<std::string> taken() {
        std::lock_guard lock(mutex);
        return calls;
    }

  private:
    // The home's part of the path, with a temporary file's unique part as "TMP".
    std::string shortName(std::string path) const {
        path = path.substr(home.size());
        const std::size_t mark = path.find(".tmp");
        return mark == std::string::npos ? path : path.substr(0, mark) + ".TMP";
    }
    void add(const std::string& call) {
        std::lock_guard lock(mutex);
        calls.push_back(call);
    }

    std::string home;
    std::mutex mutex;
    std::vector<std::string> calls;
    std::map<int, std::string> names;
};

// The temporary file is synced before it takes the file's name, and the folder after, so that
// a crash or a power cut leaves the old file or the new one, whole.
TEST_F(PlayerFiles, TheTemporaryFileIsSyncedBeforeItsRenameAndTheFolderAfter) {
    CallLog log(home);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(home + "/saved", "new", error)) << error;
    saveNewFileInBackground(home + "/shot.png", [] { return std::string("picture"); });
    testing::internal::CaptureStderr();
    finishSaving();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(log.taken(),
              (std::vector<std::string>{"open /saved.TMP", "write /saved.TMP", "fsync /saved.TMP",
                                        "close /saved.TMP", "rename /saved.TMP /saved", "open ",
                                        "fsync ", "close ", "open /shot.png.TMP",
                                        "write /shot.png.TMP", "fsync /shot.png.TMP",
                                        "close /shot.png.TMP", "link /shot.png.TMP /shot.png",
                                        "unlink /shot.png.TMP", "open ", "fsync ", "close "}));
}

// A new file (a screenshot) never replaces one that appeared under its name while it was
// made: it takes the next free name.
TEST_F(PlayerFiles, ANewFileNeverReplacesOneThatAppearedMeanwhile) {
    const std::string shot = home + "/pictures.d/shot";
    std::string error;
    ASSERT_TRUE(makeFolders(home + "/pictures.d", error));
    writeWhole(home + "/pictures.d/shot-2", "an older one");
    saveNewFileInBackground(shot, [shot] {
        writeWhole(shot, "another game's");
        return std::string("ours");
    });
    testing::internal::CaptureStderr();
    finishSaving();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), said("saved " + home + "/pictures.d/shot-3"));
    EXPECT_EQ(readWhole(shot), "another game's");
    EXPECT_EQ(readWhole(home + "/pictures.d/shot-2"), "an older one");
    EXPECT_EQ(readWhole(home + "/pictures.d/shot-3"), "ours");
}

// Writes that fail with `failure` while `full` is set, as on a full disk.
class FullDisk {
  public:
    explicit FullDisk(int failure) {
        fileCalls.write = [this, failure, real = systemFileCalls().write](
                              int fd, const void* data, std::size_t size) -> ssize_t {
            if (full) {
                errno = failure;
                return -1;
            }
            return real(fd, data, size);
        };
    }
    ~FullDisk() { fileCalls = systemFileCalls(); }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    std::atomic<bool> full{true};
};

// A full disk: what could not be saved is kept and written at the next save once there is
// room; said once when saving first fails and once when it works again.
TEST_F(PlayerFiles, AFullDiskKeepsWhatCouldNotBeSavedUntilThereIsRoom) {
    FullDisk disk(ENOSPC);
    const std::string settings = settingsPath();
    const std::string records = recordsPath();
    const std::string replay = replaysFolder() + "/20270115-080000-007.replay";
    const std::string shot = screenshotFolder() + "/shot.png";
    testing::internal::CaptureStderr();
    saveInBackground(records, "games_played = 1\n");
    saveInBackground(settings, "speed_level = 1\n");
    saveInBackground(replay, "the game");
    saveNewFileInBackground(shot, [] { return std::string("picture"); });
    finishSaving();
    saveInBackground(records, "games_played = 2\n");
    finishSaving();
    const std::string keptLine = "it is kept, and what cannot be saved is tried again at each "
                                 "save and at exit";
    std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, said("cannot save " + records + ": No space left on device; " + keptLine));
    EXPECT_EQ(folderHolds(home + "/.local/share/tumbra"), std::vector<std::string>{});
    EXPECT_EQ(folderHolds(replaysFolder()), std::vector<std::string>{});

    disk.full = false;
    testing::internal::CaptureStderr();
    saveInBackground(settings, "speed_level = 2\n");
    finishSaving();
    lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, said("saved " + shot) + said("saving works again: everything kept is saved"));
    EXPECT_EQ(readWhole(settings), "speed_level = 2\n");
    EXPECT_EQ(readWhole(records), "games_played = 2\n");
    EXPECT_EQ(readWhole(replay), "the game");
    EXPECT_EQ(readWhole(shot), "picture");

    // Full again, and a file size limit this time: said again, once.
    FullDisk limit(EFBIG);
    testing::internal::CaptureStderr();
    saveInBackground(records, "games_played = 3\n");
    saveInBackground(settings, "speed_level = 3\n");
    finishSaving();
    limit.full = false;
    saveInBackground(settings, "speed_level = 4\n");
    finishSaving();
    lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, said("cannot save " + records + ": File too large; " + keptLine) +
                         said("saving works again: everything kept is saved"));
    EXPECT_EQ(readWhole(records), "games_played = 3\n");
    EXPECT_EQ(readWhole(settings), "speed_level = 4\n");
}

// At exit what is kept is tried once more: written when there is room by then, otherwise
// named on stderr as lost.
TEST_F(PlayerFiles, WhatIsKeptIsTriedAgainAtExit) {
    const std::string saidFile = home + "/said";
    for (const bool roomAtExit : {true, false}) {
        std::system(("rm -f " + recordsPath()).c_str());
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::freopen(saidFile.c_str(), "w", stderr);
            FullDisk disk(ENOSPC);
            saveInBackground(recordsPath(), "games_played = 1\n");
            finishSaving();
            disk.full = !roomAtExit;
            std::exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        const std::string lines = readWhole(saidFile);
        EXPECT_EQ(lineCount(lines), 2) << lines;
        EXPECT_NE(lines.find(roomAtExit
                                 ? said("saving works again: everything kept is saved")
                                 : said("not saved, as saving still fails: " + recordsPath())),
                  std::string::npos)
            << lines;
        EXPECT_EQ(exists(recordsPath()), roomAtExit);
    }
}

// The replays kept while the disk is full and the pruning of old games agree: a replay not yet
// saved counts as there, so the folder ends as it would had the disk never been full (the last
// games), and a game pruned before it could be saved is never written.
TEST_F(PlayerFiles, ThePruningCountsTheReplaysNotYetSaved) {
    const auto game = [](int number) { return autoReplayName(1'800'000'000 + number, 7); };
    const std::string folder = replaysFolder();
    std::string error;
    ASSERT_TRUE(makeFolders(folder, error));
    for (int number = 1; number <= LastGamesKept; ++number) {
        writeWhole(folder + "/" + game(number), "saved");
    }
    FullDisk disk(ENOSPC);
    testing::internal::CaptureStderr();
    saveInBackground(folder + "/" + game(0), "older than all");
    saveInBackground(folder + "/" + game(21), "unsaved");
    saveInBackground(folder + "/" + game(22), "latest");
    workInBackground([folder, latest = game(22)] { pruneReplays(folder, {latest}); });
    finishSaving();
    disk.full = false;
    saveInBackground(settingsPath(), "speed_level = 1\n");
    finishSaving();
    testing::internal::GetCapturedStderr();
    std::vector<std::string> lastGames;
    for (int number = 3; number <= 22; ++number) {
        lastGames.push_back(game(number));
    }
    EXPECT_EQ(folderHolds(folder), lastGames);
    EXPECT_EQ(readWhole(folder + "/" + game(22)), "latest");
}

// Runs `body` in a child process as the ordinary user "nobody" (root ignores permissions),
// with stderr into `said`; the child's status says whether its expectations held.
template <typename Body> void asNobody(const std::string& said, Body body) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::freopen(said.c_str(), "w", stderr);
        constexpr uid_t Nobody = 65534;
        const bool held = ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 && body();
        std::fflush(stderr);
        std::_Exit(held ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A read-only home: the saves fail, said once for all of them (each game's replay is a new
// file), and nothing is broken.
TEST_F(PlayerFiles, AHomeThatCannotBeWrittenIsSaidOnceAndLosesNothing) {
    const std::string said = home + "/said";
    const std::string kept = settingsPath();
    writeWhole(kept, "speed_level = 3\n");
    ::chmod(home.c_str(), 0755);
    asNobody(said, [&] {
        for (int i = 0; i < 3; ++i) {
            saveInBackground(kept, "speed_level = 4\n");
            saveInBackground(recordsPath(), "games_played = 1\n");
            saveInBackground(replaysFolder() + "/" + std::to_string(i) + ".replay", "x");
        }
        finishSaving();
        return true;
    });
    const std::string lines = readWhole(said);
    EXPECT_EQ(lineCount(lines), 1) << lines;
    EXPECT_NE(lines.find("cannot save " + kept + ": Permission denied"), std::string::npos);
    EXPECT_EQ(readWhole(kept), "speed_level = 3\n");

    // A file size limit: the old file stays, and no temporary file is left.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        std::string error;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::_Exit(writeFileAtomically(kept, std::string(5000, '#'), error) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readWhole(kept), "speed_level = 3\n");
    EXPECT_EQ(std::system(("ls " + kept + ".tmp* 2>/dev/null").c_str()), 512);
}

} // namespace
