#pragma once

// Where the game keeps a player's files, and what it does with one it cannot use.
#include <cstddef>
#include <optional>
#include <string>

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

// The text of the file at `path`; nothing when it is missing, or unusable (a FIFO, too large,
// unreadable), which rejectPlayerFile has then said and dealt with, setting `savable`.
std::optional<std::string> readPlayerFile(const std::string& path, bool& savable);
// A file that cannot be used: one line on stderr naming it and `why`, and the file kept aside.
// False when it could not be kept aside: it must then not be saved over either.
bool rejectPlayerFile(const std::string& path, const std::string& why);
// Says once on stderr that there is no home folder to keep the files in.
void sayNoHome();
