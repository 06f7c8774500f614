#pragma once

// Where the game keeps a player's files, and what it does with one it cannot use.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Each file is small; a larger one is not ours.
inline constexpr std::size_t PlayerFileLimit = 64 * 1024;

// $XDG_CONFIG_HOME/tumbra/settings.toml; empty when there is no home to keep it in.
std::string settingsPath();
// $XDG_DATA_HOME/tumbra/records.toml; empty likewise.
std::string recordsPath();
// $XDG_DATA_HOME/tumbra/replays, the games' own replays; empty likewise.
std::string replaysFolder();
// $XDG_PICTURES_DIR/Tumbra, or $XDG_DATA_HOME/tumbra/screenshots; empty likewise.
std::string screenshotFolder();

// How a player's file is read: for the game, which sets a bad file aside and saves the values
// it uses in its place, or only to be shown (tumbra --records), which changes nothing.
enum class FileUse { Game, ShowOnly };

// A file's text read into the values: false with `error` for a text that is not TOML at all,
// the values left as they were; else true, with a line in `refused` for each key whose value
// was refused, the others read.
using PlayerFileParse = std::function<bool(std::string_view text, std::string& error,
                                           std::vector<std::string>& refused)>;

// Reads the file at `path` with `parse`. A file that is unusable (a FIFO, too large,
// unreadable), not TOML, or holds refused values is said in one line on stderr naming it and
// why. For the game it is then kept aside, and `format`'s text saved in its place at once.
// False when the file must not be saved over: bad, and only shown or not kept aside.
bool loadPlayerFile(const std::string& path, FileUse use, const PlayerFileParse& parse,
                    const std::function<std::string()>& format);
// Says once on stderr that there is no home folder to keep the files in.
void sayNoHome();
