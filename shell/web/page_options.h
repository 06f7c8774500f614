#pragma once

// The page's options, read from its address's query: one for each command-line option that
// means something in a page.
//
//   ?stage=N     --stage N: a practice game from stage N (1 to 22)
//   ?classic     --classic-frames: one drawing per simulation frame
//   ?silent      /s: no sound
//   ?depth       /d: a depth buffer and depth testing
//   ?normalize   /n: normals made unit length before lighting
//   ?replay=URL  --replay FILE: the recording at URL, shown at its recorded speed
//   ?demo        the whole game, as recorded in the site's full_game.replay
//   ?verify      with ?replay or ?demo: the recording played headless and reported as
//                tumbra-replay FILE reports it
//   ?records     --records: the records table, and the replays to download
#include <string>
#include <string_view>

struct PageOptions {
    int startStage = 0;    // 0: the title
    std::string recording; // the recording to show or verify, fetched into memory; empty for none
    bool verify = false;
    bool records = false;
};

// Reads `query` (the address's search without its '?') and sets the option globals. A name the
// page does not know, a bad value or options that exclude each other are said in one line each
// on stderr and left out: the game plays without them. `fetched` is where the page put the
// recording of ?replay or ?demo before the program started ("" when it could not be fetched,
// which the page has said).
PageOptions readPageOptions(std::string_view query, const std::string& fetched);
