// nimbrel: renders audio through the Nimbrel plug-in from a terminal. It loads
// the plug-in library and talks to it through the VST 2.4 interface, exactly
// as a DAW does.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "host/program_summary.h"
#include "tools/nimbrel/audio_file.h"
#include "tools/nimbrel/demo_signal.h"
#include "tools/nimbrel/preset_commands.h"
#include "tools/nimbrel/render.h"
#include "tools/vsthost/plugin_host.h"

namespace {

const char* const kUsage =
    "usage:\n"
    "  nimbrel render IN OUT [options]     render IN into OUT\n"
    "  nimbrel render --demo OUT [options] render the built-in demo into OUT\n"
    "  nimbrel ir [options] OUT            render the impulse response of a program\n"
    "  nimbrel info                        identity, parameters and programs\n"
    "  nimbrel programs                    the programs, one line each\n"
    "  nimbrel save-program N|NAME OUT.fxp save a program as a program file\n"
    "  nimbrel save-bank OUT.fxb           save all programs as a bank file\n"
    "options:\n"
    "  --program N|NAME     program number (0..179) or name; default 0\n"
    "  --param NAME=VALUE   set a parameter (short name, value 0..1); may repeat\n"
    "  --bank FILE.fxb      load a bank file first (then --program picks from it)\n"
    "  --preset FILE.fxp    load a program file into the selected program\n"
    "  --tempo BPM          host tempo; default 120\n"
    "  --block N            host block size in frames; default 512\n"
    "  --tail SECONDS       render this long after the input; default: until silent\n"
    "  --rate HZ            sample rate of the demo or impulse; default 44100\n"
    "  --format F           float (default), pcm16 or pcm24\n"
    "  --quiet              no progress bar\n";

struct Options {
    std::vector<std::string> positional;
    std::string program = "0";
    std::vector<std::string> params;
    RenderOptions render;
    int rate = 44100;
    SampleFormat format = SampleFormat::Float32;
    bool quiet = false;
    bool demo = false;
    PresetFileOptions presets;
};

int fail(const std::string& message) {
    std::fprintf(stderr, "nimbrel: %s\n", message.c_str());
    return 1;
}

bool parseNumber(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end && end != text && *end == 0 && std::isfinite(value);
}

// Parses argv[first..]; returns false with `error` on a bad option.
bool parseOptions(int argc, char** argv, int first, Options& o, std::string& error) {
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        double number = 0.0;
        if (arg == "--quiet" || arg == "-q") {
            o.quiet = true;
        } else if (arg == "--demo") {
            o.demo = true;
        } else if (arg == "--program") {
            if (!value(v)) return false;
            o.program = v;
        } else if (arg == "--preset" || arg == "--bank") {
            if (!value(v)) return false;
            (arg == "--bank" ? o.presets.bankFile : o.presets.programFile) = v;
        } else if (arg == "--param") {
            if (!value(v)) return false;
            o.params.push_back(v);
        } else if (arg == "--tempo") {
            if (!value(v)) return false;
            if (!parseNumber(v, number) || number <= 0.0 || number > 1000.0) {
                error = "--tempo wants beats per minute in 0..1000, got " + std::string(v);
                return false;
            }
            o.render.tempo = number;
        } else if (arg == "--block") {
            if (!value(v)) return false;
            if (!parseNumber(v, number) || number < 1 || number > 65536 || number != std::floor(number)) {
                error = "--block wants a whole number of frames in 1..65536, got " + std::string(v);
                return false;
            }
            o.render.blockSize = static_cast<int>(number);
        } else if (arg == "--tail") {
            if (!value(v)) return false;
            if (!parseNumber(v, number) || number < 0.0 || number > 600.0) {
                error = "--tail wants seconds in 0..600, got " + std::string(v);
                return false;
            }
            o.render.tailSeconds = number;
        } else if (arg == "--rate") {
            if (!value(v)) return false;
            if (!parseNumber(v, number) || number < 8000 || number > 384000 || number != std::floor(number)) {
                error = "--rate wants a whole sample rate in 8000..384000, got " + std::string(v);
                return false;
            }
            o.rate = static_cast<int>(number);
        } else if (arg == "--format") {
            if (!value(v)) return false;
            if (!parseSampleFormat(v, o.format)) {
                error = "--format wants float, pcm16 or pcm24, got " + std::string(v);
                return false;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            o.positional.push_back(arg);
        }
    }
    return true;
}

std::unique_ptr<PluginHost> loadPlugin(std::string& error) {
    std::string path = findPluginLibrary();
    if (path.empty()) {
        error = "cannot find the plug-in library Nimbrel.so (build it, or set NIMBREL_PLUGIN)";
        return nullptr;
    }
    return PluginHost::load(path, error);
}

class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : enabled_(enabled && isatty(STDERR_FILENO)) {}
    ~ProgressBar() {
        if (enabled_ && shown_ >= 0) std::fprintf(stderr, "\n");
    }
    void operator()(double fraction) {
        if (!enabled_) return;
        int percent = static_cast<int>(fraction * 100.0);
        if (percent == shown_) return;
        shown_ = percent;
        int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r  [%.*s%*s] %3d%%", filled, "########################################",
                     40 - filled, "", percent);
        std::fflush(stderr);
    }

private:
    bool enabled_;
    int shown_ = -1;
};

// Loads the plug-in, starts it at `rate`, applies program and parameters.
std::unique_ptr<PluginHost> preparePlugin(const Options& o, int rate, std::string& error) {
    auto host = loadPlugin(error);
    if (!host) return nullptr;
    host->start(static_cast<float>(rate), o.render.blockSize);
    if (!loadBankOption(*host, o.presets, error)) return nullptr;
    if (!selectProgram(*host, o.program, error)) return nullptr;
    if (!loadProgramOption(*host, o.presets, error)) return nullptr;
    for (const std::string& p : o.params)
        if (!applyParameter(*host, p, error)) return nullptr;
    return host;
}

int commandRender(const Options& o) {
    const char* const usage =
        "  nimbrel render IN OUT      render the file IN into OUT\n"
        "  nimbrel render --demo OUT  render the built-in demo into OUT";
    const size_t wanted = o.demo ? 1 : 2;
    if (o.positional.size() != wanted) {
        // A lone file that exists is someone's recording, meant as the input: never write over it.
        if (!o.demo && o.positional.size() == 1 && access(o.positional[0].c_str(), F_OK) == 0)
            return fail(o.positional[0] + " exists and would be overwritten; to render it, name an output:\n" + usage);
        return fail(std::string(o.demo ? "render --demo wants only OUT" : "render wants IN and OUT") + ":\n" + usage);
    }
    StereoAudio input;
    std::string error, note;
    const std::string out = o.positional.back();
    if (o.demo) {
        input = makeDemoSignal(o.rate);
    } else {
        if (sameFile(o.positional[0], out)) return fail(out + " is the input file itself; name another output");
        if (!readAudioFile(o.positional[0], input, error, note)) return fail(error);
        if (!note.empty()) std::fprintf(stderr, "nimbrel: %s\n", note.c_str());
    }
    auto host = preparePlugin(o, input.sampleRate, error);
    if (!host) return fail(error);
    StereoAudio output;
    {
        ProgressBar bar(!o.quiet);
        renderThrough(*host, input, output, o.render, [&](double f) { bar(f); });
    }
    if (!writeAudioFile(out, output, o.format, error)) return fail(error);
    if (!o.quiet)
        std::printf("%s: %.2f s at %d Hz through \"%s\"\n", out.c_str(),
                    static_cast<double>(output.frames()) / output.sampleRate, output.sampleRate,
                    host->programName().c_str());
    return 0;
}

int commandImpulse(const Options& o) {
    if (o.positional.size() != 1) return fail("ir wants OUT\n" + std::string(kUsage));
    std::string error;
    auto host = preparePlugin(o, o.rate, error);
    if (!host) return fail(error);
    StereoAudio impulse;
    impulse.sampleRate = o.rate;
    impulse.left.assign(1, 1.0f);
    impulse.right.assign(1, 1.0f);
    StereoAudio output;
    renderThrough(*host, impulse, output, o.render, nullptr);
    if (!writeAudioFile(o.positional[0], output, o.format, error)) return fail(error);
    if (!o.quiet)
        std::printf("%s: impulse response of \"%s\", %.2f s at %d Hz\n", o.positional[0].c_str(),
                    host->programName().c_str(), static_cast<double>(output.frames()) / o.rate, o.rate);
    return 0;
}

std::string fourChars(int32_t id) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((id >> shift) & 0xFF);
    return s;
}

int commandInfo(const Options& o) {
    std::string error;
    auto host = preparePlugin(o, o.rate, error);
    if (!host) return fail(error);
    AEffect* e = host->effect();
    std::printf("%s by %s (%s), version %d, VST %d\n", host->textQuery(effGetEffectName).c_str(),
                host->textQuery(effGetVendorString).c_str(), host->textQuery(effGetProductString).c_str(),
                static_cast<int>(host->dispatch(effGetVendorVersion)),
                static_cast<int>(host->dispatch(effGetVstVersion)));
    std::printf("ID %s, category %d, %d in / %d out, editor %s, latency %d\n",
                fourChars(e->uniqueID).c_str(), static_cast<int>(host->dispatch(effGetPlugCategory)),
                e->numInputs, e->numOutputs, (e->flags & effFlagsHasEditor) ? "yes" : "no",
                e->initialDelay);
    std::printf("\n%d parameters (program %d, \"%s\"):\n", e->numParams, host->program(),
                host->programName().c_str());
    for (int32_t i = 0; i < e->numParams; ++i) {
        std::printf("  %2d  %-9s %9s %-5s  %.4f\n", i, host->parameterName(i).c_str(),
                    host->parameterDisplay(i).c_str(), host->parameterLabel(i).c_str(),
                    static_cast<double>(host->getParameter(i)));
    }
    std::printf("\n%d programs:\n", e->numPrograms);
    for (int32_t i = 0; i < e->numPrograms; ++i)
        std::printf("  %3d  %s\n", i, host->programNameIndexed(i).c_str());
    return 0;
}

int commandPrograms(const Options& o) {
    std::string error;
    auto host = preparePlugin(o, o.rate, error);
    if (!host) return fail(error);
    // Each program's values come through the interface: select it, read its parameters.
    const int32_t count = host->effect()->numPrograms;
    for (int32_t i = 0; i < count; ++i) {
        host->setProgram(i);
        float values[kNumParams] = {};
        for (int32_t p = 0; p < kNumParams && p < host->effect()->numParams; ++p) values[p] = host->getParameter(p);
        std::printf("%3d  %-19s  %s\n", i, host->programNameIndexed(i).c_str(), describeProgram(values).c_str());
    }
    return 0;
}

// save-program N|NAME OUT.fxp and save-bank OUT.fxb.
int commandSavePreset(Options o, bool bank) {
    if (o.positional.size() != (bank ? 1u : 2u))
        return fail(std::string(bank ? "save-bank wants OUT.fxb" : "save-program wants N|NAME OUT.fxp") + "\n" + kUsage);
    if (!bank) o.program = o.positional[0];
    std::string error, written;
    auto host = preparePlugin(o, o.rate, error);
    if (!host || !savePresetFile(*host, o.positional.back(), bank, written, error)) return fail(error);
    if (!o.quiet) std::printf("%s: %s\n", written.c_str(), bank ? "180 programs" : host->programName().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 ||
        std::strcmp(argv[1], "help") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    const std::string command = argv[1];
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, 2, options, error)) return fail(error);
    if (command == "render") return commandRender(options);
    if (command == "ir") return commandImpulse(options);
    if (command == "info") return commandInfo(options);
    if (command == "programs") return commandPrograms(options);
    if (command == "save-program" || command == "save-bank") return commandSavePreset(options, command == "save-bank");
    return fail("unknown command \"" + command + "\"\n" + kUsage);
}
