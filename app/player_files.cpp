#include "app/player_files.h"

#include "platform/user_files.h"

#include <cstdio>

namespace {

constexpr const char* ProgramName = "tumbra";

std::string under(const std::string& folder, const char* rest) {
    return folder.empty() ? "" : folder + rest;
}

} // namespace

std::string settingsPath() {
    return under(configHome(), "/tumbra/settings.toml");
}

std::string recordsPath() {
    return under(dataHome(), "/tumbra/records.toml");
}

std::string replaysFolder() {
    return under(dataHome(), "/tumbra/replays");
}

std::string screenshotFolder() {
    const std::string pictures = picturesFolder();
    return pictures.empty() ? under(dataHome(), "/tumbra/screenshots") : pictures + "/Tumbra";
}

std::optional<std::string> readPlayerFile(const std::string& path, bool& savable) {
    std::string text;
    std::string error;
    switch (readSmallFile(path, PlayerFileLimit, text, error)) {
    case ReadStatus::Read:
        return text;
    case ReadStatus::Missing:
        break;
    case ReadStatus::Unusable:
        savable = rejectPlayerFile(path, error);
        break;
    }
    return std::nullopt;
}

bool rejectPlayerFile(const std::string& path, const std::string& why) {
    const std::string aside = keepAside(path);
    if (aside.empty()) {
        std::fprintf(stderr, "%s: %s: %s; using the defaults, and leaving the file as it is\n",
                     ProgramName, path.c_str(), why.c_str());
        return false;
    }
    std::fprintf(stderr, "%s: %s: %s; using the defaults, the file is kept as %s\n", ProgramName,
                 path.c_str(), why.c_str(), aside.c_str());
    return true;
}

void sayNoHome() {
    static bool said = false;
    if (!said) {
        said = true;
        std::fprintf(stderr,
                     "%s: no home folder (HOME is not set): settings, records and "
                     "replays are not kept\n",
                     ProgramName);
    }
}
