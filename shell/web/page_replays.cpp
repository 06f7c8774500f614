#include "shell/web/page_replays.h"

#include "flow/input_door.h"
#include "flow/replay_source.h"
#include "replay/replay_file.h"
#include "replay/replay_player.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <memory>

namespace {

constexpr const char* ProgramName = "tumbra";

// The recording as the door's source, as the desktop window's replay: compared with the
// recording after each frame; once it is over, the title with every default is the player's
// again. A page cannot end with a status: a departure is said, and the game plays on.
struct PageReplay {
    Replay replay;
    std::string path;
    void (*over)() = nullptr;
    std::unique_ptr<ReplayPlayer> player;
    std::unique_ptr<ReplaySource> source;
};

std::unique_ptr<PageReplay> shown;

void replayOver(ReplayPlayer& player) {
    if (player.matches()) {
        std::fprintf(stderr, "%s: %s: replayed to its end as recorded (%d frames)\n", ProgramName,
                     shown->path.c_str(), player.framesPlayed());
    } else {
        player.reportMismatch(ProgramName, shown->path);
    }
    showLiveTitle();
    shown->over();
}

// clang-format off
EM_JS(void, offerFiles, (const char* where), {
    const folder = UTF8ToString(where);
    let names = [];
    try {
        names = FS.readdir(folder).filter((name) => name.endsWith('.replay'));
    } catch (error) {
        return;
    }
    const list = document.getElementById('downloads');
    if (!list) {
        return;
    }
    for (const name of names.sort().reverse()) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([FS.readFile(folder + '/' + name)],
                                                 {type: 'text/plain'}));
        link.download = name;
        link.textContent = name;
        const item = document.createElement('li');
        item.append(link);
        list.append(item);
    }
    list.hidden = names.length === 0;
});
// clang-format on

} // namespace

bool watchRecording(const std::string& path, void (*before)(), void (*over)()) {
    auto next = std::make_unique<PageReplay>();
    ReplayError fault;
    if (!loadReplay(path, ReplayText::Recording, next->replay, fault)) {
        std::fprintf(stderr, "%s: %s; the game plays on\n", ProgramName,
                     replayErrorText(path, fault).c_str());
        return false;
    }
    if (before != nullptr) {
        before();
    }
    next->path = path;
    next->over = over;
    next->player = std::make_unique<ReplayPlayer>(next->replay, ThroughTheDoor);
    next->source =
        std::make_unique<ReplaySource>(*next->player, ReplaySource::Changed{}, replayOver);
    startAt(next->replay.start);
    setInputSource(*next->source);
    shown = std::move(next);
    return true;
}

bool watchingRecording() {
    return shown != nullptr && &inputSource() == shown->source.get();
}

void offerRecordingDownloads(const std::string& folder) {
    offerFiles(folder.c_str());
}
