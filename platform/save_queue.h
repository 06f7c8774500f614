#pragma once

// The saves of a player's files as they wait and run, whatever runs them: the writer thread on
// the desktop (writer_thread.cpp), the end of each frame in the page (writer_web.cpp). What
// user_files.cpp shares with both; nothing outside platform/ includes this.
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct Save {
    std::string path;
    std::string contents;
    std::function<std::string()> make; // for a new file
    std::function<void()> job;         // other file work, in its turn
};

// The folder of `path`: "." when it names none, "/" for a file at the root.
std::string folderOf(const std::string& path);
// A new file under `path`'s name, or NAME-2.EXT and on when that is taken, said on stderr.
bool saveNewFile(const std::string& path, std::string_view contents, std::string& error);

// Saves run one after another in the order asked. A save that fails (a full disk, a file size
// limit, a folder that cannot be written) is kept and tried again after each save that works
// and at the end, said on stderr once when saving first fails and once when it works again.
// Not thread-safe: a writer with threads holds its lock around add, empty and take, and
// calls the rest on its writer thread only.
class SaveQueue {
  public:
    // False when `save` only replaced a save of the same path still waiting.
    bool add(Save save);
    bool empty() const { return queue.empty(); }
    Save take();
    void write(Save& save);
    void retryUnsaved();
    // At the end: one line naming every save that still fails.
    void sayWhatIsLost() const;
    // The names of the files in `folder` whose saves failed and are kept.
    std::vector<std::string> unsavedIn(const std::string& folder) const;
    // Drops a failed save of `path` (not a new file) kept to be tried again.
    void forget(const std::string& path);

  private:
    struct Unsaved {
        std::string path;
        std::string contents;
        bool newFile;
    };

    void keep(Unsaved save, const std::string& error);

    std::deque<Save> queue;
    std::vector<Unsaved> unsaved; // in the order they failed
    bool failing = false;
};

// What each writer gives the functions of user_files.h that save_queue.cpp writes for both: a
// save queued in its turn, and the queue whose kept saves the writer's jobs ask about.
void queueSave(Save save);
SaveQueue& keptSaves();
