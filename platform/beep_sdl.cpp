// The beep on SDL's audio subsystem. The game keeps its GLUT window; SDL only plays sound.
#include "platform/beep.h"

#include "platform/sdl_subsystems.h"
#include "platform/shared_library.h"
#include "platform/tone.h"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <atomic>
#include <optional>
#include <thread>

namespace {

constexpr int WantedSampleRate = 48000;
// About 11 ms at 48 kHz: a beep starts within one buffer of being asked for.
constexpr Uint16 BufferSamples = 512;

// Non-zero once the device plays; written by whichever thread opens or closes it.
std::atomic<SDL_AudioDeviceID> device{0};
// A background opening; a jthread, so that an exit during the opening waits for it.
std::jthread opener;
// Made before the device runs, filled by the audio thread.
std::optional<PipMixer> mixer;

void SDLCALL fillAudio(void*, Uint8* stream, int bytes) {
    mixer->fill(reinterpret_cast<float*>(stream), bytes / static_cast<int>(sizeof(float)));
}

// ALSA reports a missing sound card on stderr by itself; the game stays silent instead. Only
// ALSA's own messages are dropped: the rest of the program keeps its stderr.
void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// libasound comes with libSDL2, which needs it: here it is only looked up. Without it SDL
// opens no ALSA device, and there is nothing to silence.
void silenceAlsa() {
    static SharedLibrary alsa("libasound.so.2");
    decltype(&snd_lib_error_set_handler) setHandler = nullptr;
    if (alsa.bind(setHandler, "snd_lib_error_set_handler")) {
        setHandler(dropAlsaMessage);
    }
}

// The whole opening; false when there is no device.
bool openDevice() {
    if (device.load() != 0) {
        return true;
    }
    silenceAlsa();
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
        sdl().openAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (opened == 0) {
        stopSdlSubsystems(SDL_INIT_AUDIO);
        return false;
    }
    // The device opens paused: the tone is in place before the audio thread first asks.
    mixer.emplace(obtained.freq);
    sdl().pauseAudioDevice(opened, 0);
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
            endSdlThread();
        });
    }
}

bool beepOpen() {
    return device.load() != 0;
}

void beep(int pitchHz) {
    if (device.load() != 0 && pitchHz > 0) {
        mixer->request(pitchHz);
    }
}

void closeBeep() {
    finishOpening();
    const SDL_AudioDeviceID open = device.exchange(0);
    if (open == 0) {
        return;
    }
    sdl().closeAudioDevice(open);
    stopSdlSubsystems(SDL_INIT_AUDIO);
}
