#pragma once

// Recordings in the page: one named by ?replay=URL, the site's whole game (?demo) or a file
// dropped on the page, shown from its start at its recorded speed as the desktop's --replay
// shows one (the input door takes it as its source; window keys but the quitting ones are
// ignored); and the replays of the records page, offered for download.
#include <string>

// Shows the recording at `path`; a file that cannot be read is said in one line and changes
// nothing. Once it is read `before` is called (when given), then the game is put at the
// recording's start. When it is over, the game is back on the title with the live keys and
// pad, a departure from the recording said on stderr, and `over` is called. False when it
// could not be read.
bool watchRecording(const std::string& path, void (*before)(), void (*over)());
bool watchingRecording();
// The recordings of `folder` offered for download on the page, the newest first.
void offerRecordingDownloads(const std::string& folder);
