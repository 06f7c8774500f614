// The writer of a player's files on the desktop: a thread of its own, so that saving never
// holds up a frame.
#include "platform/save_queue.h"
#include "platform/user_files.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <pthread.h>
#include <thread>

namespace {

class Writer {
  public:
    void add(Save save) {
        std::unique_lock lock(mutex);
        // Past the end of the writer thread (the program is exiting) the work is done here.
        if (stopping && !thread.joinable()) {
            lock.unlock();
            work.write(save);
            return;
        }
        start();
        if (work.add(std::move(save))) {
            wake.notify_all();
        }
    }

    void finish() {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return work.empty() && !busy; });
    }

    // At exit: what was asked is written, then the thread ends.
    void stop() {
        {
            std::unique_lock lock(mutex);
            stopping = true;
            wake.notify_all();
        }
        if (thread.joinable()) {
            thread.join();
        }
    }

    // What the jobs on the writer thread ask of the saves kept.
    SaveQueue& saves() { return work; }

    static Writer& writer() {
        static const bool made = [] {
            instance = new Writer;
            // A child forked from the game has no writer thread: it gets a writer of its own,
            // and the parent's is left as it was.
            ::pthread_atfork(nullptr, nullptr, [] {
                inherited = instance;
                instance = new Writer;
            });
            return true;
        }();
        static_cast<void>(made);
        return *instance;
    }

  private:
    void start() {
        if (!thread.joinable() && !stopping) {
            thread = std::thread([this] { run(); });
            std::atexit([] { writer().stop(); });
        }
    }

    void run() {
        std::unique_lock lock(mutex);
        while (true) {
            wake.wait(lock, [this] { return stopping || !work.empty(); });
            if (work.empty()) {
                break;
            }
            Save save = work.take();
            busy = true;
            lock.unlock();
            work.write(save);
            lock.lock();
            busy = false;
            idle.notify_all();
        }
        lock.unlock();
        // The last try for what could not be saved.
        work.retryUnsaved();
        work.sayWhatIsLost();
    }

    static inline Writer* instance = nullptr;  // lives until the process ends, past exit
    static inline Writer* inherited = nullptr; // a forked child's copy of its parent's
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    SaveQueue work; // its queue under the mutex; the saves kept on the writer thread only
    bool busy = false;
    bool stopping = false;
    std::thread thread;
};

} // namespace

void queueSave(Save save) {
    Writer::writer().add(std::move(save));
}

SaveQueue& keptSaves() {
    return Writer::writer().saves();
}

void finishSaving() {
    Writer::writer().finish();
}
