#pragma once

// The player's files in the page: the same folders as on the desktop (the XDG base folders
// under emscripten's home, /home/web_user), in memory while the page runs and kept by the
// browser in IndexedDB (emscripten's IDBFS, user_files_web.js). The page's start mounts the
// home folder and fills it from IndexedDB before the game starts; every save is written
// atomically in memory (a temporary file renamed over the old one) by the writer at the end
// of a frame, then the folder is handed to IndexedDB in one transaction, so that a reload or a
// closed tab in the middle of it finds the files as the last transaction left them, each one
// whole. The page has no threads.

// Once at the start: the file calls that the browser's memory file system lacks (it has no
// hard links) are made of those it has.
void useBrowserFiles();
// At the end of every frame: the saves queued since run, and the folder goes to IndexedDB,
// unless the last hand-over is still under way (they wait for the next frame then).
void runSavesAtFrameEnd();
// When the page is hidden or left: every save queued runs now, those that failed are tried
// once more and what is still lost is said, and the folder goes to IndexedDB.
void saveEverythingNow();
// Whether saves wait to run or to reach IndexedDB.
bool savesPending();
