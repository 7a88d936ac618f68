#include "host/parameters.h"

#include <cmath>
#include <cstdio>
#include <cstring>

const char* const MultiDelaySyncTabName2[13] = {"1/16", "1/8", "3/16", "1/4", "1/3", "3/8", "1/2",
                                                "2/3",  "3/4", "1",    "4/3", "3/2", "2"};

int findParameter(const char* shortName) {
    if (!shortName) return -1;
    for (int i = 0; i < kNumNamedParams; ++i)
        if (std::strcmp(ParameterNameTab[i].shortName, shortName) == 0) return i;
    return -1;
}

int multiDelaySyncIndex(float time) {
    float k = std::trunc(12.999f * time);
    // Far outside 0..1 (or not a number) the product has no integer meaning; keep to the table.
    if (!(std::fabs(k) < 1.0e9f)) return k > 0.0f ? 12 : 0;
    int position = static_cast<int>(k) % 13;
    return position < 0 ? position + 13 : position;
}

namespace {

// "%.0f%% %.1f": a percentage and a frequency in kHz.
void percentAndKilohertz(char* text, size_t size, float v, float hz) {
    std::snprintf(text, size, "%.0f%% %.1f", 100.0f * v, hz / 1000.0f);
}

void percent(char* text, size_t size, float v) { std::snprintf(text, size, "%.1f%%", 100.0f * v); }

}  // namespace

void parameterDisplayText(int index, float v, char* text, size_t size) {
    if (!text || size == 0) return;
    text[0] = 0;
    if (index < 0 || index >= kNumParams) return;
    using namespace param;
    switch (index) {
        case Volume: {
            // The gain the render path applies: 4 v^2 of the value held to 0..1, so
            // 0.5 is unity ("0.0 dB") and full is +12 dB.
            const float held = v >= 0.0f ? (v <= 1.0f ? v : 1.0f) : 0.0f;
            const float gain = held * held * 4.0f;
            if (!(gain > 0.0f)) {
                std::snprintf(text, size, "mute");
                break;
            }
            char level[16];
            std::snprintf(level, sizeof level, "%.1f", 20.0f * std::log10(gain));
            // A gain that rounds to unity reads "0.0 dB" from either side; a rise carries its sign.
            const bool unity = std::strcmp(level, "0.0") == 0 || std::strcmp(level, "-0.0") == 0;
            std::snprintf(text, size, "%s%s dB", unity || level[0] == '-' ? "" : "+", unity ? "0.0" : level);
            break;
        }
        case Surround: {
            double d = v;
            const char* s = d < 0.2 ? "mono" : d < 0.4 ? "narrow" : d < 0.6 ? "stereo"
                          : d < 0.8 ? "wide" : "surround";
            std::snprintf(text, size, "%s", s);
            break;
        }
        case Bypass: std::snprintf(text, size, "%s", v >= 0.5f ? "active" : "disabled"); break;
        case Route: std::snprintf(text, size, "%s", v > 0.5f ? "serial" : "parallel"); break;
        case RSize: std::snprintf(text, size, "%.0f", 48.0f * v * v * v + 2.0f); break;
        case RPredel: std::snprintf(text, size, "%.1f", 650.0f * v * v); break;
        case RHiDamp:
            percentAndKilohertz(text, size, v, (0.97f * (1.0f - v) * (1.0f - v) + 0.03f) * 22050.0f);
            break;
        case RLowDamp: percentAndKilohertz(text, size, v, 2.0f * (0.05f * v * v * 44100.0f)); break;
        case RHiCut:
            std::snprintf(text, size, "%.0f", (static_cast<double>(0.96f * v * v) + 0.04) * 16000.0);
            break;
        case RLowCut: std::snprintf(text, size, "%.0f", 2.0f * (680.0f * v * v)); break;
        case GThresh:
            if (v > 0.0f)
                std::snprintf(text, size, "%.1f dB", 20.0f * std::log10(v * v));
            else
                std::snprintf(text, size, "hold");
            if (v >= 0.95f) std::snprintf(text, size, "off");
            break;
        case GAttack:
        case GHold:
        case GRelease: {
            // Past about 7.7 (a value no control gives) the exponential is 0:
            // the time is then "inf", as the division gave, without dividing by zero.
            const float e = std::exp(-11.5f * v);
            std::snprintf(text, size, "%.2f", e > 0.0f ? 0.001f / e : HUGE_VALF);
            break;
        }
        case DLevel:
            if (static_cast<double>(v) < 0.05)
                std::snprintf(text, size, "no duck");
            else
                percent(text, size, v);
            break;
        case DLimit:
            if (v > 0.05f)
                std::snprintf(text, size, "%.1f dB", -(20.0f * std::log10(v)));
            else
                std::snprintf(text, size, "infinite");
            if (static_cast<double>(v) > 0.95) std::snprintf(text, size, "no duck");
            break;
        case MTime: std::snprintf(text, size, "%s", MultiDelaySyncTabName2[multiDelaySyncIndex(v)]); break;
        case MFeedba:
            percent(text, size, v);
            if (static_cast<double>(v) <= 0.05) std::snprintf(text, size, "one shot");
            break;
        case MHiDamp:
            percentAndKilohertz(text, size, v, 22000.0f * (1.0f - v) * (1.0f - v) + 300.0f);
            break;
        case MLowDamp: percentAndKilohertz(text, size, v, 3000.0f * v * v + 8.0f); break;
        case MHiCut: std::snprintf(text, size, "%.0f", 22000.0f * v * v * v + 200.0f); break;
        case MLowCut: std::snprintf(text, size, "%.0f", 5000.0f * v * v + 5.0f); break;
        default: percent(text, size, v); break;
    }
}
