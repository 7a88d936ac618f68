#include "host/program_summary.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "dsp/reverb.h"
#include "host/switch_points.h"

namespace {

std::string text(int index, float value) {
    char buf[32];
    parameterDisplayText(index, value, buf, sizeof buf);
    return buf;
}

std::string seconds(double s) {
    char buf[32];
    if (std::isinf(s))
        std::snprintf(buf, sizeof buf, "endless");
    else
        std::snprintf(buf, sizeof buf, s < 10.0 ? "%.1f s" : "%.0f s", s);
    return buf;
}

}  // namespace

double estimatedReverbDecaySeconds(float size, float decay) {
    // One trip round the tank's figure of eight passes four lossy taps (the
    // loop gain each), at the reverb's own figures for 44.1 kHz.
    const ReverbCoeffs k = Reverb::coefficients(44100.0f, 1.0f, decay, size, 0.0f, 0.0f, 0.0f, 0.0f,
                                                0.0f, 0.0f, 1.0f);
    double tripSeconds = static_cast<double>(Reverb::kTankTripUnits * k.unit) / 44100.0;
    if (k.fb >= 1.0f) return std::numeric_limits<double>::infinity();
    if (k.fb <= 0.0f) return 0.0;
    double lossPerTripDb = -80.0 * std::log10(static_cast<double>(k.fb));
    return 60.0 / lossPerTripDb * tripSeconds;
}

std::string describeProgram(const float values[kNumParams]) {
    using namespace param;
    float v[kNumParams];
    for (int i = 0; i < kNumParams; ++i) v[i] = controlValue(values[i]);
    std::string line;
    auto add = [&line](const std::string& part) {
        if (!line.empty()) line += ", ";
        line += part;
    };
    if (switchOn(v[Bypass])) add("bypassed");

    const bool reverbOn = engineOn(v[RMix]);
    const bool tapsOn = engineOn(v[MMix]);
    if (reverbOn)
        add("reverb " + text(RSize, v[RSize]) + " m ~" +
            seconds(estimatedReverbDecaySeconds(v[RSize], v[RDecay])));
    if (tapsOn) {
        int taps = 0;
        for (int k = 0; k < kNumSteps; ++k)
            if (v[stepLeft(k)] + v[stepRight(k)] > 0.0f) ++taps;
        std::string fb = v[MFeedba] > kEngineOnLevel ? "feedback " + text(MFeedba, v[MFeedba]) : "one shot";
        add("multitap " + text(MTime, v[MTime]) + " x" + std::to_string(taps) + " " + fb);
    }
    if (reverbOn && tapsOn) add(text(Route, v[Route]));
    if (!reverbOn && !tapsOn) add("no engine");
    if (gateOn(v[GThresh]))
        add("gate " + text(GThresh, v[GThresh]) + " hold " + text(GHold, v[GHold]) + " s release " +
            text(GRelease, v[GRelease]) + " s");
    if (duckerOn(v[DLevel])) add("ducking " + text(DLevel, v[DLevel]) + " limit " + text(DLimit, v[DLimit]));
    const std::string width = text(Surround, v[Surround]);
    if (width != "stereo") add(width);
    return line;
}
