#include "shell/web/page_keys.h"

#include "flow/input_door.h"

// GLUT's key codes, which the desktop's window gives and recordings keep: only the header's
// constants, from emscripten's copy.
#include <GL/glut.h>
#include <cstring>
#include <emscripten/html5.h>
#include <string_view>

namespace {

struct NamedKey {
    std::string_view name;
    int code;
};

// The page's screenshot key stands for the desktop's.
constexpr NamedKey SpecialKeys[] = {
    {"F1", GLUT_KEY_F1},
    {"F2", GLUT_KEY_F2},
    {"F3", GLUT_KEY_F3},
    {"F4", GLUT_KEY_F4},
    {"F5", GLUT_KEY_F5},
    {"F6", GLUT_KEY_F6},
    {"F7", GLUT_KEY_F7},
    {"F8", GLUT_KEY_F8},
    {"F9", GLUT_KEY_F12},
    {"F10", GLUT_KEY_F10},
    {"F12", GLUT_KEY_F12},
    {"ArrowLeft", GLUT_KEY_LEFT},
    {"ArrowUp", GLUT_KEY_UP},
    {"ArrowRight", GLUT_KEY_RIGHT},
    {"ArrowDown", GLUT_KEY_DOWN},
    {"PageUp", GLUT_KEY_PAGE_UP},
    {"PageDown", GLUT_KEY_PAGE_DOWN},
    {"Home", GLUT_KEY_HOME},
    {"Insert", GLUT_KEY_INSERT},
};

constexpr NamedKey ControlKeys[] = {
    {"Enter", '\r'},
    {"Backspace", '\b'},
    {"Tab", '\t'},
    {"Delete", 127},
};

constexpr std::string_view QuitKeys[] = {"Escape", "End"};

PageKeyActions actions{};
bool keyPressed = false;
bool altDown = false;

// A character of Latin-1 (as GLUT gives it) from its UTF-8 spelling; -1 for any other.
int latin1(std::string_view text) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (text.size() == 1 && byte(0) < 0x80) {
        return byte(0);
    }
    if (text.size() == 2 && (byte(0) == 0xc2 || byte(0) == 0xc3) && (byte(1) & 0xc0) == 0x80) {
        return ((byte(0) & 0x1f) << 6) | (byte(1) & 0x3f);
    }
    return -1;
}

int codeOf(std::string_view name, const NamedKey* begin, const NamedKey* end) {
    for (const NamedKey* key = begin; key != end; ++key) {
        if (key->name == name) {
            return key->code;
        }
    }
    return -1;
}

// True when the key is the game's: the browser then does nothing with it.
bool passKey(std::string_view name) {
    for (const std::string_view quit : QuitKeys) {
        if (name == quit) {
            actions.quit();
            return true;
        }
    }
    const int special = codeOf(name, std::begin(SpecialKeys), std::end(SpecialKeys));
    if (special >= 0) {
        doorSpecialKey(special, 0, 0);
        return true;
    }
    const int control = codeOf(name, std::begin(ControlKeys), std::end(ControlKeys));
    const int character = control >= 0 ? control : latin1(name);
    if (character > 0) {
        doorKeyboard(static_cast<unsigned char>(character), 0, 0);
        return true;
    }
    return false;
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* event, void*) {
    // Ctrl alone or the system key: the browser's shortcuts. Ctrl with Alt is AltGr on some
    // systems, which types characters.
    if (event->metaKey || (event->ctrlKey && !event->altKey)) {
        return EM_FALSE;
    }
    if (!keyPressed) {
        keyPressed = true;
        actions.firstKey();
    }
    altDown = event->altKey;
    const bool taken =
        passKey(std::string_view(event->key, strnlen(event->key, sizeof event->key)));
    altDown = false;
    return taken ? EM_TRUE : EM_FALSE;
}

} // namespace

bool altHeld() {
    return altDown;
}

void listenForKeys(const PageKeyActions& given) {
    actions = given;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, onKeyDown);
}
