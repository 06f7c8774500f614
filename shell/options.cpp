#include "shell/options.h"

#include "engine/stages.h"
#include "engine/version.h"

#include <cstdlib>
#include <string_view>

namespace {

constexpr int AnsweredStatus = 0;
constexpr int BadOptionStatus = 2;
constexpr const char* ProgramName = "tumbra";
constexpr std::size_t UsageWidth = 79;
constexpr const char* Summary = "Tip the dish and roll your ball: push every planet over the rim.";
constexpr const char* Epilogue =
    "Keys: the arrows roll your ball, 1 to 9 tip the dish, p pauses, q gives up,\n"
    "h shows the records on the title, F12 saves a screenshot, F11 or Alt+Enter\n"
    "toggle fullscreen, Escape quits (exit status 1). A bad option or a file that\n"
    "cannot be used exits with status 2, a replay that departs from its recording\n"
    "with 3. See tumbra(6).\n";
constexpr const char* Notice = "Copyright (c) 2026 The Tumbra developers\n"
                               "This is free software under the MIT License; there is NO "
                               "WARRANTY.\n";

// One option. An option with a value takes the next argument, or in its long spelling
// also the text after "=".
struct Option {
    const char* shortName; // "-d"; nullptr when there is none
    const char* longName;  // "--depth-buffer"; GLUT's options have one dash: "-display"
    const char* valueName; // the value's name in the usage; nullptr for a flag
    const char* help;      // nullptr for GLUT's options, which are listed apart
    void (*apply)(CommandLine& line, const char* value);
};

void setDepthBuffer(CommandLine&, const char*) {
    optDepthBuffer = 1;
}
void setNormalize(CommandLine&, const char*) {
    optNormalize = 1;
}
void setSilent(CommandLine&, const char*) {
    optSilent = 1;
}
void askHelp(CommandLine& line, const char*) {
    line.request = CommandLineRequest::Help;
}
void askVersion(CommandLine& line, const char*) {
    line.request = CommandLineRequest::Version;
}
void setFullscreen(CommandLine&, const char*) {
    optFullscreen = 1;
}
void setClassicFrames(CommandLine&, const char*) {
    optClassicFrames = 1;
}
void setRefresh(CommandLine& line, const char* value) {
    char* end = nullptr;
    const double rate = std::strtod(value, &end);
    if (*end != '\0' || !(rate >= LowestRefreshHz && rate <= HighestRefreshHz)) {
        line.request = CommandLineRequest::BadOption;
        line.error = "invalid refresh rate '" + std::string(value) + "' (" +
                     std::to_string(static_cast<int>(LowestRefreshHz)) + " to " +
                     std::to_string(static_cast<int>(HighestRefreshHz)) + " Hz)";
        return;
    }
    optRefreshHz = rate;
}
void setTimedemoFile(CommandLine& line, const char* file) {
    line.timedemoFile = file;
}
void setRecordFile(CommandLine& line, const char* file) {
    line.recordFile = file;
}
void setReplayFile(CommandLine& line, const char* file) {
    line.replayFile = file;
}
void askRecords(CommandLine& line, const char*) {
    line.request = CommandLineRequest::Records;
}
// Anything but a whole number in range is refused after the scan, as -1.
void setStartStage(CommandLine& line, const char* stage) {
    char* end = nullptr;
    const long number = std::strtol(stage, &end, 10);
    const bool digits = stage[0] >= '0' && stage[0] <= '9' && *end == '\0';
    const bool inRange = digits && number >= FirstStage && number <= LastStage;
    line.startStage = inRange ? static_cast<int>(number) : -1;
}
void leaveToGlut(CommandLine&, const char*) {}

constexpr Option Options[] = {
    {"-d", "--depth-buffer", nullptr, "use a depth buffer and depth testing (also /d)",
     setDepthBuffer},
    {"-n", "--normalize", nullptr, "let OpenGL normalise normals (also /n)", setNormalize},
    {"-s", "--silent", nullptr, "no sound (also /s)", setSilent},
    {"-F", "--fullscreen", nullptr, "start fullscreen (F11 or Alt+Enter toggle it)", setFullscreen},
    {nullptr, "--classic-frames", nullptr, "draw once per game frame, not at every refresh",
     setClassicFrames},
    {nullptr, "--refresh", "HZ", "draw HZ times a second (default: the display's rate)",
     setRefresh},
    {nullptr, "--record", "FILE", "record the game's inputs into FILE", setRecordFile},
    {nullptr, "--replay", "FILE", "play the recording FILE back (Escape quits)", setReplayFile},
    {nullptr, "--stage", "N", "practice: start at stage N (1 to 22) with 4 lives", setStartStage},
    {nullptr, "--records", nullptr, "show the records table and exit", askRecords},
    {nullptr, "--timedemo", "FILE", "draw the recording FILE as fast as possible, time it",
     setTimedemoFile},
    {"-h", "--help", nullptr, "show this help and exit", askHelp},
    {"-V", "--version", nullptr, "show the version and exit", askVersion},
    {nullptr, "-display", "NAME", nullptr, leaveToGlut},
    {nullptr, "-geometry", "WxH+X+Y", nullptr, leaveToGlut},
    {nullptr, "-direct", nullptr, nullptr, leaveToGlut},
    {nullptr, "-indirect", nullptr, nullptr, leaveToGlut},
    {nullptr, "-iconic", nullptr, nullptr, leaveToGlut},
    {nullptr, "-gldebug", nullptr, nullptr, leaveToGlut},
    {nullptr, "-sync", nullptr, nullptr, leaveToGlut},
};

// "/d", "/n" and "/s": exactly two characters, case-sensitive; other "/" texts are ignored.
void scanSlashOption(std::string_view arg) {
    if (arg.size() != 2) {
        return;
    }
    switch (arg[1]) {
    case 'd':
        optDepthBuffer = 1;
        break;
    case 'n':
        optNormalize = 1;
        break;
    case 's':
        optSilent = 1;
        break;
    default:
        break;
    }
}

const Option* findOption(std::string_view name) {
    for (const Option& option : Options) {
        if ((option.shortName != nullptr && name == option.shortName) || name == option.longName) {
            return &option;
        }
    }
    return nullptr;
}

CommandLine badOption(std::string message) {
    CommandLine line;
    line.request = CommandLineRequest::BadOption;
    line.error = std::move(message);
    return line;
}

CommandLine refuse(std::string_view what, std::string_view arg) {
    std::string message = "option '";
    message.append(arg).append("' ").append(what);
    return badOption(message);
}

std::string spelling(const Option& option) {
    std::string text = option.shortName != nullptr ? std::string(option.shortName) + ", " : "";
    text += option.longName;
    if (option.valueName != nullptr) {
        text.append(" ").append(option.valueName);
    }
    return text;
}

void printUsage(std::FILE* to) {
    std::fprintf(to, "Usage: %s [OPTION]...\n%s\n\n", ProgramName, Summary);
    for (const Option& option : Options) {
        if (option.help != nullptr) {
            // Long-only options line up with the long spellings of the others.
            const char* indent = option.shortName == nullptr ? "    " : "";
            std::fprintf(to, "  %-20s %s\n", (indent + spelling(option)).c_str(), option.help);
        }
    }
    // GLUT's options in lines that fit a terminal of 80 columns.
    std::fputc('\n', to);
    std::string line = "GLUT's X options:";
    for (const Option& option : Options) {
        if (option.help == nullptr) {
            const std::string item = " " + spelling(option) + ",";
            if (line.size() + item.size() > UsageWidth) {
                std::fprintf(to, "%s\n", line.c_str());
                line = " ";
            }
            line += item;
        }
    }
    line.back() = '.';
    std::fprintf(to, "%s\n\n%s", line.c_str(), Epilogue);
}

} // namespace

CommandLine scanOptions(int argc, char** argv) {
    CommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < argc && line.request == CommandLineRequest::Play; ++i) {
        const std::string_view arg = argv[i];
        if (arg.starts_with('/')) {
            scanSlashOption(arg);
            continue;
        }
        if (!arg.starts_with('-') || optionsEnded) {
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = arg.starts_with("--") ? arg.find('=') : arg.npos;
        const std::string_view name = arg.substr(0, equals);
        const Option* option = findOption(name);
        if (option == nullptr) {
            return badOption("unrecognized option '" + std::string(arg) + "'");
        }
        const char* value = nullptr;
        if (equals != arg.npos) {
            if (option->valueName == nullptr) {
                return refuse("doesn't allow an argument", name);
            }
            value = argv[i] + equals + 1;
        } else if (option->valueName != nullptr) {
            if (i + 1 == argc) {
                return refuse("requires an argument", name);
            }
            value = argv[++i];
        }
        if (value != nullptr && *value == '\0') {
            return refuse("requires an argument", name);
        }
        option->apply(line, value);
    }
    if (line.request != CommandLineRequest::Play) {
        return line;
    }
    if (!line.recordFile.empty() && !line.replayFile.empty()) {
        return refuse("cannot be used with '--record'", "--replay");
    }
    if (line.startStage < 0) {
        return refuse("needs a stage from " + std::to_string(FirstStage) + " to " +
                          std::to_string(LastStage),
                      "--stage");
    }
    if (line.startStage > 0 && !line.replayFile.empty()) {
        return refuse("cannot be used with '--replay'", "--stage");
    }
    if (!line.timedemoFile.empty() &&
        (!line.recordFile.empty() || !line.replayFile.empty() || line.startStage > 0)) {
        return refuse("cannot be used with '--record', '--replay' or '--stage'", "--timedemo");
    }
    return line;
}

int answerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err) {
    switch (line.request) {
    case CommandLineRequest::Help:
        printUsage(out);
        return AnsweredStatus;
    case CommandLineRequest::Version:
        std::fprintf(out, "%s %s\n%s", ProgramName, GameVersion, Notice);
        return AnsweredStatus;
    case CommandLineRequest::BadOption:
        std::fprintf(err, "%s: %s\n", ProgramName, line.error.c_str());
        printUsage(err);
        return BadOptionStatus;
    case CommandLineRequest::Play:
    case CommandLineRequest::Records:
        break;
    }
    return AnsweredStatus;
}
