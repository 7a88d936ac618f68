#include "tools/nimbrel/render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <strings.h>
#include <vector>

namespace {

// Output below this for a whole second counts as silence (about -100 dBFS).
constexpr float kSilence = 1.0e-5f;

bool parseWhole(const std::string& text, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtol(text.c_str(), &end, 10);
    return end && *end == 0;
}

}  // namespace

void renderThrough(PluginHost& host, const StereoAudio& input, StereoAudio& output,
                   const RenderOptions& options, const std::function<void(double)>& progress) {
    const int block = std::max(1, options.blockSize);
    const size_t inputFrames = input.frames();
    const bool autoTail = options.tailSeconds < 0.0;
    const double tailLimit = autoTail ? kMaxAutoTail : options.tailSeconds;
    const size_t maxTail = static_cast<size_t>(tailLimit * input.sampleRate);
    const size_t quietNeeded = static_cast<size_t>(input.sampleRate);  // one second

    host.timeInfo.tempo = options.tempo;
    output.sampleRate = input.sampleRate;
    output.left.clear();
    output.right.clear();
    output.left.reserve(inputFrames + (autoTail ? 4 * quietNeeded : maxTail));
    output.right.reserve(output.left.capacity());

    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    size_t position = 0;
    size_t quietRun = 0;
    const size_t total = inputFrames + maxTail;
    while (position < total) {
        const size_t n = std::min<size_t>(block, total - position);
        for (size_t i = 0; i < n; ++i) {
            size_t at = position + i;
            inL[i] = at < inputFrames ? input.left[at] : 0.0f;
            inR[i] = at < inputFrames ? input.right[at] : 0.0f;
        }
        host.process(ins, outs, static_cast<int32_t>(n));
        for (size_t i = 0; i < n; ++i) {
            output.left.push_back(outL[i]);
            output.right.push_back(outR[i]);
            bool quiet = std::fabs(outL[i]) < kSilence && std::fabs(outR[i]) < kSilence;
            quietRun = quiet ? quietRun + 1 : 0;
        }
        position += n;
        if (progress) progress(static_cast<double>(std::min(position, inputFrames)) / std::max<size_t>(1, inputFrames));
        if (autoTail && position >= inputFrames && quietRun >= quietNeeded) break;
    }
}

bool selectProgram(PluginHost& host, const std::string& which, std::string& error) {
    const int32_t count = host.effect()->numPrograms;
    long number = 0;
    if (parseWhole(which, number)) {
        if (number < 0 || number >= count) {
            error = "program " + which + " does not exist (0.." + std::to_string(count - 1) + ")";
            return false;
        }
        host.setProgram(static_cast<int32_t>(number));
        return true;
    }
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i < count; ++i) {
            std::string name = host.programNameIndexed(i);
            bool same = pass == 0 ? name == which : strcasecmp(name.c_str(), which.c_str()) == 0;
            if (same) {
                host.setProgram(i);
                return true;
            }
        }
    }
    error = "no program is named \"" + which + "\" (nimbrel info lists them)";
    return false;
}

bool applyParameter(PluginHost& host, const std::string& assignment, std::string& error) {
    size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
        error = "--param wants SHORTNAME=VALUE, got \"" + assignment + "\"";
        return false;
    }
    const std::string name = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    char* end = nullptr;
    float value = std::strtof(text.c_str(), &end);
    if (text.empty() || !end || *end != 0 || !std::isfinite(value)) {
        error = "the value of " + name + " is not a number: \"" + text + "\"";
        return false;
    }
    if (value < 0.0f || value > 1.0f) {
        error = "the value of " + name + " must be within 0..1, got " + text;
        return false;
    }
    const int32_t count = host.effect()->numParams;
    for (int pass = 0; pass < 2; ++pass) {
        for (int32_t i = 0; i < count; ++i) {
            if (!host.dispatch(effCanBeAutomated, i)) continue;  // reserved slots share one name
            std::string candidate = host.parameterName(i);
            bool same = pass == 0 ? candidate == name : strcasecmp(candidate.c_str(), name.c_str()) == 0;
            if (same) {
                host.setParameter(i, value);
                return true;
            }
        }
    }
    error = "no parameter is named \"" + name + "\" (nimbrel info lists them)";
    return false;
}
