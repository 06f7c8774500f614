#pragma once

// Where a recording's lines go: the recorder builds them and hands each write-out to a sink,
// which never does file work on the frame's path.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class ReplaySink {
  public:
    virtual ~ReplaySink() = default;
    // The lines since the last write-out; `sealed` with the end record, the last of them.
    virtual void writeOut(std::string_view lines, bool sealed) = 0;
};

// A file named on the command line. The header is written at once, so that a file that
// cannot be written is refused before the game starts; every later write-out is appended by
// the writer thread. A failed write, or the file removed or replaced meanwhile, is said once
// on stderr (naming `program`) and ends the file there; the game plays on.
class ReplayFileSink final : public ReplaySink {
  public:
    // Creates the file (never waiting on a FIFO) and writes `header`: false with a one-line
    // reason naming the file.
    bool create(const std::string& path, std::string_view header, const char* program,
                std::string& error);
    void writeOut(std::string_view lines, bool sealed) override;

  private:
    struct File;
    std::shared_ptr<File> file; // shared with the writer thread's jobs
};

// A recording kept in memory: each write-out hands the whole text so far to `handOver`, with
// whether it is sealed, so that the file can be written away from the frame's path.
class ReplayTextSink final : public ReplaySink {
  public:
    using HandOver = std::function<void(const std::string& text, bool sealed)>;
    explicit ReplayTextSink(HandOver handOver) : handOver(std::move(handOver)) {}
    void writeOut(std::string_view lines, bool sealed) override;

  private:
    HandOver handOver;
    std::string text;
};
