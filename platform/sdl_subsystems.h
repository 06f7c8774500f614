#pragma once

// SDL is started in pieces: sound (possibly from a background thread) and gamepads. SDL's
// subsystem start and stop are not thread-safe, so every piece goes through these two
// functions, which take one lock. SDL never installs its signal handlers (the game must stay
// stoppable from a terminal) and its log is discarded (the game reports nothing).
//
// libSDL2 is loaded by the first start, on the sound's or the pad's thread, not at exec: it
// brings some 25 libraries of its own (PulseAudio, FLAC, Vorbis, systemd...), which the first
// frame need not wait for. Without it (or a function of it) the start fails, after one line on
// stderr: the game plays on silently and without a pad.
#include <SDL2/SDL.h>

// The SDL functions the game calls, from the library loaded at run time.
struct SdlFunctions {
    decltype(&SDL_SetHint) setHint;
    decltype(&SDL_LogSetOutputFunction) logSetOutputFunction;
    decltype(&SDL_InitSubSystem) initSubSystem;
    decltype(&SDL_QuitSubSystem) quitSubSystem;
    decltype(&SDL_TLSCleanup) tlsCleanup;
    decltype(&SDL_OpenAudioDevice) openAudioDevice;
    decltype(&SDL_PauseAudioDevice) pauseAudioDevice;
    decltype(&SDL_CloseAudioDevice) closeAudioDevice;
    decltype(&SDL_GetTicks64) getTicks64;
    decltype(&SDL_PeepEvents) peepEvents;
    decltype(&SDL_FlushEvents) flushEvents;
    decltype(&SDL_NumJoysticks) numJoysticks;
    decltype(&SDL_IsGameController) isGameController;
    decltype(&SDL_JoystickGetDeviceInstanceID) joystickGetDeviceInstanceID;
    decltype(&SDL_JoystickInstanceID) joystickInstanceID;
    decltype(&SDL_GameControllerOpen) gameControllerOpen;
    decltype(&SDL_GameControllerClose) gameControllerClose;
    decltype(&SDL_GameControllerFromInstanceID) gameControllerFromInstanceID;
    decltype(&SDL_GameControllerGetJoystick) gameControllerGetJoystick;
    decltype(&SDL_GameControllerGetAttached) gameControllerGetAttached;
    decltype(&SDL_GameControllerUpdate) gameControllerUpdate;
    decltype(&SDL_GameControllerGetAxis) gameControllerGetAxis;
    decltype(&SDL_GameControllerGetButton) gameControllerGetButton;
};

// SDL_InitSubSystem(flags) under the lock, libSDL2 loaded first if need be; true on success.
bool startSdlSubsystems(unsigned flags);
// SDL_QuitSubSystem(flags) under the lock.
void stopSdlSubsystems(unsigned flags);
// At the end of a thread of the game's own that used SDL: SDL frees the data it keeps for
// each thread (its error text) only for threads it made, or here.
void endSdlThread();
// The functions; only once a start has succeeded.
const SdlFunctions& sdl();
