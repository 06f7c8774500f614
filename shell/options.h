#pragma once

// The command line: the option flags, the files and the practice stage it names.
#include "flow/flags.h"

#include <cstdio>
#include <string>

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
