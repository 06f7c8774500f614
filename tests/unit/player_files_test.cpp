// A player's files: nothing is ever lost. Atomic saves killed at any moment, bad and hostile
// files kept aside with the defaults used, a home that cannot be written, and the folders.
#include "app/player_files.h"
#include "app/records.h"
#include "app/settings.h"
#include "platform/user_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
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

// Every test runs in a home of its own.
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
    }
    void TearDown() override { std::system(("rm -rf " + home).c_str()); }

    std::string home;
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
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
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

// Bad and hostile files: one line naming the file, the defaults, the file kept aside.
TEST_F(PlayerFiles, ABadFileGivesTheDefaultsAndIsKeptAsideNeverOverwritten) {
    const std::string settings = settingsPath();
    const std::string records = recordsPath();
    const struct {
        std::string path;
        std::string text;
    } badFiles[] = {
        {settings, "speed_level = = 3"},
        {settings, "speed_level = \"fast\""},
        {settings, "speed_level = 11"},
        {settings, "window_size = 99"},
        {settings, "gamepad_dead_zone = 1.5"},
        {settings, "gamepad_dead_zone = nan"},
        {settings, "drawing = \"pretty\""},
        {settings, "sound = 1"},
        {settings, std::string("\x7f\x45LF\0\x01\xff", 7)},
        {settings, "sound = true\xc2\xa1"},
        {settings, std::string(PlayerFileLimit + 1, '#')},
        {records, "games_played = -1"},
        {records, "furthest_stage = 23"},
        {records, "[stages]\n3 = { frames = 0, lives_lost = 0 }"},
        {records, "[stages]\n3 = { frames = 10, lives_lost = 4 }"},
        {records, "[stages]\n3 = { frames = 10 }"},
        {records, "stages = 5"},
        {records, "best_game = { frames = 10, lives_lost = 67 }"},
    };
    const Settings defaults;
    for (const auto& bad : badFiles) {
        SCOPED_TRACE(bad.text.substr(0, 60));
        std::system(("rm -f " + bad.path + ".bad*").c_str());
        writeWhole(bad.path + ".bad", "kept before");
        writeWhole(bad.path, bad.text);
        testing::internal::CaptureStderr();
        recordKeeper.records = Records();
        if (bad.path == settings) {
            EXPECT_EQ(loadSettings(), defaults);
        } else {
            loadRecords();
            EXPECT_EQ(recordKeeper.records, Records());
        }
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(said.find("tumbra: " + bad.path + ": "), 0u) << said;
        EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
        EXPECT_FALSE(exists(bad.path));
        EXPECT_EQ(readWhole(bad.path + ".bad"), "kept before");
        EXPECT_EQ(readWhole(bad.path + ".bad.2"), bad.text);
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

TEST_F(PlayerFiles, WhatTheGameWritesItReadsBack) {
    Settings settings;
    settings.speedLevel = 7;
    settings.sound = false;
    settings.windowSize = 976;
    settings.classicFrames = true;
    settings.deadZone = 0.1;
    Settings read;
    std::string error;
    EXPECT_TRUE(parseSettings(formatSettings(settings), read, error)) << error;
    EXPECT_EQ(read, settings);
    Records records;
    records.gamesPlayed = 12;
    records.furthestStage = 22;
    records.bestGameFrames = 40000;
    records.bestGameLivesLost = 66;
    records.bestGameReplay = "20261207-150102-003.replay";
    records.stages[21] = {123, 3, "20261207-150102-004.replay"};
    Records readRecords;
    EXPECT_TRUE(parseRecords(formatRecords(records), readRecords, error)) << error;
    EXPECT_EQ(readRecords, records);
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

// A read-only or full home: the saves fail, each folder says so once (each game's replay is a
// new file), and nothing is broken.
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
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 3) << lines;
    EXPECT_NE(lines.find("cannot save " + kept + ": Permission denied"), std::string::npos);
    EXPECT_EQ(readWhole(kept), "speed_level = 3\n");

    // A full disk, as a file size limit: the old file stays, and no temporary file is left.
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
