#include "tools/nimbrel/render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Output below this for a whole second counts as silence (about -100 dBFS).
constexpr float kSilence = 1.0e-5f;

}  // namespace

bool renderThrough(PluginHost& host, AudioSource& input, AudioSink& output, const RenderOptions& options,
                   const std::function<void(double)>& progress, std::string& error) {
    const int block = std::max(1, options.blockSize);
    const bool autoTail = options.tailSeconds < 0.0;
    const double tailLimit = autoTail ? kMaxAutoTail : options.tailSeconds;
    const size_t maxTail = static_cast<size_t>(tailLimit * input.sampleRate());
    const size_t quietNeeded = static_cast<size_t>(input.sampleRate());  // one second
    const size_t announced = static_cast<size_t>(std::max<int64_t>(1, input.announcedFrames()));

    host.timeInfo.tempo = options.tempo;

    std::vector<float> inL(block), inR(block), outL(block), outR(block);
    float* ins[2] = {inL.data(), inR.data()};
    float* outs[2] = {outL.data(), outR.data()};
    size_t position = 0;
    size_t quietRun = 0;
    // The input's length is known once it ends; the tail is counted from there.
    bool inputEnded = false;
    size_t inputFrames = 0;
    for (;;) {
        size_t n = static_cast<size_t>(block);
        size_t got = 0;
        if (!inputEnded) {
            got = input.read(inL.data(), inR.data(), n);
            if (got < n) {
                if (!input.error().empty()) {
                    error = input.error();
                    return false;
                }
                inputEnded = true;
                inputFrames = position + got;
                // An input that ends on a block boundary: the check below the previous
                // block would already have seen the end.
                if (got == 0 && autoTail && quietRun >= quietNeeded) break;
            }
        }
        if (inputEnded) {
            const size_t total = inputFrames + maxTail;
            if (position >= total) break;
            n = std::min(n, total - position);
        }
        std::fill(inL.begin() + static_cast<std::ptrdiff_t>(got), inL.end(), 0.0f);
        std::fill(inR.begin() + static_cast<std::ptrdiff_t>(got), inR.end(), 0.0f);
        host.process(ins, outs, static_cast<int32_t>(n));
        if (!output.write(outL.data(), outR.data(), n)) return false;
        for (size_t i = 0; i < n; ++i) {
            bool quiet = std::fabs(outL[i]) < kSilence && std::fabs(outR[i]) < kSilence;
            quietRun = quiet ? quietRun + 1 : 0;
        }
        position += n;
        if (progress) progress(inputEnded ? 1.0 : std::min(1.0, static_cast<double>(position) / announced));
        if (autoTail && inputEnded && quietRun >= quietNeeded) break;
    }
    return true;
}
