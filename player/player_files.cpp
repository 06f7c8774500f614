#include "player/player_files.h"

#include "platform/user_files.h"

#include <cstdio>

namespace {

constexpr const char* ProgramName = "tumbra";

std::string under(const std::string& folder, const char* rest) {
    return folder.empty() ? "" : folder + rest;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "; ") + line;
    }
    return text;
}

// The one line for a file that could not be used as it was: `fault`, then what became of it.
bool answerBadFile(const std::string& path, const std::string& fault, FileUse use,
                   const std::function<std::string()>& format) {
    const KeptAside kept = use == FileUse::Game ? keepAside(path) : KeptAside();
    if (kept.name.empty()) {
        std::fprintf(stderr, "%s: %s: %s, and leaving the file as it is\n", ProgramName,
                     path.c_str(), fault.c_str());
        return false;
    }
    const std::string gaveWay =
        kept.gaveWay.empty()
            ? ""
            : " (" + kept.gaveWay + ", the oldest copy, gave way; the others moved down one name)";
    std::fprintf(stderr, "%s: %s: %s, the file is kept as %s%s\n", ProgramName, path.c_str(),
                 fault.c_str(), kept.name.c_str(), gaveWay.c_str());
    saveInBackground(path, format());
    return true;
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

bool loadPlayerFile(const std::string& path, FileUse use, const PlayerFileParse& parse,
                    const std::function<std::string()>& format) {
    std::string text;
    std::string error;
    std::vector<std::string> refused;
    switch (readSmallFile(path, PlayerFileLimit, text, error)) {
    case ReadStatus::Missing:
        return true;
    case ReadStatus::Unusable:
        return answerBadFile(path, error + "; using the defaults", use, format);
    case ReadStatus::Read:
        break;
    }
    if (!parse(text, error, refused)) {
        return answerBadFile(path, error + "; using the defaults", use, format);
    }
    return refused.empty() ||
           answerBadFile(path, joined(refused) + ": refused, keeping the other values", use,
                         format);
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
