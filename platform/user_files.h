#pragma once

// A player's own files: where they live (the XDG base directories) and how they are read and
// written so that nothing is ever lost. Writes are atomic (a temporary file in the same folder,
// synced, then renamed over the old one) and can run on a writer thread of their own, so that
// saving never holds up a frame.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// $XDG_CONFIG_HOME, or ~/.config when it is unset or relative; empty with neither it nor HOME.
std::string configHome();
// $XDG_DATA_HOME, or ~/.local/share; empty likewise.
std::string dataHome();
// XDG_PICTURES_DIR from user-dirs.dirs in configHome(); empty when it names none, or only the
// home folder itself (which is how that file turns a folder off).
std::string picturesFolder();
// The value of XDG_PICTURES_DIR in the text of a user-dirs.dirs file, with "$HOME/" replaced
// by `home`; empty when it is missing or not an absolute path.
std::string picturesFolderIn(std::string_view userDirs, const std::string& home);

enum class ReadStatus { Read, Missing, Unusable };

// Reads the regular file at `path` of at most `maxBytes`. Missing says the file is not there;
// Unusable comes with `error`: not a regular file (a FIFO is never waited on), too large, or
// unreadable.
ReadStatus readSmallFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                         std::string& error);

// Moves a file that could not be used out of the way, to PATH.bad, or PATH.bad.2 up to
// PATH.bad.9 when those are taken: a file kept aside is never overwritten. Returns the name it
// got, or empty when it could not be moved (the file then stays where it was).
std::string keepAside(const std::string& path);

// Creates `folder` and its missing parents. False with `error` when it cannot.
bool makeFolders(const std::string& folder, std::string& error);

// Writes `contents` to `path` atomically: a reader, or a crash at any moment, finds the old
// file whole or the new one whole. The folder must exist. False with `error` when it cannot.
// Temporary files that killed writers left beside `path` are removed first.
bool writeFileAtomically(const std::string& path, std::string_view contents, std::string& error);

// Queues an atomic write of `contents` to `path` (its folders are created) for the writer
// thread. A later save of the same path replaces one still waiting. A save that fails is said
// once per path on stderr; the game goes on.
void saveInBackground(const std::string& path, std::string contents);
// Queues a new file whose contents `make` makes on the writer thread: it never replaces a
// file, taking NAME-2.EXT, NAME-3.EXT and so on instead, and says on stderr where it saved.
void saveNewFileInBackground(const std::string& path, std::function<std::string()> make);
// Waits until every queued save is done. Also runs when the process exits.
void finishSaving();
// Queues other file work for the writer thread, to run after the saves queued before it.
void workInBackground(std::function<void()> job);
// The names of the regular files in `folder` (no links, no folders); none when it cannot be
// read.
std::vector<std::string> filesIn(const std::string& folder);
// Removes the file at `path`; true when it is gone.
bool removeFile(const std::string& path);
// Removes the temporary files that killed writers left in `folder`.
void removeStaleTemporariesIn(const std::string& folder);
