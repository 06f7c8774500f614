#include "platform/sdl_subsystems.h"

#include <SDL2/SDL.h>
#include <mutex>

namespace {

std::mutex sdlLock;

void discardLog(void*, int, SDL_LogPriority, const char*) {}

} // namespace

bool startSdlSubsystems(unsigned flags) {
    const std::lock_guard<std::mutex> held(sdlLock);
    // Without this SDL takes over SIGINT and SIGTERM, and the game could no longer be ended
    // from a terminal.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_LogSetOutputFunction(discardLog, nullptr);
    return SDL_InitSubSystem(flags) == 0;
}

void stopSdlSubsystems(unsigned flags) {
    const std::lock_guard<std::mutex> held(sdlLock);
    SDL_QuitSubSystem(flags);
}
