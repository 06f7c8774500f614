// Preloaded into the game (LD_PRELOAD) by record_end_test.sh: sends the process SIGHUP as
// its window is being created, the way a terminal closed during the start would, then lets
// freeglut create the window.
#include <GL/freeglut.h>
#include <csignal>
#include <dlfcn.h>

extern "C" int glutCreateWindow(const char* title) {
    using Create = int (*)(const char*);
    const auto realCreate = reinterpret_cast<Create>(dlsym(RTLD_NEXT, "glutCreateWindow"));
    std::raise(SIGHUP);
    return realCreate(title);
}
