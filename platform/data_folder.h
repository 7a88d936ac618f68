#pragma once
// The per-user folder that holds the trace log and the editor's marker file.
//
// NIMBREL_DATA_DIR overrides it (tests never touch a user's real folder);
// otherwise $XDG_CONFIG_HOME/Nimbrel, else $HOME/.config/Nimbrel.
#include <string>

namespace platform {

// The folder's path, without a trailing slash. Does not create it.
std::string dataFolder();

// The path of a file in the folder, creating the folder (and its parents) on
// demand. Returns an empty string when the folder cannot be created.
std::string dataFilePath(const char* fileName);

}  // namespace platform
