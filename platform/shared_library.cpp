#include "platform/shared_library.h"

#include <cerrno>
#include <cstdio>
#include <dlfcn.h>

SharedLibrary::SharedLibrary(const char* soname) : handle(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {
    if (handle == nullptr) {
        why = dlerror();
    }
}

void* SharedLibrary::address(const char* symbol) {
    if (handle == nullptr) {
        return nullptr;
    }
    dlerror();
    void* found = dlsym(handle, symbol);
    if (found == nullptr) {
        const char* error = dlerror();
        why = error != nullptr ? error : std::string(symbol) + ": a null symbol";
    }
    return found;
}

void SharedLibrary::sayMissing(const char* consequence) const {
    std::fprintf(stderr, "%s: %s; %s\n", program_invocation_short_name, why.c_str(), consequence);
}
