#include "platform/user_files.h"

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int HighestBadCopy = 9;
constexpr std::size_t UserDirsLimit = 64 * 1024;
constexpr mode_t FileMode = 0666; // less the umask, as any new file
constexpr mode_t FolderMode = 0777;

std::string systemError() {
    return std::strerror(errno);
}

std::string home() {
    const char* value = std::getenv("HOME");
    return value != nullptr && value[0] == '/' ? value : "";
}

// An XDG variable counts only when it holds an absolute path.
std::string baseFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const std::string homeFolder = home();
    return homeFolder.empty() ? "" : homeFolder + underHome;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The rename is made durable by syncing the folder that holds the name.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A temporary file beside `path`, unique to this process and write.
int createTemporary(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, FileMode);
}

// Writes and syncs the temporary file, then gives it its name: rename replaces an old file,
// link never does. Returns 0 or the errno of the step that failed.
int writeThroughTemporary(const std::string& path, std::string_view contents, bool replace) {
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) {
        return errno;
    }
    int failure = writeAll(fd, contents) && ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0) {
        const int named = replace ? ::rename(temporary.c_str(), path.c_str())
                                  : ::link(temporary.c_str(), path.c_str());
        failure = named == 0 ? 0 : errno;
    }
    if (failure != 0 || !replace) {
        ::unlink(temporary.c_str());
    }
    if (failure == 0) {
        syncFolder(folderOf(path));
    }
    return failure;
}

// A game killed while saving leaves its temporary file behind: NAME.tmpPID-N, whose process is
// gone. Removes those in `folder` of the file `base` (empty: of any file).
void removeStaleTemporaries(const std::string& folder, const std::string& base) {
    constexpr std::string_view Mark = ".tmp";
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        const std::size_t mark = name.rfind(Mark);
        if (mark == std::string_view::npos || (!base.empty() && name.substr(0, mark) != base)) {
            continue;
        }
        const long pid = std::strtol(entry->d_name + mark + Mark.size(), nullptr, 10);
        if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            ::unlink((folder + "/" + std::string(name)).c_str());
        }
    }
    ::closedir(entries);
}

// PATH, then PATH-2, PATH-3 ... before the extension.
std::string numberedName(const std::string& path, int number) {
    if (number == 1) {
        return path;
    }
    const std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        dot = path.size();
    }
    return path.substr(0, dot) + "-" + std::to_string(number) + path.substr(dot);
}

struct Save {
    std::string path;
    std::string contents;
    std::function<std::string()> make; // for a new file
    std::function<void()> job;         // other file work, in its turn
};

// The writer thread and its queue. Saves run one after another in the order asked.
class Writer {
  public:
    void add(Save save) {
        std::unique_lock lock(mutex);
        start();
        for (Save& waiting : queue) {
            if (!save.make && !save.job && !waiting.make && !waiting.job &&
                waiting.path == save.path) {
                waiting.contents = std::move(save.contents);
                return;
            }
        }
        queue.push_back(std::move(save));
        wake.notify_all();
    }

    void finish() {
        std::unique_lock lock(mutex);
        idle.wait(lock, [this] { return queue.empty() && !busy; });
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
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty()) {
                return;
            }
            Save save = std::move(queue.front());
            queue.pop_front();
            busy = true;
            lock.unlock();
            write(save);
            lock.lock();
            busy = false;
            idle.notify_all();
        }
    }

    void write(const Save& save) {
        if (save.job) {
            save.job();
            return;
        }
        std::string error;
        if (!makeFolders(folderOf(save.path), error)) {
            report(save.path, error);
            return;
        }
        if (!save.make) {
            if (!writeFileAtomically(save.path, save.contents, error)) {
                report(save.path, error);
            }
            return;
        }
        const std::string contents = save.make();
        if (contents.empty()) {
            report(save.path, "nothing to save");
            return;
        }
        for (int number = 1;; ++number) {
            const std::string name = numberedName(save.path, number);
            const int failure = writeThroughTemporary(name, contents, false);
            if (failure == 0) {
                std::fprintf(stderr, "%s: saved %s\n", program_invocation_short_name, name.c_str());
                return;
            }
            if (failure != EEXIST) {
                report(save.path, std::strerror(failure));
                return;
            }
        }
    }

    // Once per folder: a home that cannot be written is said once, not at every save (each
    // game's replay is a new file).
    void report(const std::string& path, const std::string& error) {
        if (reported.insert(folderOf(path)).second) {
            std::fprintf(stderr, "%s: cannot save %s: %s\n", program_invocation_short_name,
                         path.c_str(), error.c_str());
        }
    }

  public:
    static Writer& writer() {
        static Writer* instance = new Writer; // lives until the process ends, past exit
        return *instance;
    }

  private:
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Save> queue;
    bool busy = false;
    bool stopping = false;
    std::thread thread;
    std::set<std::string> reported; // folders, writer thread only
};

} // namespace

std::string configHome() {
    return baseFolder("XDG_CONFIG_HOME", "/.config");
}

std::string dataHome() {
    return baseFolder("XDG_DATA_HOME", "/.local/share");
}

std::string picturesFolderIn(std::string_view userDirs, const std::string& homeFolder) {
    constexpr std::string_view Key = "XDG_PICTURES_DIR=\"";
    std::string folder;
    while (!userDirs.empty()) {
        const std::size_t end = userDirs.find('\n');
        std::string_view line = userDirs.substr(0, end);
        userDirs.remove_prefix(end == std::string_view::npos ? userDirs.size() : end + 1);
        if (!line.starts_with(Key) || !line.ends_with('"') || line.size() < Key.size() + 1) {
            continue;
        }
        line = line.substr(Key.size(), line.size() - Key.size() - 1);
        if (line.starts_with("$HOME/") && !homeFolder.empty()) {
            folder = homeFolder + std::string(line.substr(std::string_view("$HOME").size()));
        } else if (line.starts_with('/')) {
            folder = line;
        } else {
            folder.clear();
        }
    }
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder == homeFolder ? "" : folder;
}

std::string picturesFolder() {
    const std::string config = configHome();
    std::string text;
    std::string error;
    if (config.empty() ||
        readSmallFile(config + "/user-dirs.dirs", UserDirsLimit, text, error) != ReadStatus::Read) {
        return "";
    }
    return picturesFolderIn(text, home());
}

ReadStatus readSmallFile(const std::string& path, std::size_t maxBytes, std::string& contents,
                         std::string& error) {
    // Non-blocking, so that opening a FIFO returns at once instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return ReadStatus::Missing;
        }
        error = systemError();
        return ReadStatus::Unusable;
    }
    struct stat info {};
    ReadStatus status = ReadStatus::Unusable;
    if (::fstat(fd, &info) != 0) {
        error = systemError();
    } else if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
    } else if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        error = "larger than " + std::to_string(maxBytes) + " bytes";
    } else {
        contents.assign(static_cast<std::size_t>(info.st_size), '\0');
        std::size_t got = 0;
        while (got < contents.size()) {
            const ssize_t n = ::read(fd, contents.data() + got, contents.size() - got);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                break;
            }
            got += static_cast<std::size_t>(n);
        }
        contents.resize(got);
        status = ReadStatus::Read;
    }
    ::close(fd);
    return status;
}

std::string keepAside(const std::string& path) {
    for (int number = 1; number <= HighestBadCopy; ++number) {
        const std::string aside = path + ".bad" + (number > 1 ? "." + std::to_string(number) : "");
        // link never replaces a file that is there already; then the old name goes.
        if (::link(path.c_str(), aside.c_str()) == 0) {
            ::unlink(path.c_str());
            return aside;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    return "";
}

bool makeFolders(const std::string& folder, std::string& error) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            return true;
        }
        error = "not a folder: " + folder;
        return false;
    }
    const std::string parent = folderOf(folder);
    if (parent != folder && !makeFolders(parent, error)) {
        return false;
    }
    if (::mkdir(folder.c_str(), FolderMode) != 0 && errno != EEXIST) {
        error = systemError();
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view contents, std::string& error) {
    removeStaleTemporaries(folderOf(path), path.substr(path.rfind('/') + 1));
    const int failure = writeThroughTemporary(path, contents, true);
    if (failure != 0) {
        error = std::strerror(failure);
    }
    return failure == 0;
}

void saveInBackground(const std::string& path, std::string contents) {
    Writer::writer().add({path, std::move(contents), {}, {}});
}

void saveNewFileInBackground(const std::string& path, std::function<std::string()> make) {
    Writer::writer().add({path, "", std::move(make), {}});
}

void finishSaving() {
    Writer::writer().finish();
}

void workInBackground(std::function<void()> job) {
    Writer::writer().add({"", "", {}, std::move(job)});
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(entries)) {
        struct stat info {};
        const std::string name = entry->d_name;
        if (::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            names.push_back(name);
        }
    }
    ::closedir(entries);
    return names;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

void removeStaleTemporariesIn(const std::string& folder) {
    removeStaleTemporaries(folder, "");
}
