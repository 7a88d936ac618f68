#pragma once
// Rendering audio through a loaded plug-in, block by block, as a host does.
#include <functional>
#include <string>

#include "tools/nimbrel/audio_file.h"
#include "tools/vsthost/plugin_host.h"

struct RenderOptions {
    int blockSize = 512;
    double tailSeconds = -1.0;  // below 0: until the output has died away (at most kMaxAutoTail)
    double tempo = 120.0;
};

constexpr double kMaxAutoTail = 30.0;

// Renders `input` and then the tail into `output` (same sample rate). The
// plug-in must already be started at the input's rate with the block size.
void renderThrough(PluginHost& host, const StereoAudio& input, StereoAudio& output,
                   const RenderOptions& options, const std::function<void(double)>& progress);

// Selects a program by number (0..179) or by name; false and `error` if none.
bool selectProgram(PluginHost& host, const std::string& which, std::string& error);

// Sets a parameter from "SHORTNAME=VALUE" with a value in 0..1.
bool applyParameter(PluginHost& host, const std::string& assignment, std::string& error);
