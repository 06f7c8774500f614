#include "flow/frame_view.h"

#include "flow/motion.h"

#include "engine/game_state.h"
#include "engine/world.h"
#include "flow/window_keys.h"
#include "flow/window_view.h"
#include "player/records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr float CameraDistance = 50.0f;
// The HUD is placed from the edges of the view, which spans -10.125 to 10.125 at TextDepth.
constexpr double ViewEdge = 10.0;
constexpr double PlayerLineColumns = 15.0;

// The fly-in over the intro's countdown: from far away, edge-on and half a turn round, to
// the top view.
constexpr double PerIntroFrame = 0.016666666666666666; // 1/60
constexpr double IntroTipDegrees = -90.0;
constexpr double IntroSpinDegrees = 180.0;
constexpr double IntroDistancePerFrame = -0.4;

constexpr int CreditFramesPerPage = 200;

// A character width is one glyph advance at the near plane (40 away); the texts stand 45 away,
// where a glyph advance spans 45/40 character widths.
constexpr double GlyphAdvanceInCharWidths = 45.0 / 40.0;

// One line of a screen: its start in character widths and its row in line heights from the
// centre of the window.
struct ScreenLine {
    double column;
    double row;
    const char* text;
};

constexpr ScreenLine PauseLines[] = {{-2.5, 0.0, "PAUSE"}};
constexpr ScreenLine GameOverLines[] = {{-4.5, 0.0, "GAME OVER"}};
constexpr ScreenLine StageClearLines[] = {{-7.0, 0.0, "STAGE CLEAR !!"}};
constexpr ScreenLine GoLines[] = {{-2.5, 0.0, "GO !!"}};
constexpr ScreenLine ReadyLines[] = {{-3.5, 0.0, "READY ?"}};
constexpr ScreenLine AllClearLines[] = {{-9.0, 1.0, "CONGRATURATIONS !!"},
                                        {-6.0, -1.0, "ALL CLEAR !!"}};
constexpr ScreenLine TitleLines[] = {{-7.5, -1.0, "VELMORANDE 1997"}, {-3.0, 1.0, "Tumbra"}};

// Page p shows while countdown / 200 is p: the ending starts at 1200 (page 6, for that one
// frame) and ends on page 0, the title page. "STAGE DESIGN" stands at -5.5 widths like the
// eleven-character titles, though it has twelve.
constexpr ScreenLine CreditPages[][2] = {
    {{-3.0, 1.0, "Tumbra"}, {-7.5, -1.0, "VELMORANDE 1997"}},
    {{-5.5, 1.0, "PROGRAMMING"}, {-5.0, -1.0, "VELMORANDE"}},
    {{-8.0, 1.0, "SOUND EFFECT (?)"}, {-5.0, -1.0, "VELMORANDE"}},
    {{-5.5, 1.0, "STAGE DESIGN"}, {-5.0, -1.0, "VELMORANDE"}},
    {{-8.0, 1.0, "CHARACTER DESIGN"}, {-5.0, -1.0, "VELMORANDE"}},
    {{-5.5, 1.0, "GAME DESIGN"}, {-5.0, -1.0, "VELMORANDE"}},
    {{-5.5, 1.0, "GAME DESIGN"}, {-5.0, -1.0, "VELMORANDE"}},
};
constexpr int CreditPageCount = static_cast<int>(std::size(CreditPages));

void addText(FrameView& view, double x, double y, std::string text) {
    view.texts.push_back({static_cast<float>(x), static_cast<float>(y), std::move(text)});
}

// From the eye to the field's centre: the camera's distance, and during the intro the fly-in.
Placement cameraFor(const Moment& moment) {
    Placement camera;
    camera.move(0.0f, 0.0f, -CameraDistance);
    if (moment.intro) {
        const double frame = moment.introFrame;
        const float tip = static_cast<float>(frame * IntroTipDegrees * PerIntroFrame);
        const float spin = static_cast<float>(frame * IntroSpinDegrees * PerIntroFrame);
        const float distance = static_cast<float>(frame * IntroDistancePerFrame);
        camera.move(0.0f, 0.0f, distance);
        camera.turn(tip, 1.0f, 0.0f, 0.0f);
        camera.turn(spin, 0.0f, 0.0f, 1.0f);
    }
    return camera;
}

// Spare lives at the bottom right, the stage number at the top left.
void addHeadsUp(FrameView& view) {
    addText(view, ViewEdge - PlayerLineColumns * charWidth, lineHeight - ViewEdge,
            "PLAYER : " + std::string(static_cast<std::size_t>(std::max(lives - 1, 0)), 'P'));
    char number[4]; // stages 0 to 23; a larger number is cut short rather than overrun
    std::snprintf(number, sizeof number, "%d", stageNumber);
    addText(view, charWidth - ViewEdge, ViewEdge - lineHeight, std::string("STAGE : ") + number);
}

std::span<const ScreenLine> creditPage() {
    const int page = countdown / CreditFramesPerPage;
    if (page < 0 || page >= CreditPageCount) {
        return {};
    }
    return CreditPages[page];
}

std::span<const ScreenLine> centreLines() {
    if (paused) {
        return PauseLines;
    }
    switch (gameState) {
    case GameOver:
        return GameOverLines;
    case StageClear:
        return StageClearLines;
    case Reentry:
    case Go:
        return GoLines;
    case Ready:
        return ReadyLines;
    case AllClear:
        return AllClearLines;
    case Title:
        return TitleLines;
    case Ending:
        return creditPage();
    case Playing:
    case StageIntro:
        break;
    }
    return {};
}

void addCentreTexts(FrameView& view) {
    for (const ScreenLine& line : centreLines()) {
        addText(view, line.column * charWidth, line.row * lineHeight, line.text);
    }
}

// Shown for a while after the speed level changes, one star per level.
void addWaitIndicator(FrameView& view) {
    addText(view, charWidth - ViewEdge, lineHeight - ViewEdge,
            "WAIT : " + std::string(static_cast<std::size_t>(std::max(waitLevel, 0)), '*'));
}

// The records table over a black screen, centred, with its heading and how to leave.
FrameView recordsPage() {
    std::vector<std::string> lines = recordsTable(recordKeeper.records);
    lines.insert(lines.begin(), {"RECORDS", ""});
    lines.insert(lines.end(), {"", "PRESS ANY KEY"});
    std::size_t widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, line.size());
    }
    const double column = -0.5 * GlyphAdvanceInCharWidths * static_cast<double>(widest);
    double row = 0.5 * static_cast<double>(lines.size());
    FrameView view;
    view.showsWorld = false;
    for (std::string& line : lines) {
        addText(view, column * charWidth, row * lineHeight, std::move(line));
        row -= 1.0;
    }
    return view;
}

FrameView viewOf(const Moment& moment) {
    if (recordsPageShown()) {
        return recordsPage();
    }
    FrameView view;
    view.pose = moment.world;
    view.camera = cameraFor(moment);
    if (gameState != Title && gameState != Ending) {
        addHeadsUp(view);
    }
    addCentreTexts(view);
    if (waitShow > 0) {
        addWaitIndicator(view);
    }
    return view;
}

} // namespace

FrameView frameViewNow() {
    return viewOf(momentNow());
}

FrameView frameViewBetween(float blend) {
    return viewOf(momentBetween(blend));
}
