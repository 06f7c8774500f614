#include "platform/window_x11.h"

#include "platform/shared_library.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <cstring>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

// Xlib's default handler ends the process on any X error. A server or driver that refuses
// one of these optional requests must only leave the game without that feature.
class IgnoredXErrors {
  public:
    explicit IgnoredXErrors(Display* display)
        : display(display), previous(XSetErrorHandler(ignore)) {}
    ~IgnoredXErrors() {
        XSync(display, False);
        XSetErrorHandler(previous);
    }
    IgnoredXErrors(const IgnoredXErrors&) = delete;
    IgnoredXErrors& operator=(const IgnoredXErrors&) = delete;

  private:
    static int ignore(Display*, XErrorEvent*) { return 0; }
    Display* display;
    XErrorHandler previous;
};

// RandR 1.3 brought the current screen resources, read without probing the outputs.
constexpr int RandrMajor = 1;
constexpr int RandrMinor = 3;

// The XRandR functions the refresh rate needs, from libXrandr loaded at the first call: the
// library (and libXrender behind it) is no load on the program's start.
struct Randr {
    decltype(&XRRQueryExtension) queryExtension;
    decltype(&XRRQueryVersion) queryVersion;
    decltype(&XRRGetScreenResourcesCurrent) getScreenResourcesCurrent;
    decltype(&XRRFreeScreenResources) freeScreenResources;
    decltype(&XRRGetCrtcInfo) getCrtcInfo;
    decltype(&XRRFreeCrtcInfo) freeCrtcInfo;
};

// Null without the library, which is then said once on stderr.
const Randr* randr() {
    static const std::optional<Randr> loaded = []() -> std::optional<Randr> {
        static SharedLibrary library("libXrandr.so.2");
        Randr r{};
        if (library.bind(r.queryExtension, "XRRQueryExtension") &&
            library.bind(r.queryVersion, "XRRQueryVersion") &&
            library.bind(r.getScreenResourcesCurrent, "XRRGetScreenResourcesCurrent") &&
            library.bind(r.freeScreenResources, "XRRFreeScreenResources") &&
            library.bind(r.getCrtcInfo, "XRRGetCrtcInfo") &&
            library.bind(r.freeCrtcInfo, "XRRFreeCrtcInfo")) {
            return r;
        }
        library.sayMissing("the display's refresh rate is unknown");
        return std::nullopt;
    }();
    return loaded ? &*loaded : nullptr;
}

using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
using SwapIntervalMesa = int (*)(unsigned int);
using SwapIntervalSgi = int (*)(int);

bool hasExtension(Display* display, const char* name) {
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const std::size_t length = std::strlen(name);
    for (const char* at = list; at != nullptr && (at = std::strstr(at, name)) != nullptr;
         at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

template <typename Function> Function glxFunction(const char* name) {
    return reinterpret_cast<Function>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

// Sets the swap interval with the first extension the driver offers; true when it took.
bool setSwapInterval(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == None) {
        return false;
    }
    const IgnoredXErrors guard(display);
    if (hasExtension(display, "GLX_EXT_swap_control")) {
        if (auto set = glxFunction<SwapIntervalExt>("glXSwapIntervalEXT")) {
            set(display, drawable, interval);
            unsigned int now = 0;
            glXQueryDrawable(display, drawable, GLX_SWAP_INTERVAL_EXT, &now);
            if (static_cast<int>(now) == interval) {
                return true;
            }
        }
    }
    if (hasExtension(display, "GLX_MESA_swap_control")) {
        if (auto set = glxFunction<SwapIntervalMesa>("glXSwapIntervalMESA")) {
            if (set(static_cast<unsigned int>(interval)) == 0) {
                return true;
            }
        }
    }
    // SGI's knows no interval 0.
    if (interval > 0 && hasExtension(display, "GLX_SGI_swap_control")) {
        if (auto set = glxFunction<SwapIntervalSgi>("glXSwapIntervalSGI")) {
            return set(interval) == 0;
        }
    }
    return false;
}

Window currentWindow(Display* display) {
    return display != nullptr ? static_cast<Window>(glXGetCurrentDrawable()) : None;
}

// The mode's refresh in Hz; interlaced modes show two fields per frame, doubled-scan ones
// each line twice.
double modeRate(const XRRModeInfo& mode) {
    double lines = mode.vTotal;
    if ((mode.modeFlags & RR_DoubleScan) != 0) {
        lines *= 2;
    }
    if ((mode.modeFlags & RR_Interlace) != 0) {
        lines /= 2;
    }
    if (mode.hTotal == 0 || lines == 0) {
        return 0.0;
    }
    return static_cast<double>(mode.dotClock) / (mode.hTotal * lines);
}

double crtcRateAt(const Randr& xrr, Display* display, XRRScreenResources* resources, int x, int y) {
    for (int c = 0; c < resources->ncrtc; ++c) {
        XRRCrtcInfo* crtc = xrr.getCrtcInfo(display, resources, resources->crtcs[c]);
        if (crtc == nullptr) {
            continue;
        }
        const bool shows = crtc->mode != None && x >= crtc->x && y >= crtc->y &&
                           x < crtc->x + static_cast<int>(crtc->width) &&
                           y < crtc->y + static_cast<int>(crtc->height);
        const RRMode mode = crtc->mode;
        xrr.freeCrtcInfo(crtc);
        if (!shows) {
            continue;
        }
        for (int m = 0; m < resources->nmode; ++m) {
            if (resources->modes[m].id == mode) {
                return modeRate(resources->modes[m]);
            }
        }
    }
    return 0.0;
}

// One icon as _NET_WM_ICON wants it: width, height, then the pixels, each in a long.
void appendIcon(const WindowIcon& icon, std::vector<unsigned long>& out) {
    out.push_back(icon.width);
    out.push_back(icon.height);
    out.insert(out.end(), icon.argb.begin(), icon.argb.end());
}

void setCardinals(Display* display, Window window, const char* property,
                  const std::vector<unsigned long>& values) {
    const Atom atom = XInternAtom(display, property, False);
    XChangeProperty(display, window, atom, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()),
                    static_cast<int>(values.size()));
}

} // namespace

bool enableSwapControl() {
    return setSwapInterval(1);
}

void disableSwapControl() {
    setSwapInterval(0);
}

double monitorRefreshRate() {
    Display* display = glXGetCurrentDisplay();
    const Window window = currentWindow(display);
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (window == None) {
        return 0.0;
    }
    const Randr* xrr = randr();
    if (xrr == nullptr || !xrr->queryExtension(display, &eventBase, &errorBase) ||
        !xrr->queryVersion(display, &major, &minor) || major < RandrMajor ||
        (major == RandrMajor && minor < RandrMinor)) {
        return 0.0;
    }
    const IgnoredXErrors guard(display);
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return 0.0;
    }
    int x = 0;
    int y = 0;
    Window child = None;
    XTranslateCoordinates(display, window, attributes.root, attributes.width / 2,
                          attributes.height / 2, &x, &y, &child);
    XRRScreenResources* resources = xrr->getScreenResourcesCurrent(display, attributes.root);
    if (resources == nullptr) {
        return 0.0;
    }
    const double rate = crtcRateAt(*xrr, display, resources, x, y);
    xrr->freeScreenResources(resources);
    return rate;
}

void setWindowIdentity(const char* instanceName, const char* className,
                       std::span<const WindowIcon> icons) {
    Display* display = glXGetCurrentDisplay();
    const Window window = currentWindow(display);
    if (window == None) {
        return;
    }
    const IgnoredXErrors guard(display);
    // XSetClassHint takes non-const names but does not change them.
    std::vector<char> instance(instanceName, instanceName + std::strlen(instanceName) + 1);
    std::vector<char> name(className, className + std::strlen(className) + 1);
    XClassHint hint{instance.data(), name.data()};
    XSetClassHint(display, window, &hint);
    setCardinals(display, window, "_NET_WM_PID", {static_cast<unsigned long>(getpid())});
    std::vector<unsigned long> argb;
    for (const WindowIcon& icon : icons) {
        appendIcon(icon, argb);
    }
    if (!argb.empty()) {
        setCardinals(display, window, "_NET_WM_ICON", argb);
    }
}
