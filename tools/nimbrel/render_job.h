#pragma once
// One render of the command line, from the plug-in's settings to the file
// written, as `nimbrel render` and each file of a batch run it.
#include <memory>
#include <string>
#include <vector>

#include "tools/nimbrel/audio_file.h"
#include "tools/nimbrel/preset_commands.h"
#include "tools/nimbrel/render.h"
#include "tools/vsthost/plugin_host.h"

// What every command sets up in the plug-in before it works.
struct PluginSettings {
    std::string program = "0";
    std::vector<std::string> params;  // NAME=VALUE, applied in order
    PresetFileOptions presets;
};

// A parameter as --param set it.
struct AppliedParameter {
    std::string assignment;
    int index;
    float value;
};

// Loads the plug-in, starts it at `rate` with the block size, loads the bank,
// selects the program, loads the program file and sets the parameters.
std::unique_ptr<PluginHost> preparePlugin(const PluginSettings& settings, int rate, int blockSize,
                                          std::string& error, std::vector<AppliedParameter>* applied = nullptr);

struct RenderJob {
    PluginSettings settings;
    RenderOptions render;
    SampleFormat format = SampleFormat::Float32;
};

struct RenderOutcome {
    bool ok = false;
    std::string error;
    double seconds = 0.0;
    int sampleRate = 0;
    std::string program;
    ClippingReport clipping;
};

// Renders `input` into the file `out` (never left half-written).
RenderOutcome renderToFile(const RenderJob& job, AudioSource& input, const std::string& out, bool progressBar);

// "OUT: 3 samples clipped ..." when the output could not hold the render; "" otherwise.
std::string clippingWarning(const std::string& out, const ClippingReport& clipping);
