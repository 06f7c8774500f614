#include "platform/sdl_subsystems.h"

#include "platform/shared_library.h"

#include <mutex>
#include <optional>

namespace {

constexpr const char* SdlLibraryName = "libSDL2-2.0.so.0";

std::mutex sdlLock;
// Set, under the lock, once the library is loaded with every function.
std::optional<SdlFunctions> functions;
bool loadTried = false;

void discardLog(void*, int, SDL_LogPriority, const char*) {}

bool bindAll(SharedLibrary& library, SdlFunctions& f) {
    return library.bind(f.setHint, "SDL_SetHint") &&
           library.bind(f.logSetOutputFunction, "SDL_LogSetOutputFunction") &&
           library.bind(f.initSubSystem, "SDL_InitSubSystem") &&
           library.bind(f.quitSubSystem, "SDL_QuitSubSystem") &&
           library.bind(f.tlsCleanup, "SDL_TLSCleanup") &&
           library.bind(f.openAudioDevice, "SDL_OpenAudioDevice") &&
           library.bind(f.pauseAudioDevice, "SDL_PauseAudioDevice") &&
           library.bind(f.closeAudioDevice, "SDL_CloseAudioDevice") &&
           library.bind(f.getTicks64, "SDL_GetTicks64") &&
           library.bind(f.peepEvents, "SDL_PeepEvents") &&
           library.bind(f.flushEvents, "SDL_FlushEvents") &&
           library.bind(f.numJoysticks, "SDL_NumJoysticks") &&
           library.bind(f.isGameController, "SDL_IsGameController") &&
           library.bind(f.joystickGetDeviceInstanceID, "SDL_JoystickGetDeviceInstanceID") &&
           library.bind(f.joystickInstanceID, "SDL_JoystickInstanceID") &&
           library.bind(f.gameControllerOpen, "SDL_GameControllerOpen") &&
           library.bind(f.gameControllerClose, "SDL_GameControllerClose") &&
           library.bind(f.gameControllerFromInstanceID, "SDL_GameControllerFromInstanceID") &&
           library.bind(f.gameControllerGetJoystick, "SDL_GameControllerGetJoystick") &&
           library.bind(f.gameControllerGetAttached, "SDL_GameControllerGetAttached") &&
           library.bind(f.gameControllerUpdate, "SDL_GameControllerUpdate") &&
           library.bind(f.gameControllerGetAxis, "SDL_GameControllerGetAxis") &&
           library.bind(f.gameControllerGetButton, "SDL_GameControllerGetButton");
}

// Under the lock. Tried once: a missing library is said once, whichever piece asks first.
bool loadSdl() {
    if (loadTried) {
        return functions.has_value();
    }
    loadTried = true;
    static SharedLibrary library(SdlLibraryName);
    SdlFunctions loaded{};
    if (!bindAll(library, loaded)) {
        library.sayMissing("no sound and no gamepad");
        return false;
    }
    functions = loaded;
    return true;
}

} // namespace

bool startSdlSubsystems(unsigned flags) {
    const std::lock_guard<std::mutex> held(sdlLock);
    if (!loadSdl()) {
        return false;
    }
    // Without this SDL takes over SIGINT and SIGTERM, and the game could no longer be ended
    // from a terminal.
    functions->setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    functions->logSetOutputFunction(discardLog, nullptr);
    return functions->initSubSystem(flags) == 0;
}

void stopSdlSubsystems(unsigned flags) {
    const std::lock_guard<std::mutex> held(sdlLock);
    if (functions) {
        functions->quitSubSystem(flags);
    }
}

void endSdlThread() {
    const std::lock_guard<std::mutex> held(sdlLock);
    if (functions) {
        functions->tlsCleanup();
    }
}

const SdlFunctions& sdl() {
    return *functions;
}
