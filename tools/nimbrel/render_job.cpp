#include "tools/nimbrel/render_job.h"

#include <cmath>
#include <cstdio>

#include "tools/nimbrel/progress.h"
#include "tools/nimbrel/settings.h"

std::unique_ptr<PluginHost> preparePlugin(const PluginSettings& settings, int rate, int blockSize,
                                          std::string& error, std::vector<AppliedParameter>* applied) {
    std::string path = findPluginLibrary();
    if (path.empty()) {
        error = "cannot find the plug-in library Nimbrel.so (build it, or set NIMBREL_PLUGIN)";
        return nullptr;
    }
    auto host = PluginHost::load(path, error);
    if (!host) return nullptr;
    host->start(static_cast<float>(rate), blockSize);
    if (!loadBankOption(*host, settings.presets, error)) return nullptr;
    if (!selectProgram(*host, settings.program, error)) return nullptr;
    if (!loadProgramOption(*host, settings.presets, error)) return nullptr;
    for (const std::string& p : settings.params) {
        int index = 0;
        float value = 0.0f;
        if (!applyParameter(*host, p, index, value, error)) return nullptr;
        if (applied) applied->push_back({p, index, value});
    }
    return host;
}

RenderOutcome renderToFile(const RenderJob& job, AudioSource& input, const std::string& out, bool progressBar) {
    RenderOutcome outcome;
    auto host = preparePlugin(job.settings, input.sampleRate(), job.render.blockSize, outcome.error);
    if (!host) return outcome;
    AudioFileWriter writer;
    if (!writer.open(out, input.sampleRate(), job.format, outcome.error)) return outcome;
    {
        ProgressBar bar(progressBar);
        if (!renderThrough(*host, input, writer, job.render, [&](double f) { bar(f); }, outcome.error))
            return outcome;
    }
    if (!writer.commit(outcome.error)) return outcome;
    outcome.ok = true;
    outcome.sampleRate = input.sampleRate();
    outcome.seconds = static_cast<double>(writer.framesWritten()) / input.sampleRate();
    outcome.program = host->programName();
    outcome.clipping = writer.clipping();
    return outcome;
}

std::string clippingWarning(const std::string& out, const ClippingReport& clipping) {
    if (clipping.samples == 0) return std::string();
    char figures[160];
    std::snprintf(figures, sizeof figures, "%lld samples clipped at full scale (peak %.2f, %+.1f dBFS)",
                  static_cast<long long>(clipping.samples), static_cast<double>(clipping.peak),
                  20.0 * std::log10(static_cast<double>(clipping.peak)));
    return out + ": " + figures + "; for headroom write float samples (--format float, not for .flac) or lower the Volume";
}
