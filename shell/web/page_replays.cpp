#include "shell/web/page_replays.h"

#include "app/game_flow.h"
#include "app/input_door.h"
#include "app/replay_player.h"
#include "replay/replay_file.h"

#include <cstdio>
#include <emscripten/emscripten.h>
#include <memory>

namespace {

constexpr const char* ProgramName = "tumbra";

// The recording as the door's source, as the desktop window's replay: compared with the
// recording after each frame; once it is over, the title with every default is the player's
// again. A page cannot end with a status: a departure is said, and the game plays on.
class PageReplay final : public InputSource {
  public:
    PageReplay(Replay recording, std::string path, void (*over)())
        : replay(std::move(recording)), path(std::move(path)), over(over), player(replay) {}

    bool takesWindowKeys() const override { return false; }

    void startFrame() override {
        if (player.framesPlayed() > 0) {
            player.endFrame();
        }
        if (!player.over()) {
            player.startFrame();
            return;
        }
        player.finish();
        if (player.matches()) {
            std::fprintf(stderr, "%s: %s: replayed to its end as recorded (%d frames)\n",
                         ProgramName, path.c_str(), player.framesPlayed());
        } else {
            player.reportMismatch(ProgramName, path);
        }
        resetToTitle();
        setInputSource(liveInput());
        liveInput().startFrame();
        over();
    }

    GamepadState pad() override { return player.pad(); }

  private:
    Replay replay;
    std::string path;
    void (*over)();
    ReplayPlayer player;
};

std::unique_ptr<PageReplay> shown;

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
    Replay replay;
    ReplayError fault;
    if (!loadReplay(path, ReplayText::Recording, replay, fault)) {
        const std::string where = path + (fault.line > 0 ? ":" + std::to_string(fault.line) : "");
        std::fprintf(stderr, "%s: %s: %s; the game plays on\n", ProgramName, where.c_str(),
                     fault.message.c_str());
        return false;
    }
    if (before != nullptr) {
        before();
    }
    const ReplayStart start = replay.start;
    auto next = std::make_unique<PageReplay>(std::move(replay), path, over);
    startAt(start);
    setInputSource(*next);
    shown = std::move(next);
    return true;
}

bool watchingRecording() {
    return shown != nullptr && &inputSource() == shown.get();
}

void offerRecordingDownloads(const std::string& folder) {
    offerFiles(folder.c_str());
}
