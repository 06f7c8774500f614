#include "flow_driver.h"

#include <bit>
#include <cmath>
#include <cstdint>

namespace {

constexpr int F1 = 1; // a special key with no meaning in the game

constexpr int FlatKind = 1;
constexpr float ProbeFieldSize = 10.0f;
constexpr int PlayerCode = 1;

// Per frame of input, at rest on a level field: the keypad changes a tilt rate by
// tiltGain / tiltInertia x 0.1 = 0.75, the arrows the player's speed by 55 / 2.2 x 0.1 = 2.5.
constexpr float PadRatePerFrame = 0.75f;
constexpr float ArrowSpeedPerFrame = 2.5f;

struct Inputs {
    int padX;
    int padY;
    int arrowX;
    int arrowY;
    bool operator==(const Inputs&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Inputs& in) {
    return out << "pad (" << in.padX << ", " << in.padY << ") arrow (" << in.arrowX << ", "
               << in.arrowY << ")";
}

int reading(float value, float perUnit) {
    return static_cast<int>(std::lround(value / perUnit));
}

class GameFlow : public FlowDriver {
  protected:
    // A lone player on a level flat field, being played: the field's tilt rates and the
    // player's speed after one frame show which inputs that frame passed to the world.
    static void playAlone() {
        static const RosterEntry alone[RosterRows] = {{PlayerCode, 0.0f, 0.0f}};
        stageNumber = 1;
        gameWorld.setupField(FlatKind, ProbeFieldSize);
        gameWorld.createRoster(alone);
        gameState = Playing;
    }

    static Inputs probeFrame() {
        World& w = gameWorld;
        w.tiltX = w.tiltY = w.tiltRateX = w.tiltRateY = 0.0f;
        Ball& player = *w.balls[0];
        player.position = Vector3f(0.0f, 0.0f, player.radius);
        player.velocity = ZeroVector;
        player.stunFrames = 0;
        frame();
        return {reading(w.tiltRateY, PadRatePerFrame), reading(-w.tiltRateX, PadRatePerFrame),
                reading(player.velocity.x, ArrowSpeedPerFrame),
                reading(player.velocity.y, ArrowSpeedPerFrame)};
    }
};

} // namespace

TEST_F(GameFlow, DigitsTipTheFieldInTheKeypadLayout) {
    playAlone();
    const struct {
        unsigned char key;
        Inputs expected;
    } table[] = {
        {'1', {-1, -1, 0, 0}}, {'2', {0, -1, 0, 0}}, {'3', {1, -1, 0, 0}},
        {'4', {-1, 0, 0, 0}},  {'5', {0, 0, 0, 0}},  {'6', {1, 0, 0, 0}},
        {'7', {-1, 1, 0, 0}},  {'8', {0, 1, 0, 0}},  {'9', {1, 1, 0, 0}},
    };
    for (const auto& row : table) {
        press(row.key);
        EXPECT_EQ(probeFrame(), row.expected) << "key " << row.key;
    }
}

TEST_F(GameFlow, ADigitKeepsTippingUntilAnotherKeyReplacesIt) {
    playAlone();
    press('8');
    for (int n = 0; n < 5; ++n) {
        EXPECT_EQ(probeFrame(), (Inputs{0, 1, 0, 0})) << "frame " << n;
    }
    // "5", the window keys, a speed key and keys without a meaning all replace it.
    const unsigned char replacing[] = {'5', 'e', 'r', 's', 'z', 200};
    for (unsigned char key : replacing) {
        press('3');
        EXPECT_EQ(probeFrame(), (Inputs{1, -1, 0, 0}));
        press(key);
        EXPECT_EQ(probeFrame(), (Inputs{0, 0, 0, 0})) << "key " << int(key);
        EXPECT_EQ(probeFrame(), (Inputs{0, 0, 0, 0})) << "key " << int(key);
    }
}

TEST_F(GameFlow, AnArrowActsUntilAnotherSpecialKey) {
    playAlone();
    pressSpecial(RightKey);
    EXPECT_EQ(probeFrame(), (Inputs{0, 0, 1, 0}));
    press('x'); // ordinary keys leave the arrow alone
    press('7');
    EXPECT_EQ(probeFrame(), (Inputs{-1, 1, 1, 0}));
    pressSpecial(DownKey);
    EXPECT_EQ(probeFrame(), (Inputs{-1, 1, 0, -1}));
    pressSpecial(LeftKey);
    press('5');
    EXPECT_EQ(probeFrame(), (Inputs{0, 0, -1, 0}));
    pressSpecial(F1);
    EXPECT_EQ(probeFrame(), (Inputs{0, 0, 0, 0}));
    pressSpecial(UpKey);
    EXPECT_EQ(probeFrame(), (Inputs{0, 0, 0, 1}));
}

TEST_F(GameFlow, AStageLoadClearsTheStoredKeys) {
    playStage(1);
    gameState = StageClear;
    countdown = 0;
    pressSpecial(UpKey);
    press('8');
    frame();
    ASSERT_EQ(gameState, StageIntro);
    ASSERT_EQ(stageNumber, 2);
    playAlone();
    EXPECT_EQ(probeFrame(), (Inputs{0, 0, 0, 0}));
}

TEST_F(GameFlow, TitleStartsStageOneOnADirectionKey) {
    for (unsigned char key : {'1', '2', '3', '4', '6', '7', '8', '9'}) {
        SetUp();
        lives = 1; // the demonstration's falls count against the lives
        press(key);
        frame();
        EXPECT_EQ(gameState, StageIntro) << "key " << key;
        EXPECT_EQ(stageNumber, 1);
        EXPECT_EQ(countdown, 59);
        EXPECT_EQ(lives, StartingLives);
        ASSERT_EQ(gameWorld.ballCount, 3);
        // The starting frame only loads the stage: no world step, so nothing has moved yet.
        EXPECT_EQ(gameWorld.tiltRateX, 0.0f);
        EXPECT_EQ(gameWorld.tiltRateY, 0.0f);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(gameWorld.balls[i]->position.x, stageRoster[1][i].x) << "key " << key;
            EXPECT_EQ(gameWorld.balls[i]->position.y, stageRoster[1][i].y);
            EXPECT_EQ(gameWorld.balls[i]->velocity.length(), 0.0f);
        }
    }
    for (int key : {LeftKey, RightKey, UpKey, DownKey}) {
        SetUp();
        pressSpecial(key);
        frame();
        EXPECT_EQ(gameState, StageIntro) << "special key " << key;
        EXPECT_EQ(stageNumber, 1);
        EXPECT_EQ(lastSpecialKey, 0) << "the stage load clears the arrow";
    }
}

TEST_F(GameFlow, TitleIgnoresTheOtherKeys) {
    for (unsigned char key : {'s', 'f', 'p', 'q', '5', 'x'}) {
        SetUp();
        press(key);
        frames(3);
        EXPECT_EQ(gameState, Title) << "key " << key;
        EXPECT_EQ(stageNumber, 0);
        EXPECT_EQ(paused, 0);
    }
    pressSpecial(F1);
    frame();
    EXPECT_EQ(gameState, Title);
    // Giving up means nothing here, and the key stays stored.
    press('q');
    frame();
    EXPECT_EQ(lastKey, 'q');
}

TEST_F(GameFlow, TitleDemonstrationKeepsTheFieldLevelAndNeverBeeps) {
    for (int n = 0; n < 300; ++n) {
        beepRequest = 300; // as a collision would ask
        frame();
        ASSERT_EQ(gameWorld.tiltX, 0.0f);
        ASSERT_EQ(gameWorld.tiltY, 0.0f);
    }
    EXPECT_EQ(gameState, Title);
    EXPECT_TRUE(beepsHeard.empty());
}

TEST_F(GameFlow, SpeedKeysStepTheLevelOncePerPress) {
    for (int n = 1; n <= 11; ++n) {
        press('s');
        frames(2);
        EXPECT_EQ(waitLevel, std::min(n, 10));
    }
    EXPECT_EQ(waitShow, 10);
    press('f');
    frame();
    EXPECT_EQ(waitLevel, 9);
    EXPECT_EQ(waitShow, 13);
    waitLevel = 0;
    press('f');
    frame();
    EXPECT_EQ(waitLevel, 0);
    EXPECT_EQ(waitShow, 40);
}

TEST_F(GameFlow, AStageOpensWithIntroReadyAndGo) {
    press('8');
    ASSERT_EQ(framesUntilStateChanges(1), 1);
    EXPECT_EQ(gameState, StageIntro);
    EXPECT_EQ(framesUntilStateChanges(100), 60);
    EXPECT_EQ(gameState, Ready);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, Go);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, Playing);
}

TEST_F(GameFlow, TheWorldIsFrozenInIntroAndReadyButRunsInGo) {
    playStage(1);
    const Vector3f start = gameWorld.balls[1]->position;
    for (GameState state : {StageIntro, Ready}) {
        gameState = state;
        countdown = 10;
        frames(5);
        EXPECT_EQ(gameWorld.balls[1]->position.x, start.x) << "state " << state;
        EXPECT_EQ(gameWorld.balls[1]->position.y, start.y);
    }
    gameState = Go;
    frames(5);
    EXPECT_NE(gameWorld.balls[1]->position.x, start.x);
}

TEST_F(GameFlow, PauseFreezesTheStateButNotTheCountdown) {
    playStage(1);
    gameState = Ready;
    countdown = 20;
    press('p');
    frames(25);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(gameState, Ready);
    EXPECT_EQ(countdown, 0);
    press('p');
    frame();
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(gameState, Go) << "the frame that ends the pause already moves on";
}

TEST_F(GameFlow, PauseFreezesTheWorld) {
    playStage(1);
    frames(3);
    press('p');
    frame();
    const Vector3f before = gameWorld.balls[0]->position;
    const float tilt = gameWorld.tiltX;
    frames(10);
    EXPECT_EQ(gameWorld.balls[0]->position.x, before.x);
    EXPECT_EQ(gameWorld.balls[0]->position.y, before.y);
    EXPECT_EQ(gameWorld.tiltX, tilt);
}

TEST_F(GameFlow, GivingUpBeepsElevenTimesAndReturnsToTheTitleOnTheTenthFrame) {
    playStage(3);
    press('q');
    frame(); // the key's frame: game over, its handler already beeps
    EXPECT_EQ(gameState, GameOver);
    EXPECT_EQ(beepsHeard.size(), 1u);
    EXPECT_EQ(framesUntilStateChanges(100), 10);
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(beepsHeard, std::vector<int>(11, DefaultBeepPitch));
    EXPECT_EQ(stageNumber, 0);
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(gameWorld.ballCount, 8);
    frames(5);
    EXPECT_EQ(beepsHeard.size(), 11u) << "the title is silent";
}

TEST_F(GameFlow, GivingUpWhilePausedWaitsForTheEndOfThePause) {
    playStage(3);
    press('p');
    frame();
    press('q');
    frames(30);
    EXPECT_EQ(gameState, GameOver);
    EXPECT_EQ(countdown, 0);
    EXPECT_TRUE(beepsHeard.empty());
    press('p');
    frame();
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(beepsHeard.size(), 1u);
}

TEST_F(GameFlow, ClearingAStageBeepsTwentyTimesAndOpensTheNextWithFourLives) {
    playStage(1);
    lives = 2;
    dropBall(1);
    dropBall(2);
    frame();
    ASSERT_EQ(gameState, StageClear);
    EXPECT_EQ(countdown, 19);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, StageIntro);
    EXPECT_EQ(stageNumber, 2);
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(countdown, 59);
    EXPECT_EQ(beepsHeard, std::vector<int>(20, DefaultBeepPitch));
    EXPECT_EQ(gameWorld.ballCount, 5);
}

TEST_F(GameFlow, LosingTheLastLifeEndsTheGameAfterTwentyBeeps) {
    playStage(5);
    lives = 1;
    dropBall(0);
    frame();
    ASSERT_EQ(gameState, GameOver);
    EXPECT_EQ(lives, 0);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(beepsHeard.size(), 20u);
}

TEST_F(GameFlow, ALostLifeWithLivesLeftGoesToReentryAndBack) {
    playStage(1);
    dropBall(0);
    frame();
    EXPECT_EQ(gameState, Reentry);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, Playing);
}

TEST_F(GameFlow, TheLastOpponentFallingDuringGoClearsTheStage) {
    playStage(1);
    gameState = Go;
    countdown = 12;
    dropBall(2);
    dropBall(1);
    frame();
    EXPECT_EQ(gameState, StageClear);
    EXPECT_EQ(countdown, 19);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(stageNumber, 2);
}

TEST_F(GameFlow, TheLastLifeLostDuringGoEndsTheGame) {
    playStage(1);
    gameState = Go;
    countdown = 12;
    lives = 1;
    dropBall(0);
    frame();
    EXPECT_EQ(gameState, GameOver);
    EXPECT_EQ(countdown, 19);
    EXPECT_EQ(framesUntilStateChanges(100), 20);
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(lives, StartingLives);
}

TEST_F(GameFlow, ALifeLostDuringGoKeepsTheGoScreen) {
    playStage(1);
    gameState = Go;
    countdown = 12;
    dropBall(0);
    frame();
    EXPECT_EQ(gameState, Go);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(framesUntilStateChanges(100), 12);
    EXPECT_EQ(gameState, Playing);
    frame();
    EXPECT_EQ(gameState, Reentry) << "the world's re-entry phase still runs";
}

TEST_F(GameFlow, ClearingTheLastStageGoesStraightToAllClearThenTheEnding) {
    playStage(22);
    dropBall(1);
    frame();
    ASSERT_EQ(gameState, StageClear);
    frame();
    EXPECT_EQ(gameState, AllClear) << "no stage-clear frame after the last stage";
    EXPECT_TRUE(beepsHeard.empty());
    EXPECT_EQ(countdown, 18);
    std::vector<int> countdowns;
    while (gameState == AllClear && countdowns.size() < 100) {
        countdowns.push_back(countdown);
        const size_t heard = beepsHeard.size();
        frame();
        EXPECT_EQ(beepsHeard.size(), heard + (countdowns.back() < 10 ? 1 : 0))
            << "countdown " << countdowns.back();
    }
    EXPECT_EQ(countdowns.size(), 19u);
    // A rising scale on the last ten frames.
    EXPECT_EQ(beepsHeard,
              (std::vector<int>{200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800, 2000}));
    EXPECT_EQ(gameState, Ending);
    EXPECT_EQ(stageNumber, 23);
    EXPECT_EQ(countdown, 1199);
    EXPECT_EQ(gameWorld.ballCount, 1);
}

TEST_F(GameFlow, TheEndingWobblesTheFieldAndReturnsToTheTitle) {
    stageNumber = EndingStage;
    loadStage();
    gameState = Ending;
    countdown = 1199; // as the all-clear screen leaves it at the end of its last frame
    lives = 2;
    // One turn every 120 frames at 0.534 radians, written after the world step, so the
    // picture shows exactly this: the tilt after the frame that ran with countdown c.
    constexpr float Amplitude = 0.53407077f;
    constexpr float Diagonal = 0.37764506f; // at 45 degrees
    constexpr float NearX = 0.53333884f;    // 3 degrees off the x axis
    constexpr float NearY = 0.02795110f;
    const struct {
        int countdown;
        float tiltX;
        float tiltY;
    } table[] = {
        {1199, NearX, -NearY},  {960, Amplitude, 0.0f}, {135, Diagonal, Diagonal},
        {90, 0.0f, -Amplitude}, {60, -Amplitude, 0.0f}, {30, 0.0f, Amplitude},
        {1, NearX, NearY},
    };
    int frameCount = 0;
    for (const auto& row : table) {
        while (countdown > row.countdown && frameCount < 1200) {
            frame();
            ++frameCount;
        }
        ASSERT_EQ(countdown, row.countdown);
        frame();
        ++frameCount;
        EXPECT_NEAR(gameWorld.tiltX, row.tiltX, 1e-6f) << "countdown " << row.countdown;
        EXPECT_NEAR(gameWorld.tiltY, row.tiltY, 1e-6f) << "countdown " << row.countdown;
    }
    EXPECT_EQ(gameState, Ending);
    frame();
    EXPECT_EQ(frameCount + 1, 1200);
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(stageNumber, 0);
    EXPECT_EQ(lives, StartingLives);
    EXPECT_EQ(gameWorld.ballCount, 8);
}

// The ending's world takes no input: a digit or an arrow pressed during the credits stays
// stored but changes nothing, bit for bit.
TEST_F(GameFlow, KeysHeldDuringTheEndingChangeNothing) {
    const auto endingTrack = [this](unsigned char key, int special) {
        SetUp();
        playStage(22);
        dropBall(1);
        for (int n = 0; n < 30 && gameState != Ending; ++n) {
            frame();
        }
        EXPECT_EQ(gameState, Ending);
        if (key != 0) {
            press(key);
        }
        if (special != 0) {
            pressSpecial(special);
        }
        std::vector<float> track;
        for (int n = 0; n < 1200 && gameState == Ending; ++n) {
            frame();
            if (gameState != Ending) {
                break;
            }
            const World& w = gameWorld;
            const Ball& dummy = *w.balls[0];
            track.insert(track.end(),
                         {dummy.position.x, dummy.position.y, dummy.position.z, dummy.velocity.x,
                          dummy.velocity.y, w.tiltX, w.tiltY, w.tiltRateX, w.tiltRateY});
        }
        return track;
    };
    const std::vector<float> still = endingTrack(0, 0);
    ASSERT_EQ(still.size(), 9u * 1199u);
    // Where the Dummy ends the credits (x, y).
    EXPECT_NEAR(still[still.size() - 9], 4.35f, 0.01f);
    EXPECT_NEAR(still[still.size() - 8], 1.35f, 0.01f);
    const auto bits = [](const std::vector<float>& v) {
        std::vector<std::uint32_t> out;
        for (float f : v) {
            out.push_back(std::bit_cast<std::uint32_t>(f));
        }
        return out;
    };
    EXPECT_EQ(bits(endingTrack('7', 0)), bits(still)) << "the digit 7 held";
    EXPECT_EQ(bits(endingTrack(0, RightKey)), bits(still)) << "the right arrow held";
}

TEST_F(GameFlow, TheEndingBeepsOnCollisions) {
    stageNumber = EndingStage;
    loadStage();
    gameState = Ending;
    countdown = 100;
    beepRequest = -50; // as two heavy balls would ask
    frame();
    EXPECT_EQ(beepsHeard, std::vector<int>{DefaultBeepPitch});
}

TEST_F(GameFlow, ACollisionBeepsAtThePitchItAsksFor) {
    playStage(1);
    Ball& mars = *gameWorld.balls[1];
    mars.position = gameWorld.balls[0]->position + Vector3f(1.2f, 0.0f, 0.0f);
    frame();
    // 250 - 10 x (2.2 + 0.35 truncated)
    EXPECT_EQ(beepsHeard, std::vector<int>{230});
}

TEST_F(GameFlow, ABeepRequestInTheAudibleRangeIsItsPitch) {
    const struct {
        int request;
        int pitch;
    } table[] = {{99, DefaultBeepPitch},
                 {100, 100},
                 {4000, 4000},
                 {4001, DefaultBeepPitch},
                 {-50, DefaultBeepPitch}};
    for (const auto& row : table) {
        beepsHeard.clear();
        gameState = StageIntro; // the world is frozen and leaves the request alone
        countdown = 30;
        beepRequest = row.request;
        frame();
        EXPECT_EQ(beepsHeard, std::vector<int>{row.pitch}) << "request " << row.request;
    }
}

TEST_F(GameFlow, SilentOptionSilencesEveryBeep) {
    optSilent = 1;
    playStage(3);
    beepRequest = 500;
    frame();
    press('q');
    frames(12);
    ASSERT_EQ(gameState, Title);
    playStage(22);
    dropBall(1);
    frames(40);
    ASSERT_EQ(gameState, Ending);
    EXPECT_TRUE(beepsHeard.empty());
}

TEST_F(GameFlow, WindowKeysGiveSquareSizesWithinTheirLimits) {
    windowHeight = 300;
    std::vector<int> sizes;
    for (int n = 0; n < 9; ++n) {
        press('e');
        sizes.push_back(windowWidth);
        EXPECT_EQ(windowHeight, windowWidth);
    }
    EXPECT_EQ(sizes, (std::vector<int>{500, 625, 781, 976, 1220, 1525, 1906, 2000, 2000}));
    windowWidth = windowHeight = StartWindowSize;
    sizes.clear();
    for (int n = 0; n < 8; ++n) {
        press('r');
        sizes.push_back(windowWidth);
    }
    EXPECT_EQ(sizes, (std::vector<int>{320, 256, 204, 163, 130, 104, 100, 100}));
}

TEST_F(GameFlow, EscapeEndsTheProgramWithStatusOne) {
    EXPECT_EXIT(press(27), testing::ExitedWithCode(1), "");
}
