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

// Renders `input` and then the tail into `output` (same sample rate), one
// host block at a time: memory stays a few blocks whatever the length. The
// plug-in must already be started at the input's rate with the block size.
// `progress` hears the fraction of the input done. False with `error` when
// the input cannot be read or the output written.
bool renderThrough(PluginHost& host, AudioSource& input, AudioSink& output, const RenderOptions& options,
                   const std::function<void(double)>& progress, std::string& error);
