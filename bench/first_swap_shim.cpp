// Preloaded into a GLUT program (LD_PRELOAD) by bench/first_frame.sh: at the program's first
// buffer swap it writes the milliseconds since FIRST_SWAP_T0 (seconds since the epoch, as
// bash's EPOCHREALTIME gives them just before the exec) to the file FIRST_SWAP_OUT and ends
// the process. The swap itself runs first, so the first frame's drawing is counted.
#include <GL/glx.h>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <unistd.h>

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    using Swap = void (*)(Display*, GLXDrawable);
    const auto realSwap = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    realSwap(display, drawable);
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const char* start = std::getenv("FIRST_SWAP_T0");
    const char* path = std::getenv("FIRST_SWAP_OUT");
    if (start != nullptr && path != nullptr) {
        const double ms = (now.tv_sec + now.tv_nsec * 1e-9 - std::atof(start)) * 1000.0;
        if (std::FILE* out = std::fopen(path, "w")) {
            std::fprintf(out, "%.1f\n", ms);
            std::fclose(out);
        }
    }
    _exit(0);
}
