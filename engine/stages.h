#pragma once

inline constexpr int TitleStage = 0; // the demonstration behind the title screen
inline constexpr int FirstStage = 1;
inline constexpr int LastStage = 22;               // the play stages are FirstStage to LastStage
inline constexpr int EndingStage = LastStage + 1;  // behind the credits
inline constexpr int StageCount = EndingStage + 1; // every stage the tables hold
inline constexpr int RosterRows = 10;

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
