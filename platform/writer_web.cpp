// The writer of a player's files in the page, which has no threads: the queue runs at the end
// of a frame, and what it wrote is then handed to the browser (user_files_web.js).
#include "platform/save_queue.h"
#include "platform/user_files.h"
#include "platform/user_files_web.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

extern "C" {
// From user_files_web.js.
int browserFilesBusy();
void browserFilesKeep();
}

namespace {

constexpr mode_t CopyMode = 0666;

// True when something ran.
bool runQueued() {
    bool ran = false;
    while (!keptSaves().empty()) {
        Save save = keptSaves().take();
        keptSaves().write(save);
        ran = true;
    }
    return ran;
}

// A second name that never replaces a file, as link gives one: a copy, made whole before the
// caller removes the first name.
int linkByCopy(const char* from, const char* to) {
    const int in = ::open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        return -1;
    }
    const int out = ::open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, CopyMode);
    if (out < 0) {
        const int failure = errno;
        ::close(in);
        errno = failure;
        return -1;
    }
    char block[4096];
    ssize_t count = 0;
    while ((count = ::read(in, block, sizeof block)) > 0) {
        if (::write(out, block, static_cast<std::size_t>(count)) != count) {
            count = -1;
            break;
        }
    }
    const int failure = errno;
    ::close(in);
    ::close(out);
    if (count < 0) {
        ::unlink(to);
        errno = failure;
        return -1;
    }
    return 0;
}

} // namespace

void queueSave(Save save) {
    keptSaves().add(std::move(save));
}

SaveQueue& keptSaves() {
    static SaveQueue queue;
    return queue;
}

void useBrowserFiles() {
    fileCalls.link = linkByCopy;
}

void finishSaving() {
    if (runQueued()) {
        browserFilesKeep();
    }
}

// While IndexedDB takes the folder, the folder stays as it handed it over.
void runSavesAtFrameEnd() {
    if (browserFilesBusy() == 0 && runQueued()) {
        browserFilesKeep();
    }
}

void saveEverythingNow() {
    runQueued();
    keptSaves().retryUnsaved();
    keptSaves().sayWhatIsLost();
    browserFilesKeep();
}

bool savesPending() {
    return !keptSaves().empty() || browserFilesBusy() != 0;
}
