#pragma once

// SDL is started in pieces: sound (possibly from a background thread) and gamepads. SDL's
// subsystem start and stop are not thread-safe, so every piece goes through these two
// functions, which take one lock. SDL never installs its signal handlers (the game must stay
// stoppable from a terminal) and its log is discarded (the game reports nothing).

// SDL_InitSubSystem(flags) under the lock; true on success.
bool startSdlSubsystems(unsigned flags);
// SDL_QuitSubSystem(flags) under the lock.
void stopSdlSubsystems(unsigned flags);
