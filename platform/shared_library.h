#pragma once

// A library the game can do without (the sound and the pad's SDL, libpng for screenshots,
// XRandR for the display's rate), opened at run time where it is first needed rather than at
// exec: neither it nor what it loads in turn costs the first frame anything, and a library
// that is missing costs only its feature. Once open it stays loaded until the process ends
// (its threads may still run during the exit).
#include <string>

class SharedLibrary {
  public:
    // Opens the library `soname` (e.g. "libpng16.so.16"), as the dynamic loader finds it.
    explicit SharedLibrary(const char* soname);
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Points `function` at the library's `symbol`; false, and sayMissing() then says why, when
    // the library is not loaded or lacks it.
    template <typename Function> bool bind(Function& function, const char* symbol) {
        function = reinterpret_cast<Function>(address(symbol));
        return function != nullptr;
    }
    // One line on stderr: why the library or the last symbol asked for is missing, naming it,
    // and `consequence` ("no sound and no gamepad").
    void sayMissing(const char* consequence) const;

  private:
    void* address(const char* symbol);

    void* handle;
    std::string why;
};
