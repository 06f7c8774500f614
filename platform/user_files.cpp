#include "platform/user_files.h"

#include "platform/save_queue.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int HighestBadCopy = 10;    // ten copies: PATH.bad and PATH.bad.2 to PATH.bad.10
constexpr int MostLinksFollowed = 40; // as many as the kernel follows
constexpr std::size_t UserDirsLimit = 64 * 1024;
constexpr mode_t FileMode = 0666; // less the umask, as any new file
constexpr mode_t FolderMode = 0777;

std::string systemError() {
    return std::strerror(errno);
}

// The `size` bytes of the file open at `fd`; a file that shrank while read is taken as far
// as it goes.
ReadStatus readWhole(int fd, std::size_t size, std::string& contents, std::string& error) {
    contents.assign(size, '\0');
    std::size_t got = 0;
    while (got < contents.size()) {
        const ssize_t n = ::read(fd, contents.data() + got, contents.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = "cannot read: " + systemError();
            return ReadStatus::Unusable;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    contents.resize(got);
    return ReadStatus::Read;
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

// The rename is made durable by syncing the folder that holds the name.
void syncFolder(const std::string& folder) {
    const int fd = fileCalls.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (fd >= 0) {
        fileCalls.fsync(fd);
        fileCalls.close(fd);
    }
}

// A temporary file beside `path`, unique to this process and write.
int createTemporary(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    temporary = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    return fileCalls.open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, FileMode);
}

// Writes and syncs the temporary file, then gives it its name: rename replaces an old file,
// link never does. Returns 0 or the errno of the step that failed.
int writeThroughTemporary(const std::string& path, std::string_view contents, bool replace) {
    std::string temporary;
    const int fd = createTemporary(path, temporary);
    if (fd < 0) {
        return errno;
    }
    int failure = writeAll(fd, contents);
    if (failure == 0 && fileCalls.fsync(fd) != 0) {
        failure = errno;
    }
    if (fileCalls.close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    if (failure == 0) {
        const int named = replace ? fileCalls.rename(temporary.c_str(), path.c_str())
                                  : fileCalls.link(temporary.c_str(), path.c_str());
        failure = named == 0 ? 0 : errno;
    }
    if (failure != 0 || !replace) {
        fileCalls.unlink(temporary.c_str());
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

// `file` named from its folder's real path, when the folder is there: where a link leads, as
// a message should name it (without the "../" of a relative link).
std::string inRealFolder(const std::string& file) {
    char* folder = ::realpath(folderOf(file).c_str(), nullptr);
    if (folder == nullptr) {
        return file;
    }
    const std::string real = folder;
    std::free(folder);
    return (real == "/" ? "" : real) + "/" + file.substr(file.rfind('/') + 1);
}

// PATH.bad, then PATH.bad.2 up to PATH.bad.10.
std::string badName(const std::string& path, int number) {
    return path + ".bad" + (number > 1 ? "." + std::to_string(number) : "");
}

// Gives the file at `path` the first free name of its bad copies: link never replaces a file
// that is there already, then the old name goes. Empty when it cannot be moved, which
// `everyNameTaken` tells apart.
std::string moveToFreeBadName(const std::string& path, bool& everyNameTaken) {
    everyNameTaken = false;
    for (int number = 1; number <= HighestBadCopy; ++number) {
        const std::string aside = badName(path, number);
        if (fileCalls.link(path.c_str(), aside.c_str()) == 0) {
            fileCalls.unlink(path.c_str());
            return aside;
        }
        if (errno != EEXIST) {
            return "";
        }
    }
    everyNameTaken = true;
    return "";
}

// The oldest bad copy, PATH.bad, goes; the others move down one name, freeing the last.
void makeRoomForABadCopy(const std::string& path) {
    fileCalls.unlink(badName(path, 1).c_str());
    for (int number = 2; number <= HighestBadCopy; ++number) {
        fileCalls.rename(badName(path, number).c_str(), badName(path, number - 1).c_str());
    }
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

} // namespace

int writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = fileCalls.write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written < 0) {
            return errno;
        }
        if (written == 0) {
            return EIO; // no progress: the file would be cut short
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// A new file under `path`'s name, or NAME-2.EXT and on when that is taken, said on stderr.
bool saveNewFile(const std::string& path, std::string_view contents, std::string& error) {
    for (int number = 1;; ++number) {
        const std::string name = numberedName(path, number);
        const int failure = writeThroughTemporary(name, contents, false);
        if (failure == 0) {
            std::fprintf(stderr, "%s: saved %s\n", program_invocation_short_name, name.c_str());
            return true;
        }
        if (failure != EEXIST) {
            error = std::strerror(failure);
            return false;
        }
    }
}

FileCalls systemFileCalls() {
    return {[](const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); },
            ::write,
            ::fsync,
            ::close,
            ::rename,
            ::link,
            ::unlink};
}

FileCalls fileCalls = systemFileCalls();

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
        error = "cannot open: " + systemError();
        return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unusable;
    }
    struct stat info {};
    ReadStatus status = ReadStatus::Unusable;
    if (::fstat(fd, &info) != 0) {
        error = "cannot read: " + systemError();
    } else if (!S_ISREG(info.st_mode)) {
        error = "not a regular file";
    } else if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        error = "larger than " + std::to_string(maxBytes) + " bytes";
    } else {
        status = readWhole(fd, static_cast<std::size_t>(info.st_size), contents, error);
    }
    ::close(fd);
    return status;
}

std::string throughLinks(const std::string& path) {
    std::string file = path;
    for (int link = 0; link < MostLinksFollowed; ++link) {
        char target[PATH_MAX];
        const ssize_t size = ::readlink(file.c_str(), target, sizeof target);
        if (size < 0 || static_cast<std::size_t>(size) == sizeof target) {
            // No link (or a target too long to be one): the file.
            return link == 0 ? file : inRealFolder(file);
        }
        const std::string next(target, static_cast<std::size_t>(size));
        file = next.starts_with('/') ? next : folderOf(file) + "/" + next;
    }
    return path;
}

KeptAside keepAside(const std::string& path) {
    const std::string file = throughLinks(path);
    bool everyNameTaken = false;
    const std::string aside = moveToFreeBadName(file, everyNameTaken);
    if (!everyNameTaken) {
        return {aside, ""};
    }
    makeRoomForABadCopy(file);
    const std::string last = moveToFreeBadName(file, everyNameTaken);
    return {last, last.empty() ? "" : badName(file, 1)};
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
    const std::string file = throughLinks(path);
    removeStaleTemporaries(folderOf(file), file.substr(file.rfind('/') + 1));
    const int failure = writeThroughTemporary(file, contents, true);
    if (failure != 0) {
        error = std::strerror(failure);
    }
    return failure == 0;
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

void removeStaleTemporariesIn(const std::string& folder) {
    removeStaleTemporaries(folder, "");
}
