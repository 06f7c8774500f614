#pragma once

#include <cstdio>
#include <string>

extern int optDepthBuffer;   // "/d", -d, --depth-buffer: depth buffer and depth test
extern int optNormalize;     // "/n", -n, --normalize: GL_NORMALIZE
extern int optSilent;        // "/s", -s, --silent: no beeps
extern int optFullscreen;    // -F, --fullscreen: start fullscreen
extern int optClassicFrames; // --classic-frames: one drawing per simulation frame
extern double optRefreshHz;  // --refresh HZ: drawings per second; 0 = the display's own

// The rates --refresh accepts.
inline constexpr double LowestRefreshHz = 1.0;
inline constexpr double HighestRefreshHz = 1000.0;

// What the command line asks of the program besides the option globals.
enum class CommandLineRequest { Play, Help, Version, Records, BadOption };

struct CommandLine {
    CommandLineRequest request = CommandLineRequest::Play;
    std::string error;        // for BadOption: one line, without the program's name
    std::string recordFile;   // --record FILE: the recording to write; empty for none
    std::string replayFile;   // --replay FILE: the recording to play back; empty for none
    std::string timedemoFile; // --timedemo FILE: the recording to draw as fast as it goes
    int startStage = 0;       // --stage N: a practice game from stage N; 0 for the title
};

// Reads argv[1..argc-1] in order, before glutInit. "/d", "/n" and "/s" (exactly two
// characters) and their GNU spellings set the option globals; GLUT's own X options are
// skipped with their values, for glutInit to read; --record and --replay take a file each
// (never empty) and exclude each other; --replay excludes --stage too (the file says its
// start), --timedemo excludes all three, and --refresh takes a rate from LowestRefreshHz to
// HighestRefreshHz. The first help, version, records or unknown "-" argument ends the scan;
// every other argument is ignored, and after "--" so are "-" ones.
CommandLine scanOptions(int argc, char** argv);

// Answers a request other than Play: the usage or the version on `out` (status 0), or the
// error and the usage on `err` (status 2). Returns the exit status.
int answerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);
