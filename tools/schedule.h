#pragma once

#include <GL/freeglut.h>
#include <iosfwd>
#include <string>
#include <vector>

// One input event: handed to onKeyboard (a key) or onSpecialKey (a special key) right before
// the idle call numbered `frame`.
struct KeyEvent {
    long frame;
    bool special;
    int code;
};

inline constexpr int ArrowLeft = GLUT_KEY_LEFT;
inline constexpr int ArrowUp = GLUT_KEY_UP;
inline constexpr int ArrowRight = GLUT_KEY_RIGHT;
inline constexpr int ArrowDown = GLUT_KEY_DOWN;
// A special key with no meaning in the game: it ends an arrow's rolling.
inline constexpr int StopRollingKey = GLUT_KEY_INSERT;

// "FRAME key CODE" or "FRAME special CODE".
std::string formatEvent(const KeyEvent& event);

// Reads a schedule: one event a line, in frame order; blank lines and lines starting with
// '#' are skipped. On a bad line returns false with a message that names the line.
bool readSchedule(std::istream& in, std::vector<KeyEvent>& events, std::string& error);
bool readScheduleFile(const std::string& path, std::vector<KeyEvent>& events, std::string& error);

// The game as the program starts it: the title over stage 0 with every global at its
// initial value, silent.
void startAtTitle();
// Runs the frame that loads `stage` (1 to 22) as the game does: a direction key on the title
// for stage 1, the end of the previous stage's clear for the others.
void loadStageAsGame(int stage);
// Hands the event to the key callback it names.
void press(const KeyEvent& event);
