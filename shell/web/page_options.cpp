#include "shell/web/page_options.h"

#include "engine/stages.h"
#include "flow/flags.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct QueryItem {
    std::string_view name;
    std::string_view value;
    bool hasValue;
};

std::vector<QueryItem> queryItems(std::string_view query) {
    std::vector<QueryItem> items;
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view item = query.substr(0, end);
        query.remove_prefix(std::min(end + 1, query.size()));
        if (item.empty()) {
            continue;
        }
        const std::size_t equals = item.find('=');
        items.push_back({item.substr(0, equals),
                         equals == std::string_view::npos ? "" : item.substr(equals + 1),
                         equals != std::string_view::npos});
    }
    return items;
}

void say(const QueryItem& item, const std::string& what) {
    const std::string value = item.hasValue ? "=" + std::string(item.value) : "";
    std::fprintf(stderr, "tumbra: ?%s%s: %s\n", std::string(item.name).c_str(), value.c_str(),
                 what.c_str());
}

// A whole number of stages, written as digits only.
bool readStage(std::string_view text, int& stage) {
    const bool digits =
        !text.empty() && text.size() <= 2 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits) {
        return false;
    }
    stage = std::stoi(std::string(text));
    return stage >= FirstStage && stage <= LastStage;
}

struct Flag {
    std::string_view name;
    int* option;
};

const Flag Flags[] = {
    {"classic", &optClassicFrames},
    {"silent", &optSilent},
    {"depth", &optDepthBuffer},
    {"normalize", &optNormalize},
};

constexpr const char* Known =
    "the page knows stage, classic, silent, depth, normalize, replay, demo, verify and records";

// One item; false when it is none of the page's.
bool readItem(const QueryItem& item, PageOptions& options, bool& recordingAsked) {
    for (const Flag& flag : Flags) {
        if (item.name == flag.name) {
            if (item.hasValue) {
                say(item, "takes no value (write ?" + std::string(flag.name) + "); left out");
            } else {
                *flag.option = 1;
            }
            return true;
        }
    }
    if (item.name == "stage") {
        if (!readStage(item.value, options.startStage)) {
            options.startStage = 0;
            say(item, "a stage is a whole number from " + std::to_string(FirstStage) + " to " +
                          std::to_string(LastStage) + "; the game starts at the title");
        }
        return true;
    }
    const bool flagLike = item.name == "demo" || item.name == "verify" || item.name == "records";
    recordingAsked |= item.name == "replay" || item.name == "demo";
    options.verify |= item.name == "verify";
    options.records |= item.name == "records";
    return flagLike || item.name == "replay";
}

} // namespace

PageOptions readPageOptions(std::string_view query, const std::string& fetched) {
    PageOptions options;
    bool recordingAsked = false;
    for (const QueryItem& item : queryItems(query)) {
        if (!readItem(item, options, recordingAsked)) {
            say(item, std::string("no such option (") + Known + "); left out");
        }
    }
    options.recording = fetched;
    if (options.verify && !recordingAsked) {
        options.verify = false;
        say({"verify", "", false}, "needs a recording: ?replay=URL or ?demo; left out");
    }
    if (!options.recording.empty() && options.startStage > 0) {
        options.startStage = 0;
        say({"stage", "", false}, "a recording says where it starts; ?stage is left out");
    }
    return options;
}
