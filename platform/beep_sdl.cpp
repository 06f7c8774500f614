// The beep on SDL's audio subsystem. The game keeps its GLUT window; SDL only plays sound.
#include "platform/beep.h"

#include "platform/sdl_subsystems.h"
#include "platform/tone.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

constexpr int WantedSampleRate = 48000;
// About 11 ms at 48 kHz: a beep starts within one buffer of being asked for.
constexpr Uint16 BufferSamples = 512;

// Non-zero once the device plays; written by whichever thread opens or closes it.
std::atomic<SDL_AudioDeviceID> device{0};
// A background opening; a jthread, so that an exit during the opening waits for it.
std::jthread opener;
// Touched only by the audio thread once the device runs.
std::optional<ToneGenerator> tone;
// The pitch of a beep asked for and not yet started; 0 = none. Handing it over through an
// atomic keeps beep() free of locks and waits.
std::atomic<int> pendingPitch{0};

// A waiting pip starts as soon as the last one and its silence are over, also in the middle
// of a buffer, so that pips stay apart however the frames fall on the buffers.
void SDLCALL fillAudio(void*, Uint8* stream, int bytes) {
    float* out = reinterpret_cast<float*>(stream);
    int left = bytes / static_cast<int>(sizeof(float));
    while (left > 0) {
        if (tone->samplesUntilReady() == 0) {
            const int pitch = pendingPitch.exchange(0);
            if (pitch > 0) {
                tone->start(pitch);
            }
        }
        const int busy = tone->samplesUntilReady();
        const int count = busy > 0 ? std::min(busy, left) : left;
        tone->render(out, count);
        out += count;
        left -= count;
    }
}

// ALSA reports a missing sound card on stderr by itself; the game stays silent instead. The
// whole process's stderr is muted while the device opens.
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

// The whole opening; false when there is no device.
bool openDevice() {
    if (device.load() != 0) {
        return true;
    }
    const MutedStderr muted;
    if (!startSdlSubsystems(SDL_INIT_AUDIO)) {
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = WantedSampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = 1;
    wanted.samples = BufferSamples;
    wanted.callback = fillAudio;
    SDL_AudioSpec obtained{};
    const SDL_AudioDeviceID opened =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (opened == 0) {
        stopSdlSubsystems(SDL_INIT_AUDIO);
        return false;
    }
    // The device opens paused: the tone is in place before the audio thread first asks.
    tone.emplace(obtained.freq);
    pendingPitch.store(0);
    SDL_PauseAudioDevice(opened, 0);
    device.store(opened);
    return true;
}

void finishOpening() {
    if (opener.joinable()) {
        opener.join();
    }
}

} // namespace

bool openBeep() {
    finishOpening();
    return openDevice();
}

void openBeepInBackground() {
    finishOpening();
    if (device.load() == 0) {
        opener = std::jthread([] {
            openDevice();
            // SDL keeps data of its own for each thread (its error text), freed only here.
            SDL_TLSCleanup();
        });
    }
}

bool beepOpen() {
    return device.load() != 0;
}

void beep(int pitchHz) {
    if (device.load() != 0 && pitchHz > 0) {
        pendingPitch.store(pitchHz);
    }
}

void closeBeep() {
    finishOpening();
    const SDL_AudioDeviceID open = device.exchange(0);
    if (open == 0) {
        return;
    }
    SDL_CloseAudioDevice(open);
    stopSdlSubsystems(SDL_INIT_AUDIO);
}
