#pragma once

inline constexpr int StageCount = 24;
inline constexpr int RosterRows = 10;
inline constexpr int TitleStage = 0; // the demonstration behind the title screen
inline constexpr int FirstStage = 1;
inline constexpr int LastStage = 22;
inline constexpr int EndingStage = 23; // behind the credits

// One roster row: a character code (0 ends the roster) and its start in the field frame.
struct RosterEntry {
    int kind;
    float x;
    float y;
};

extern const int stageFieldKind[StageCount];
extern const float stageFieldSize[StageCount];
extern const RosterEntry stageRoster[StageCount][RosterRows];

// Builds the field and the balls of stage `stageNumber` and clears the stored keys.
void loadStage();
