// bankdesign: measures factory programs as a listener would judge them.
//
//   bankdesign [first [last]] [Short=value ...]
//
// Renders each program at 44100 Hz and 120 BPM and prints one line:
//   peak    loudest output sample for a -6 dB noise burst (dry included)
//   rt60    decay time of the wet impulse response, seconds
//   hi      share of the wet tail's energy above 3 kHz (brightness)
//   s/m     side over mid energy of the output for decorrelated noise (1 = as input)
//   f200 f1k f5k   gain in dB for sines (dry included)
//   gate    seconds until the wet signal is 50 dB down after a noise burst ends
//   the program's one-line description
//   echoesL/R  arrival times (ms) and levels (dB) of the wet impulse response
// Short=value pairs override the program's values (by parameter short name).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/ov_core.h"
#include "host/program_summary.h"
#include "host/switch_points.h"
#include "tools/bankdesign/measure.h"

using namespace bankdesign;

namespace {

struct Override {
    int index;
    float value;
};
std::vector<Override> overrides;

void start(OvCore& fx, int program, bool wetOnly) {
    prepare(fx, program, wetOnly);
    for (const Override& o : overrides) fx.setParameter(o.index, o.value);
    fx.reset();
    fx.dryFactor = wetOnly ? 0.0f : 1.0f;
}

std::string echoText(const std::vector<Echo>& list) {
    std::string s;
    char buf[32];
    for (const Echo& e : list) {
        std::snprintf(buf, sizeof buf, " %.0f(%.0f)", e.seconds * 1000.0, e.db);
        s += buf;
    }
    return s;
}

void measure(OvCore& fx, int program) {
    start(fx, program, true);
    Stereo ir = render(fx, impulse(frames(3.0), 0.5f, 0.5f));
    double t0 = loudestBlockTime(ir);
    double rt = decayTime(ir, t0 + 0.03, t0 + 2.0);
    double hi = highShare(ir, frames(t0), frames(t0 + 0.5), 3000.0f);
    auto el = echoes(ir.l, -30.0, 8), er = echoes(ir.r, -30.0, 8);

    start(fx, program, false);
    Stereo burst = noiseBurst(frames(2.0), frames(0.2), 0.5f, true);
    Stereo out = render(fx, burst);
    float pk = peak(out);
    double sm = sideToMid(out, kLeadIn, kLeadIn + frames(0.2));

    double gains[3];
    const float hz[3] = {200.0f, 1000.0f, 5000.0f};
    for (int k = 0; k < 3; ++k) {
        start(fx, program, false);
        Stereo in = sine(frames(0.3), hz[k], 0.25f);
        gains[k] = gainDb(render(fx, in), in, frames(0.1), frames(0.3));
    }

    double gate = -1.0;
    if (gateOn(controlValue(fx.getParameter(param::GThresh)))) {
        start(fx, program, true);
        Stereo g = render(fx, noiseBurst(frames(2.0), frames(0.3), 0.5f, true));
        gate = timeToSilence(g, kLeadIn + frames(0.3), -50.0);
    }
    char name[32];
    fx.getProgramNameIndexed(program, name);
    std::printf("%3d %-20s peak %5.2f rt60 %5.2f hi %.3f s/m %5.2f f200 %5.1f f1k %5.1f f5k %5.1f",
                program, name, pk, rt, hi, sm, gains[0], gains[1], gains[2]);
    if (gate >= 0.0) std::printf(" gate %.3f", gate);
    float values[kNumParams];
    for (int i = 0; i < kNumParams; ++i) values[i] = fx.getParameter(i);
    std::printf("\n    %s\n    L:%s\n    R:%s\n", describeProgram(values).c_str(), echoText(el).c_str(),
                echoText(er).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("NIMBREL_DATA_DIR")) setenv("NIMBREL_DATA_DIR", "/tmp/nimbrel-bankdesign", 1);
    int first = 0, last = kNumPrograms - 1, numbers = 0;
    for (int i = 1; i < argc; ++i) {
        const char* eq = std::strchr(argv[i], '=');
        if (eq) {
            std::string shortName(argv[i], eq - argv[i]);
            int index = findParameter(shortName.c_str());
            if (index < 0) {
                std::fprintf(stderr, "unknown parameter %s\n", shortName.c_str());
                return 2;
            }
            overrides.push_back({index, std::strtof(eq + 1, nullptr)});
        } else if (numbers++ == 0) {
            first = last = std::atoi(argv[i]);
        } else {
            last = std::atoi(argv[i]);
        }
    }
    auto fx = std::make_unique<OvCore>();
    for (int p = first; p <= last && p < kNumPrograms; ++p) measure(*fx, p);
    return 0;
}
