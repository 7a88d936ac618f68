#pragma once
// Program (.fxp) and bank (.fxb) files on the command line: loading them into
// the loaded plug-in before rendering, and saving its programs.
#include <string>

#include "tools/vsthost/plugin_host.h"

struct PresetFileOptions {
    std::string programFile;  // --preset FILE.fxp: loaded into the selected program
    std::string bankFile;     // --bank FILE.fxb: loaded before the program is selected
};

// What is wrong with `bytes` as a file of the given kind for this plug-in
// ("" when nothing is): not a preset file, another plug-in's, the other
// kind, an opaque chunk.
std::string presetFileProblem(const std::string& bytes, bool bank);

// Loads the --bank file, if any; false with `error` when it is not ours or damaged.
bool loadBankOption(PluginHost& host, const PresetFileOptions& options, std::string& error);
// Loads the --preset file, if any, into the current program.
bool loadProgramOption(PluginHost& host, const PresetFileOptions& options, std::string& error);

// Saves the current program (bank = false) or every stored program to `path`,
// with ".fxp" or ".fxb" appended when it does not end so. `written` gets the path.
bool savePresetFile(PluginHost& host, const std::string& path, bool bank, std::string& written,
                    std::string& error);
