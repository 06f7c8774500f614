// Preloaded into the game (LD_PRELOAD) by bench/present_timing.sh: appends the steady-clock
// time of every buffer swap, in seconds, to the file SWAP_TIMES_OUT. The time is taken as the
// swap is asked for, the moment the frame is handed to the display.
#include <GL/glx.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static std::FILE* out = [] {
        const char* path = std::getenv("SWAP_TIMES_OUT");
        return path != nullptr ? std::fopen(path, "a") : nullptr;
    }();
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    if (out != nullptr) {
        std::fprintf(out, "%ld.%09ld\n", static_cast<long>(now.tv_sec), now.tv_nsec);
        std::fflush(out);
    }
    using Swap = void (*)(Display*, GLXDrawable);
    static const auto realSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    realSwap(display, drawable);
}
