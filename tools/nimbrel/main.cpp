// nimbrel: renders audio through the Nimbrel plug-in from a terminal. It loads
// the plug-in library and talks to it through the VST 2.4 interface, exactly
// as a DAW does.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "host/program_summary.h"
#include "tools/nimbrel/audio_file.h"
#include "tools/nimbrel/batch.h"
#include "tools/nimbrel/demo_signal.h"
#include "tools/nimbrel/preset_commands.h"
#include "tools/nimbrel/render_job.h"
#include "tools/nimbrel/settings.h"
#include "host/suggest.h"
#include "tools/nimbrel/temporary_files.h"
#include "tools/vsthost/plugin_host.h"

#ifndef NIMBREL_VERSION
#define NIMBREL_VERSION "unknown"
#endif

namespace {

enum Command : unsigned {
    kRender = 1u << 0,
    kImpulse = 1u << 1,
    kInfo = 1u << 2,
    kPrograms = 1u << 3,
    kSaveProgram = 1u << 4,
    kSaveBank = 1u << 5,
};
constexpr unsigned kEveryCommand = kRender | kImpulse | kInfo | kPrograms | kSaveProgram | kSaveBank;
constexpr unsigned kRenders = kRender | kImpulse;
constexpr unsigned kSetsValues = kRender | kImpulse | kInfo | kSaveProgram | kSaveBank;

struct OptionInfo {
    const char* name;
    const char* shortName;  // or null
    const char* value;      // what it takes, or null for a switch
    unsigned commands;      // the commands it applies to
    const char* help;
};

const OptionInfo kOptions[] = {
    {"--program", nullptr, "N|NAME", kRenders | kInfo | kSaveBank,
     "program number (0..179) or name, any case; default 0"},
    {"--param", nullptr, "NAME=VALUE", kSetsValues,
     "set a parameter, 0..1 or in its units (see below); may repeat"},
    {"--bank", nullptr, "FILE.fxb", kSetsValues | kPrograms, "load a bank file first (then --program picks from it)"},
    {"--preset", nullptr, "FILE.fxp", kSetsValues, "load a program file into the selected program"},
    {"--tempo", nullptr, "BPM", kRenders, "host tempo in beats per minute, above 0 and at most 1000; default 120"},
    {"--block", nullptr, "N", kRenders, "host block size in frames, 1..65536; default 512"},
    {"--tail", nullptr, "SECONDS", kRenders, "render this long after the input, 0..600; default: until silent (at most 30)"},
    {"--rate", nullptr, "HZ", kRenders, "sample rate of the demo or the impulse, 8000..768000; default 44100"},
    {"--format", nullptr, "F", kRenders, "float (default), pcm16 or pcm24"},
    {"--demo", nullptr, nullptr, kRender, "render the built-in demo (drum hits and a tone) instead of a file"},
    {"--out-dir", nullptr, "DIR", kRender, "render every IN, or every audio file of a folder IN, into DIR"},
    {"--jobs", nullptr, "N", kRender, "with --out-dir: how many files render at once, 1..64; default: one per core"},
    {"--quiet", "-q", nullptr, kEveryCommand, "no progress bar, no summary"},
    {"--help", "-h", nullptr, kEveryCommand, "show this help"},
};

struct CommandInfo {
    const char* name;
    Command id;
    const char* usage;     // one or more lines after "nimbrel "
    const char* summary;   // one line for the list of commands
    const char* details;   // a paragraph for the command's help
    const char* examples;  // lines after "nimbrel "
};

const CommandInfo kCommands[] = {
    {"render", kRender,
     "render IN OUT [options]\n"
     "render --demo OUT [options]\n"
     "render IN... --out-dir DIR [--jobs N] [options]",
     "render an audio file (or the demo, or many files) through a program",
     "Renders IN through the plug-in into OUT, then lets the tail ring out until the output is\n"
     "silent (or --tail SECONDS). IN may be any file libsndfile reads, mono or stereo, at\n"
     "8000..768000 Hz; OUT keeps its sample rate, its type follows its extension (.wav, .aiff,\n"
     ".flac, .ogg, .caf, .w64, .au) and it holds 32-bit float unless --format says otherwise.\n"
     "OUT is written under a temporary name and renamed when complete, so a failed or stopped\n"
     "render never leaves half a file. With --out-dir every IN (a folder: its audio files) is\n"
     "rendered into DIR under its own name, several at once; one line per file, and the exit\n"
     "status is 1 if any failed.",
     "render in.wav out.wav --program \"REV Hall Big\" --param RDecay=80% --tempo 100\n"
     "render --demo demo.wav --program 142 --format pcm24\n"
     "render takes/*.wav --out-dir wet --program \"DEL 0.5\" --jobs 2"},
    {"ir", kImpulse, "ir [options] OUT", "render the impulse response of a program",
     "Renders a single full-scale sample through the program at --rate (default 44100 Hz) and\n"
     "its tail until silent (or --tail SECONDS) into OUT.",
     "ir --program 142 ir.wav\n"
     "ir --program \"REV Hall Big\" --rate 48000 --tail 4 hall.wav"},
    {"info", kInfo, "info [options]", "identity, the parameters with their values, the programs",
     "Prints what the plug-in says about itself, every parameter of the selected program with\n"
     "its value text, unit and value 0..1, and the names of all programs. With --param it first\n"
     "shows what each value given became.",
     "info\n"
     "info --program \"REV Hall Big\" --param Mix=60% --param RHiCut=5kHz"},
    {"programs", kPrograms, "programs [WORD] [options]", "the programs, one line each, or those whose name holds WORD",
     "Lists every program with a line saying what it does (engines, room size and decay, note\n"
     "value, taps, gate, ducking). With WORD only the programs whose names contain WORD, in\n"
     "any case; the exit status is 1 when none does.",
     "programs\n"
     "programs hall\n"
     "programs --bank mine.fxb"},
    {"save-program", kSaveProgram, "save-program N|NAME OUT.fxp [options]", "save a program as a program file (.fxp)",
     "Saves program N (or the one named NAME) with any --param changes into a program file that\n"
     "hosts and the editor's menu load.",
     "save-program \"DEL 0.5\" del.fxp\n"
     "save-program 30 hall.fxp --param Mix=70%"},
    {"save-bank", kSaveBank, "save-bank OUT.fxb [options]", "save all 180 programs as a bank file (.fxb)",
     "Saves every program into a bank file; --bank, --program and --param change it first.",
     "save-bank mine.fxb\n"
     "save-bank mine.fxb --bank factory.fxb --program 12 --param Mix=50%"},
};

const CommandInfo* findCommand(const std::string& name) {
    for (const CommandInfo& c : kCommands)
        if (name == c.name) return &c;
    return nullptr;
}

// Prints each line of `lines` after `prefix`.
void printLines(FILE* out, const char* prefix, const char* lines) {
    for (const char* line = lines; *line;) {
        const char* end = std::strchr(line, '\n');
        const size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
        std::fprintf(out, "%s%.*s\n", prefix, static_cast<int>(length), line);
        line += length + (end ? 1 : 0);
    }
}

void printGeneralHelp(FILE* out) {
    std::fprintf(out, "nimbrel %s: renders audio through the Nimbrel plug-in, as a DAW would\n\n", NIMBREL_VERSION);
    std::fprintf(out, "usage: nimbrel COMMAND [options]\n\ncommands:\n");
    for (const CommandInfo& c : kCommands) std::fprintf(out, "  %-13s %s\n", c.name, c.summary);
    std::fprintf(out,
                 "\nnimbrel COMMAND --help shows a command's options and examples;\n"
                 "nimbrel --version shows the version and the plug-in it loads.\n\nexamples:\n");
    printLines(out, "  nimbrel ", kCommands[0].examples);
}

void printCommandHelp(const CommandInfo& c) {
    // "usage: " before the first form, aligned spaces before the others.
    const char* second = std::strchr(c.usage, '\n');
    std::printf("usage: nimbrel %.*s\n", static_cast<int>(second ? second - c.usage : std::strlen(c.usage)), c.usage);
    if (second) printLines(stdout, "       nimbrel ", second + 1);
    std::printf("\n%s.\n\n", c.summary);
    printLines(stdout, "", c.details);
    std::printf("\noptions:\n");
    for (const OptionInfo& o : kOptions) {
        if (!(o.commands & c.id)) continue;
        std::string left = std::string(o.shortName ? std::string(o.shortName) + ", " : "") + o.name +
                           (o.value ? std::string(" ") + o.value : "");
        std::printf("  %-22s %s\n", left.c_str(), o.help);
    }
    if (c.id & kSetsValues) {
        std::printf(
            "\nvalues: --param NAME=VALUE takes a plain value 0..1 (as a host sends it) or the value in\n"
            "the units its text shows: %% (Mix=60%%), dB (GThresh=-20dB, Volume=+3dB), Hz or kHz\n"
            "(RHiCut=5kHz), ms or s (RPredel=40ms), metres (RSize=30), note values (MTime=1/8) and\n"
            "words (Bypass=active, Route=serial, Surround=wide, Volume=mute). The nearest value is\n"
            "taken; one out of reach is refused with the range. A plain number from 0 to 1 is always\n"
            "the value itself (MTime=1 is 2 beats, MTime=1beat is one). nimbrel info lists the names.\n");
    }
    std::printf("\nexamples:\n");
    printLines(stdout, "  nimbrel ", c.examples);
}

struct Options {
    std::vector<std::string> positional;
    PluginSettings settings;
    RenderOptions render;
    SampleFormat format = SampleFormat::Float32;
    int rate = 44100;
    bool rateGiven = false;
    bool quiet = false;
    bool demo = false;
    std::string outDir;
    int jobs = 0;  // 0: one per core
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

bool parseWholeIn(const char* text, double low, double high, double& value) {
    return parseNumber(text, value) && value >= low && value <= high && value == std::floor(value);
}

std::vector<std::string> optionNames() {
    std::vector<std::string> names;
    for (const OptionInfo& o : kOptions) names.push_back(o.name);
    return names;
}

// Parses argv[first..] for `command`; false with `error` on a bad option or value.
bool parseOptions(int argc, char** argv, int first, const CommandInfo& command, Options& o, std::string& error) {
    bool onlyFiles = false;  // after "--" every argument is a file, even one that starts with '-'
    for (int i = first; i < argc; ++i) {
        std::string arg = argv[i];
        if (!onlyFiles && arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (onlyFiles) {
            o.positional.push_back(arg);
            continue;
        }
        std::string attached;  // --name=value
        bool hasAttached = false;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            attached = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
            hasAttached = true;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            o.positional.push_back(arg);
            continue;
        }
        const OptionInfo* option = nullptr;
        for (const OptionInfo& s : kOptions)
            if (arg == s.name || (s.shortName && arg == s.shortName)) option = &s;
        if (!option) {
            error = "unknown option " + arg + didYouMean(arg, optionNames(), "") + " (nimbrel " + command.name +
                    " --help lists the options)";
            return false;
        }
        if (!(option->commands & command.id)) {
            error = std::string(option->name) + " does not apply to " + command.name + " (nimbrel " + command.name +
                    " --help lists its options)";
            return false;
        }
        const std::string name = option->name;
        if (!option->value) {
            if (hasAttached) {
                error = name + " takes no value";
                return false;
            }
            if (name == "--quiet") o.quiet = true;
            if (name == "--demo") o.demo = true;
            continue;
        }
        if (!hasAttached && i + 1 >= argc) {
            error = name + " needs a value: " + option->value;
            return false;
        }
        const std::string text = hasAttached ? attached : argv[++i];
        const char* v = text.c_str();
        double number = 0.0;
        if (name == "--program") {
            o.settings.program = text;
        } else if (name == "--param") {
            o.settings.params.push_back(text);
        } else if (name == "--bank") {
            o.settings.presets.bankFile = text;
        } else if (name == "--preset") {
            o.settings.presets.programFile = text;
        } else if (name == "--tempo") {
            if (!parseNumber(v, number) || number <= 0.0 || number > 1000.0) {
                error = "--tempo wants beats per minute above 0 and at most 1000 (for example 120), got " + text;
                return false;
            }
            o.render.tempo = number;
        } else if (name == "--block") {
            if (!parseWholeIn(v, 1, 65536, number)) {
                error = "--block wants a whole number of frames in 1..65536, got " + text;
                return false;
            }
            o.render.blockSize = static_cast<int>(number);
        } else if (name == "--tail") {
            if (!parseNumber(v, number) || number < 0.0 || number > 600.0) {
                error = "--tail wants seconds in 0..600, got " + text;
                return false;
            }
            o.render.tailSeconds = number;
        } else if (name == "--rate") {
            if (!parseWholeIn(v, kMinSampleRate, kMaxSampleRate, number)) {
                error = "--rate wants a whole sample rate in " + std::to_string(kMinSampleRate) + ".." +
                        std::to_string(kMaxSampleRate) + ", got " + text;
                return false;
            }
            o.rate = static_cast<int>(number);
            o.rateGiven = true;
        } else if (name == "--format") {
            if (!parseSampleFormat(text, o.format)) {
                error = "--format wants float, pcm16 or pcm24, got " + text;
                return false;
            }
        } else if (name == "--out-dir") {
            if (text.empty()) {
                error = "--out-dir wants a folder";
                return false;
            }
            o.outDir = text;
        } else if (name == "--jobs") {
            if (!parseWholeIn(v, 1, kMaxJobs, number)) {
                error = "--jobs wants a whole number of renders at once in 1.." + std::to_string(kMaxJobs) + ", got " +
                        text;
                return false;
            }
            o.jobs = static_cast<int>(number);
        }
    }
    return true;
}

RenderJob jobOf(const Options& o) {
    RenderJob job;
    job.settings = o.settings;
    job.render = o.render;
    job.format = o.format;
    return job;
}

// Prints the summary of a finished render (and any clipping) as asked.
int reportRender(const RenderOutcome& outcome, const std::string& out, bool impulse, bool quiet) {
    if (!outcome.ok) return fail(outcome.error);
    const std::string clipped = clippingWarning(out, outcome.clipping);
    if (!clipped.empty()) std::fprintf(stderr, "nimbrel: warning: %s\n", clipped.c_str());
    if (quiet) return 0;
    if (impulse)
        std::printf("%s: impulse response of \"%s\", %.2f s at %d Hz\n", out.c_str(), outcome.program.c_str(),
                    outcome.seconds, outcome.sampleRate);
    else
        std::printf("%s: %.2f s at %d Hz through \"%s\"\n", out.c_str(), outcome.seconds, outcome.sampleRate,
                    outcome.program.c_str());
    return 0;
}

int commandRenderBatch(const Options& o) {
    if (o.demo) return fail("--demo and --out-dir do not go together: the demo renders into one OUT");
    // Once silently ignored here: a warning, not a refusal, so that old scripts still run.
    if (o.rateGiven) std::fprintf(stderr, "nimbrel: warning: --rate is for --demo; each file renders at its own sample rate\n");
    if (o.positional.empty()) return fail("render --out-dir DIR wants the files (or folders) to render");
    std::vector<std::string> inputs;
    std::string error;
    if (!collectBatchInputs(o.positional, inputs, error)) return fail(error);
    // Everything that would fail for every file fails once, before any file is touched.
    if (!preparePlugin(o.settings, 44100, o.render.blockSize, error)) return fail(error);
    struct stat status {};
    const bool folderExists = stat(o.outDir.c_str(), &status) == 0;
    if (folderExists && !S_ISDIR(status.st_mode)) return fail(o.outDir + " is not a folder");
    for (size_t i = 0; i < inputs.size(); ++i) {
        const std::string out = batchOutputPath(inputs[i], o.outDir);
        if (sameFile(inputs[i], out))
            return fail(inputs[i] + " would be replaced by its own render; choose another --out-dir");
        for (size_t j = 0; j < i; ++j)
            if (batchOutputPath(inputs[j], o.outDir) == out)
                return fail(inputs[j] + " and " + inputs[i] + " would both be written to " + out);
    }
    if (!folderExists && mkdir(o.outDir.c_str(), 0777) != 0)
        return fail("cannot make the folder " + o.outDir + ": " + std::strerror(errno));
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    const int jobs = o.jobs > 0 ? o.jobs : static_cast<int>(std::min<long>(kMaxJobs, std::max(1L, cores)));
    const int failed = renderBatch(jobOf(o), inputs, o.outDir, jobs, o.quiet);
    if (failed > 0) return fail(std::to_string(failed) + " of " + std::to_string(inputs.size()) + " files failed");
    return 0;
}

int commandRender(const Options& o) {
    if (!o.outDir.empty()) return commandRenderBatch(o);
    if (o.jobs > 0) return fail("--jobs goes with --out-dir (many files into one folder)");
    const char* const usage =
        "  nimbrel render IN OUT            render the file IN into OUT\n"
        "  nimbrel render --demo OUT        render the built-in demo into OUT\n"
        "  nimbrel render IN... --out-dir DIR  render many files into DIR";
    const size_t wanted = o.demo ? 1 : 2;
    if (o.positional.size() != wanted) {
        // A lone file that exists is someone's recording, meant as the input: never write over it.
        if (!o.demo && o.positional.size() == 1 && access(o.positional[0].c_str(), F_OK) == 0)
            return fail(o.positional[0] + " exists and would be overwritten; to render it, name an output:\n" + usage);
        return fail(std::string(o.demo ? "render --demo wants only OUT" : "render wants IN and OUT") + ":\n" + usage);
    }
    // Once silently ignored here: a warning, not a refusal, so that old scripts still run.
    if (!o.demo && o.rateGiven)
        std::fprintf(stderr, "nimbrel: warning: --rate is for --demo; a file renders at its own sample rate\n");
    const std::string out = o.positional.back();
    StereoAudio demo;
    std::unique_ptr<AudioSource> input;
    if (o.demo) {
        demo = makeDemoSignal(o.rate);
        input = std::make_unique<MemorySource>(demo);
    } else {
        const std::string& in = o.positional[0];
        struct stat status {};
        if (stat(in.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
            return fail(in + " is a folder; to render every audio file in it, give --out-dir DIR");
        if (sameFile(in, out)) return fail(out + " is the input file itself; name another output");
        auto reader = std::make_unique<AudioFileReader>();
        std::string error, note;
        if (!reader->open(in, error, note)) return fail(error);
        if (!note.empty()) std::fprintf(stderr, "nimbrel: %s\n", note.c_str());
        input = std::move(reader);
    }
    return reportRender(renderToFile(jobOf(o), *input, out, !o.quiet), out, false, o.quiet);
}

int commandImpulse(const Options& o) {
    if (o.positional.size() != 1) return fail("ir wants OUT (nimbrel ir --help)");
    StereoAudio impulse;
    impulse.sampleRate = o.rate;
    impulse.left.assign(1, 1.0f);
    impulse.right.assign(1, 1.0f);
    MemorySource input(impulse);
    const std::string& out = o.positional[0];
    return reportRender(renderToFile(jobOf(o), input, out, false), out, true, o.quiet);
}

std::string fourChars(int32_t id) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((id >> shift) & 0xFF);
    return s;
}

int commandInfo(const Options& o) {
    if (!o.positional.empty()) return fail("info takes no file (nimbrel info --help)");
    std::string error;
    std::vector<AppliedParameter> applied;
    auto host = preparePlugin(o.settings, o.rate, o.render.blockSize, error, &applied);
    if (!host) return fail(error);
    AEffect* e = host->effect();
    for (const AppliedParameter& a : applied)
        std::printf("%s: %s is %.4f, shown as \"%s\"\n", a.assignment.c_str(), host->parameterName(a.index).c_str(),
                    static_cast<double>(host->getParameter(a.index)), host->parameterDisplay(a.index).c_str());
    if (!applied.empty()) std::printf("\n");
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

bool containsIgnoringCase(const std::string& text, const std::string& part) {
    return lowerCase(text).find(lowerCase(part)) != std::string::npos;
}

int commandPrograms(const Options& o) {
    if (o.positional.size() > 1) return fail("programs takes one WORD; quote a phrase: nimbrel programs \"Hall Big\"");
    const std::string word = o.positional.empty() ? std::string() : o.positional[0];
    std::string error;
    auto host = preparePlugin(o.settings, o.rate, o.render.blockSize, error);
    if (!host) return fail(error);
    // Each program's values come through the interface: select it, read its parameters.
    const std::vector<std::string> names = programNames(*host);
    int shown = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (!containsIgnoringCase(names[i], word)) continue;
        host->setProgram(static_cast<int32_t>(i));
        float values[kNumParams] = {};
        for (int32_t p = 0; p < kNumParams && p < host->effect()->numParams; ++p) values[p] = host->getParameter(p);
        std::printf("%3zu  %-19s  %s\n", i, names[i].c_str(), describeProgram(values).c_str());
        ++shown;
    }
    if (shown == 0) return fail("no program name contains \"" + word + "\"" + didYouMean(word, names));
    return 0;
}

// save-program N|NAME OUT.fxp and save-bank OUT.fxb.
int commandSavePreset(Options o, bool bank) {
    if (o.positional.size() != (bank ? 1u : 2u))
        return fail(bank ? "save-bank wants OUT.fxb (nimbrel save-bank --help)"
                         : "save-program wants N|NAME and OUT.fxp (nimbrel save-program --help)");
    if (!bank) o.settings.program = o.positional[0];
    std::string error, written;
    auto host = preparePlugin(o.settings, o.rate, o.render.blockSize, error);
    if (!host || !savePresetFile(*host, o.positional.back(), bank, written, error)) return fail(error);
    if (!o.quiet)
        std::printf("%s: %s\n", written.c_str(),
                    bank ? (std::to_string(host->effect()->numPrograms) + " programs").c_str()
                         : host->programName().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    installTemporaryFileCleanup();
    if (argc < 2) {
        printGeneralHelp(stderr);
        return 1;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        if (first == "help" && argc > 2) {
            const CommandInfo* c = findCommand(argv[2]);
            if (!c) {
                std::vector<std::string> names;
                for (const CommandInfo& known : kCommands) names.push_back(known.name);
                return fail("no command is named \"" + std::string(argv[2]) + "\"" + didYouMean(argv[2], names));
            }
            printCommandHelp(*c);
            return 0;
        }
        printGeneralHelp(stdout);
        return 0;
    }
    if (first == "--version" || first == "-V") {
        const std::string plugin = findPluginLibrary();
        std::printf("nimbrel %s\nplug-in: %s\n", NIMBREL_VERSION, plugin.empty() ? "not found" : plugin.c_str());
        return 0;
    }
    const CommandInfo* command = findCommand(first);
    if (!command) {
        std::vector<std::string> names;
        for (const CommandInfo& c : kCommands) names.push_back(c.name);
        return fail("unknown command \"" + first + "\"" + didYouMean(first, names) +
                    " (nimbrel --help lists the commands)");
    }
    Options options;
    std::string error;
    // Help wins over everything else on the line, mistakes included.
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printCommandHelp(*command);
            return 0;
        }
    if (!parseOptions(argc, argv, 2, *command, options, error)) return fail(error);
    switch (command->id) {
        case kRender: return commandRender(options);
        case kImpulse: return commandImpulse(options);
        case kInfo: return commandInfo(options);
        case kPrograms: return commandPrograms(options);
        case kSaveProgram: return commandSavePreset(options, false);
        case kSaveBank: return commandSavePreset(options, true);
    }
    return 1;
}
