// The beep on SDL's audio subsystem. The game keeps its GLUT window; SDL only plays sound.
#include "platform/beep.h"

#include "platform/sdl_subsystems.h"
#include "platform/tone.h"

#include <SDL2/SDL.h>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace {

constexpr int WantedSampleRate = 48000;
// About 11 ms at 48 kHz: a beep starts within one buffer of being asked for.
constexpr Uint16 BufferSamples = 512;

SDL_AudioDeviceID device = 0;
// Touched only by the audio thread once the device runs.
std::optional<ToneGenerator> tone;
// The pitch of a beep asked for and not yet started; 0 = none. Handing it over through an
// atomic keeps beep() free of locks and waits.
std::atomic<int> pendingPitch{0};

void SDLCALL fillAudio(void*, Uint8* stream, int bytes) {
    const int pitch = pendingPitch.exchange(0);
    if (pitch > 0) {
        tone->start(pitch);
    }
    tone->render(reinterpret_cast<float*>(stream), bytes / static_cast<int>(sizeof(float)));
}

// ALSA reports a missing sound card on stderr by itself; the game stays silent instead.
class MutedStderr {
  public:
    MutedStderr() : saved(dup(STDERR_FILENO)) {
        const int null = open("/dev/null", O_WRONLY);
        if (saved >= 0 && null >= 0) {
            std::fflush(stderr);
            dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            close(null);
        }
    }
    ~MutedStderr() {
        if (saved >= 0) {
            std::fflush(stderr);
            dup2(saved, STDERR_FILENO);
            close(saved);
        }
    }
    MutedStderr(const MutedStderr&) = delete;
    MutedStderr& operator=(const MutedStderr&) = delete;

  private:
    int saved;
};

SDL_AudioDeviceID openDevice() {
    SDL_AudioSpec wanted{};
    wanted.freq = WantedSampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 1;
    wanted.samples = BufferSamples;
    wanted.callback = fillAudio;
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID opened =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (opened != 0) {
        tone.emplace(obtained.freq);
    }
    return opened;
}

} // namespace

bool openBeep() {
    if (device != 0) {
        return true;
    }
    const MutedStderr muted;
    if (!startSdlSubsystems(SDL_INIT_AUDIO)) {
        return false;
    }
    device = openDevice();
    if (device == 0) {
        stopSdlSubsystems(SDL_INIT_AUDIO);
        return false;
    }
    pendingPitch.store(0);
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void beep(int pitchHz) {
    if (device != 0 && pitchHz > 0) {
        pendingPitch.store(pitchHz);
    }
}

void closeBeep() {
    if (device == 0) {
        return;
    }
    SDL_CloseAudioDevice(device);
    device = 0;
    stopSdlSubsystems(SDL_INIT_AUDIO);
}
