#pragma once

// Every input reaches the game flow through this door. Its source is chosen at start: the
// live window keys and pad, or a recording being played; a recorder may watch everything that
// passes. GLUT's key callbacks are the door's, and onIdle reads the door first in every frame.
#include "platform/gamepad.h"

class ReplayRecorder;

// Where a frame's input comes from.
class InputSource {
  public:
    virtual ~InputSource() = default;
    // Whether keys from the window reach the game; a replay takes only Escape.
    virtual bool takesWindowKeys() const = 0;
    // At the start of a frame: hands the flow this frame's keys through passKey and
    // passSpecialKey (window keys have passed already).
    virtual void startFrame() = 0;
    // Then the frame's pad.
    virtual GamepadState pad() = 0;
};

// The live source: the window's keys and the pad through gamepadInput.
InputSource& liveInput();
void setInputSource(InputSource& source);
InputSource& inputSource();
// The recorder that notes what passes; null for none.
void watchInput(ReplayRecorder* recorder);

// GLUT's key callbacks.
void doorKeyboard(unsigned char key, int x, int y);
void doorSpecialKey(int key, int x, int y);
// A key handed to the flow now, before its next frame (a recording's keys come this way).
void passKey(unsigned char key, int x, int y);
void passSpecialKey(int key, int x, int y);
// What onIdle reads first: this frame's keys go in, and its pad comes back.
GamepadState frameInput();
