#pragma once

// A player's own files: where they live (the XDG base directories) and how they are read and
// written so that nothing is ever lost. Writes are atomic (a temporary file in the same folder,
// synced, then renamed over the old one) and can be queued for the writer, so that saving never
// holds up a frame: a thread of its own on the desktop (writer_thread.cpp), the end of each
// frame in the page (writer_web.cpp), where the browser has the files (user_files_web.h).
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
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

// Reads the regular file at `path` of at most `maxBytes`, the one careful read of a file the
// game did not write itself. Missing says the file is not there; Unusable that it is not a
// regular file (a FIFO is never waited on), too large, or unreadable. Either comes with
// `error`, one line without the file's name.
ReadStatus readSmallFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                         std::string& error);

// What keepAside did: the name the file got (empty when it could not be moved, and the file
// then stays where it was), and the oldest copy that gave way to it, if one had to.
struct KeptAside {
    std::string name;
    std::string gaveWay;
};
// Moves a file that could not be used out of the way, to PATH.bad, or PATH.bad.2 up to
// PATH.bad.10 when those are taken: a file kept aside is never overwritten. With every name
// taken the oldest, PATH.bad, gives way: the others move down one name and the file takes
// PATH.bad.10. A symbolic link stays: the file at the end of it is set aside, beside itself.
KeptAside keepAside(const std::string& path);

// The file at the end of the chain of symbolic links that starts at `path` (a relative target
// is read from its link's folder); `path` itself when it is no link, or when the chain loops.
// The target need not exist.
std::string throughLinks(const std::string& path);

// Creates `folder` and its missing parents. False with `error` when it cannot.
bool makeFolders(const std::string& folder, std::string& error);

// Writes `contents` to `path` atomically: a reader, or a crash at any moment, finds the old
// file whole or the new one whole. The folder must exist. False with `error` when it cannot.
// Temporary files that killed writers left beside `path` are removed first. A symbolic link
// is written through: its target is replaced, beside itself, and the link stays.
bool writeFileAtomically(const std::string& path, std::string_view contents, std::string& error);

// Queues an atomic write of `contents` to `path` (its folders are created) for the writer
// thread. A later save of the same path replaces one still waiting. A save that fails (a full
// disk, a file size limit, a folder that cannot be written) is kept in memory and tried again
// after each save that works and at exit; stderr says so once when saving first fails, once
// when everything kept is saved again, and at exit what is lost. The game goes on.
void saveInBackground(const std::string& path, std::string contents);
// Queues a new file whose contents `make` makes on the writer thread: it never replaces a
// file, taking NAME-2.EXT, NAME-3.EXT and so on instead, and says on stderr where it saved.
// One that fails is kept and tried again as saveInBackground's are.
void saveNewFileInBackground(const std::string& path, std::function<std::string()> make);
// Waits until every queued save is done. Also runs when the process exits.
void finishSaving();
// Queues other file work for the writer thread, to run after the saves queued before it.
void workInBackground(std::function<void()> job);
// The names of the regular files in `folder` (no links, no folders); none when it cannot be
// read.
std::vector<std::string> filesIn(const std::string& folder);
// In a job of workInBackground: the names of the files in `folder` whose saves failed and are
// kept to be tried again, which the folder will hold once they can be written.
std::vector<std::string> unsavedFilesIn(const std::string& folder);
// In a job of workInBackground: removes the file at `path`, and drops a failed save of it kept
// to be tried again; true when it is gone.
bool removeFile(const std::string& path);
// Removes the temporary files that killed writers left in `folder`.
void removeStaleTemporariesIn(const std::string& folder);

// The system calls that writes go through, which a test replaces to make them fail or to see
// their order. `fileCalls = systemFileCalls()` puts the real ones back.
struct FileCalls {
    std::function<int(const char* path, int flags, mode_t mode)> open;
    std::function<ssize_t(int fd, const void* data, std::size_t size)> write;
    std::function<int(int fd)> fsync;
    std::function<int(int fd)> close;
    std::function<int(const char* from, const char* to)> rename;
    std::function<int(const char* from, const char* to)> link;
    std::function<int(const char* path)> unlink;
};
FileCalls systemFileCalls();
extern FileCalls fileCalls;

// Writes the whole of `contents` at `fd`, a write cut short by a signal taken up again: 0, or
// the errno of the write that failed (a full disk: ENOSPC, a file size limit: EFBIG; EIO for
// a write that makes no progress).
int writeAll(int fd, std::string_view contents);
