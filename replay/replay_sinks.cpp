#include "replay/replay_sinks.h"

#include "platform/user_files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

struct ReplayFileSink::File {
    int fd = -1;
    std::string path;
    const char* program = "";
    dev_t device = 0;
    ino_t inode = 0;
    bool failed = false; // writer thread only, once created

    ~File() {
        if (fd >= 0) {
            ::close(fd);
        }
    }

    bool writeAll(std::string_view lines) const {
        const int failure = ::writeAll(fd, lines);
        errno = failure;
        return failure == 0;
    }

    // A file removed (or its folder) takes every later line with it unseen.
    bool stillThere() const {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 && status.st_dev == device &&
               status.st_ino == inode;
    }

    void append(std::string_view lines) {
        if (failed) {
            return;
        }
        const char* reason = nullptr;
        std::string error;
        if (!stillThere()) {
            reason = "the file was removed or replaced";
        } else if (!writeAll(lines)) {
            error = std::string("cannot write: ") + std::strerror(errno);
            reason = error.c_str();
        }
        if (reason != nullptr) {
            failed = true;
            std::fprintf(stderr, "%s: %s: %s; the recording stops here\n", program, path.c_str(),
                         reason);
        }
    }
};

bool ReplayFileSink::create(const std::string& path, std::string_view header, const char* program,
                            std::string& error) {
    auto made = std::make_shared<File>();
    made->path = path;
    made->program = program;
    // Opened without blocking, so that a FIFO with no reader is refused instead of hanging.
    made->fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0666);
    struct stat status {};
    if (made->fd < 0 || ::fcntl(made->fd, F_SETFL, ::fcntl(made->fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
        ::fstat(made->fd, &status) != 0 || !made->writeAll(header)) {
        error = path + ": cannot write: " + std::strerror(errno);
        return false;
    }
    made->device = status.st_dev;
    made->inode = status.st_ino;
    file = std::move(made);
    return true;
}

void ReplayFileSink::writeOut(std::string_view lines, bool sealed) {
    if (file == nullptr) {
        return;
    }
    workInBackground([file = file, lines = std::string(lines)] { file->append(lines); });
    if (sealed) {
        file.reset(); // closed once the writer thread has appended the last lines
    }
}

void ReplayTextSink::writeOut(std::string_view lines, bool sealed) {
    text += lines;
    handOver(text, sealed);
    if (sealed) {
        std::string().swap(text); // handed over: a long game's text is not held on
    }
}
