#include "platform/save_queue.h"

#include "platform/user_files.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

bool put(const std::string& path, std::string_view contents, bool newFile, std::string& error) {
    if (!makeFolders(folderOf(path), error)) {
        return false;
    }
    return newFile ? saveNewFile(path, contents, error)
                   : writeFileAtomically(path, contents, error);
}

} // namespace

bool SaveQueue::add(Save save) {
    for (Save& waiting : queue) {
        if (!save.make && !save.job && !waiting.make && !waiting.job && waiting.path == save.path) {
            waiting.contents = std::move(save.contents);
            return false;
        }
    }
    queue.push_back(std::move(save));
    return true;
}

Save SaveQueue::take() {
    Save save = std::move(queue.front());
    queue.pop_front();
    return save;
}

void SaveQueue::write(Save& save) {
    if (save.job) {
        save.job();
        return;
    }
    const bool newFile = static_cast<bool>(save.make);
    std::string contents = newFile ? save.make() : std::move(save.contents);
    if (newFile && contents.empty()) {
        std::fprintf(stderr, "%s: cannot save %s: nothing to save\n", program_invocation_short_name,
                     save.path.c_str());
        return;
    }
    // This save is newer than one of the same file that failed.
    forget(save.path);
    std::string error;
    if (!put(save.path, contents, newFile, error)) {
        keep({save.path, std::move(contents), newFile}, error);
        return;
    }
    retryUnsaved();
}

// Said once until saving works again: a full disk fails every save, and each game's replay is
// a file of its own.
void SaveQueue::keep(Unsaved save, const std::string& error) {
    if (!failing) {
        failing = true;
        std::fprintf(stderr,
                     "%s: cannot save %s: %s; it is kept, and what cannot be saved is "
                     "tried again at each save and at exit\n",
                     program_invocation_short_name, save.path.c_str(), error.c_str());
    }
    unsaved.push_back(std::move(save));
}

void SaveQueue::retryUnsaved() {
    std::string error;
    std::erase_if(unsaved, [&error](const Unsaved& save) {
        return put(save.path, save.contents, save.newFile, error);
    });
    if (failing && unsaved.empty()) {
        failing = false;
        std::fprintf(stderr, "%s: saving works again: everything kept is saved\n",
                     program_invocation_short_name);
    }
}

void SaveQueue::sayWhatIsLost() const {
    std::string names;
    for (const Unsaved& save : unsaved) {
        names += (names.empty() ? "" : ", ") + save.path;
    }
    if (!names.empty()) {
        std::fprintf(stderr, "%s: not saved, as saving still fails: %s\n",
                     program_invocation_short_name, names.c_str());
    }
}

std::vector<std::string> SaveQueue::unsavedIn(const std::string& folder) const {
    std::vector<std::string> names;
    for (const Unsaved& save : unsaved) {
        if (folderOf(save.path) == folder) {
            names.push_back(save.path.substr(folder.size() + 1));
        }
    }
    return names;
}

void SaveQueue::forget(const std::string& path) {
    std::erase_if(unsaved,
                  [&path](const Unsaved& save) { return !save.newFile && save.path == path; });
}

void saveInBackground(const std::string& path, std::string contents) {
    queueSave({path, std::move(contents), {}, {}});
}

void saveNewFileInBackground(const std::string& path, std::function<std::string()> make) {
    queueSave({path, "", std::move(make), {}});
}

void workInBackground(std::function<void()> job) {
    queueSave({"", "", {}, std::move(job)});
}

std::vector<std::string> unsavedFilesIn(const std::string& folder) {
    return keptSaves().unsavedIn(folder);
}

bool removeFile(const std::string& path) {
    keptSaves().forget(path);
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}
