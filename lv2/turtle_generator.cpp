// Writes the LV2 bundle's Turtle from the parameter table and the factory bank:
// manifest.ttl (what is in the bundle), nimbrel.ttl (the plug-in, its ports and
// its editor) and presets.ttl (the 180 programs as presets, one bank per family).
//
//   nimbrel_turtle OUTPUT_DIR MINOR_VERSION MICRO_VERSION
//
// Stops with a message, and writes nothing usable, when a table holds something
// the Turtle cannot say faithfully.
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/log/log.h>
#include <lv2/midi/midi.h>
#include <lv2/port-groups/port-groups.h>
#include <lv2/port-props/port-props.h>
#include <lv2/options/options.h>
#include <lv2/presets/presets.h>
#include <lv2/resize-port/resize-port.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"
#include "lv2/messages.h"
#include "lv2/ports.h"

using namespace lv2ports;

namespace {

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "nimbrel_turtle: %s\n", why.c_str());
    std::exit(1);
}

// A Turtle string literal.
std::string text(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) fail("control character in \"" + s + "\"");
        out += c;
    }
    return out + "\"";
}

std::string uri(const std::string& u) { return "<" + u + ">"; }

// The shortest decimal that reads back as exactly this float, whether the reader
// parses it as a float or as a double and then rounds.
std::string number(float v) {
    if (!std::isfinite(v)) fail("a value that is not a finite number");
    char buf[40];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(v));
        if (std::strtof(buf, nullptr) == v && static_cast<float>(std::strtod(buf, nullptr)) == v) break;
    }
    std::string s = buf;
    // A plain "1" would be an integer in Turtle; these are decimals.
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

const char* const kPrefixes =
    "@prefix atom: <" LV2_ATOM_PREFIX "> .\n"
    "@prefix bufsz: <" LV2_BUF_SIZE_PREFIX "> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix log: <" LV2_LOG_PREFIX "> .\n"
    "@prefix lv2: <" LV2_CORE_PREFIX "> .\n"
    "@prefix midi: <" LV2_MIDI_PREFIX "> .\n"
    "@prefix pg: <" LV2_PORT_GROUPS_PREFIX "> .\n"
    "@prefix pprops: <" LV2_PORT_PROPS_PREFIX "> .\n"
    "@prefix opts: <" LV2_OPTIONS_PREFIX "> .\n"
    "@prefix pset: <" LV2_PRESETS_PREFIX "> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix rsz: <" LV2_RESIZE_PORT_PREFIX "> .\n"
    "@prefix state: <" LV2_STATE_PREFIX "> .\n"
    "@prefix time: <" LV2_TIME_PREFIX "> .\n"
    "@prefix ui: <" LV2_UI_PREFIX "> .\n"
    "@prefix urid: <" LV2_URID_PREFIX "> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "\n";

const std::string kInputGroup = std::string(kPluginUri) + "#input";
const std::string kOutputGroup = std::string(kPluginUri) + "#output";

struct ScalePoint {
    float value;
    std::string label;
};

std::string displayText(int index, float value) {
    char buf[64];
    parameterDisplayText(index, value, buf, sizeof buf);
    return buf;
}

// The points of a switch or a choice, labelled with the texts hosts see for
// those values; empty for a continuous control.
std::vector<ScalePoint> scalePoints(int index) {
    std::vector<ScalePoint> points;
    if (index == param::Bypass || index == param::Route) {
        for (float v : {0.0f, 1.0f}) points.push_back({v, displayText(index, v)});
    } else if (index == param::MTime) {
        // Note value k answers to k/12, which the time's table lookup maps back to k.
        const int n = static_cast<int>(sizeof MultiDelaySyncTabName2 / sizeof MultiDelaySyncTabName2[0]);
        for (int k = 0; k < n; ++k) {
            const float v = static_cast<float>(k) / static_cast<float>(n - 1);
            if (multiDelaySyncIndex(v) != k) fail("MTime scale point " + std::to_string(k) + " selects another note value");
            points.push_back({v, displayText(index, v)});
        }
    }
    return points;
}

// What every port states first: its classes, index, symbol and name.
void portHeader(std::ostream& out, uint32_t port, const char* classes) {
    out << "        a " << classes << " ;\n"
        << "        lv2:index " << port << " ;\n"
        << "        lv2:symbol " << text(portSymbol(port)) << " ;\n"
        << "        lv2:name " << text(portName(port)) << " ;\n";
}

void parameterPort(std::ostream& out, int index) {
    const ParameterInfo& p = ParameterNameTab[index];
    portHeader(out, static_cast<uint32_t>(index), "lv2:InputPort , lv2:ControlPort");
    out << "        lv2:default " << number(p.init) << " ;\n"
        << "        lv2:minimum 0.0 ;\n"
        << "        lv2:maximum 1.0 ;\n";
    if (p.init < 0.0f || p.init > 1.0f) fail(std::string(p.shortName) + ": init value outside 0..1");
    const std::vector<ScalePoint> points = scalePoints(index);
    if (index >= kNumNamedParams) out << "        lv2:portProperty pprops:notOnGUI ;\n";
    if (index == param::Bypass) out << "        lv2:portProperty lv2:toggled ;\n";
    if (!points.empty() && index != param::Bypass) out << "        lv2:portProperty lv2:enumeration ;\n";
    for (size_t i = 0; i < points.size(); ++i)
        out << (i == 0 ? "        lv2:scalePoint " : "            ") << "[ rdfs:label " << text(points[i].label)
            << " ; rdf:value " << number(points[i].value) << " ]" << (i + 1 < points.size() ? " ,\n" : " ;\n");
}

void audioPort(std::ostream& out, uint32_t port) {
    const bool input = port == kAudioInLeft || port == kAudioInRight;
    const bool left = port == kAudioInLeft || port == kAudioOutLeft;
    portHeader(out, port, input ? "lv2:AudioPort , lv2:InputPort" : "lv2:AudioPort , lv2:OutputPort");
    out << "        pg:group " << uri(input ? kInputGroup : kOutputGroup) << " ;\n"
        << "        lv2:designation " << (left ? "pg:left" : "pg:right") << " ;\n";
}

void controlPort(std::ostream& out) {
    portHeader(out, kControlIn, "lv2:InputPort , atom:AtomPort");
    out << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports midi:MidiEvent , time:Position ;\n"
        << "        lv2:designation lv2:control ;\n"
        << "        lv2:portProperty lv2:connectionOptional ;\n";
}

// The editor hears here which program sounds (lv2/messages.h).
void notifyPort(std::ostream& out) {
    portHeader(out, kNotify, "lv2:OutputPort , atom:AtomPort");
    out << "        atom:bufferType atom:Sequence ;\n"
        << "        rsz:minimumSize " << kNotifyMinimumSize << " ;\n"
        << "        lv2:portProperty lv2:connectionOptional ;\n";
}

// The host's tempo alone (see ports.h on why it has a port of its own).
void timePort(std::ostream& out) {
    portHeader(out, kTimeIn, "lv2:InputPort , atom:AtomPort");
    out << "        atom:bufferType atom:Sequence ;\n"
        << "        atom:supports time:Position ;\n"
        << "        lv2:portProperty lv2:connectionOptional ;\n";
}

void meterPort(std::ostream& out, uint32_t port) {
    portHeader(out, port, "lv2:OutputPort , lv2:ControlPort");
    out << "        lv2:minimum 0 ;\n"
        << "        lv2:maximum " << kMeterMax << " ;\n"
        << "        lv2:portProperty lv2:integer ;\n";
}

std::string pluginDescription(int minorVersion, int microVersion) {
    std::ostringstream out;
    out << kPrefixes;
    out << uri(kPluginUri) << "\n"
        << "    a lv2:Plugin , lv2:ReverbPlugin , doap:Project ;\n"
        << "    doap:name \"Nimbrel\" ;\n"
        << "    rdfs:comment \"Stereo reverb and 17-step tempo-synchronised multitap delay\" ;\n"
        << "    doap:maintainer [ foaf:name \"orvane.example\" ; foaf:homepage <https://www.orvane.example/> ] ;\n"
        << "    lv2:minorVersion " << minorVersion << " ;\n"
        << "    lv2:microVersion " << microVersion << " ;\n"
        << "    lv2:requiredFeature urid:map ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable , bufsz:boundedBlockLength , log:log ;\n"
        << "    lv2:extensionData state:interface , opts:interface ;\n"
        << "    opts:supportedOption bufsz:nominalBlockLength , bufsz:maxBlockLength ;\n"
        << "    ui:ui " << uri(kUiUri) << " ;\n"
        << "    pg:mainInput " << uri(kInputGroup) << " ;\n"
        << "    pg:mainOutput " << uri(kOutputGroup) << " ;\n";
    for (uint32_t port = 0; port < kNumPorts; ++port) {
        out << (port == 0 ? "    lv2:port [\n" : "    ] , [\n");
        if (isParameterPort(port))
            parameterPort(out, static_cast<int>(port));
        else if (port <= kAudioOutRight)
            audioPort(out, port);
        else if (port == kControlIn)
            controlPort(out);
        else if (port == kNotify)
            notifyPort(out);
        else if (port == kTimeIn)
            timePort(out);
        else
            meterPort(out, port);
    }
    out << "    ] .\n\n";

    // The keys of the plug-in's state (and of the presets' state).
    out << uri(lv2msg::kProgramIndexUri) << "\n"
        << "    a rdf:Property ;\n"
        << "    rdfs:label \"Program number\" ;\n"
        << "    rdfs:comment \"The current program, 0 to " << kNumPrograms - 1 << "\" ;\n"
        << "    rdfs:range xsd:int .\n\n"
        << uri(lv2msg::kProgramNameUri) << "\n"
        << "    a rdf:Property ;\n"
        << "    rdfs:label \"Program name\" ;\n"
        << "    rdfs:comment \"The current program's name\" ;\n"
        << "    rdfs:range xsd:string .\n\n";

    out << uri(kInputGroup) << "\n"
        << "    a pg:InputGroup , pg:StereoGroup ;\n"
        << "    lv2:symbol \"input\" ;\n"
        << "    rdfs:label \"Input\" .\n\n"
        << uri(kOutputGroup) << "\n"
        << "    a pg:OutputGroup , pg:StereoGroup ;\n"
        << "    lv2:symbol \"output\" ;\n"
        << "    rdfs:label \"Output\" .\n\n";

    // The editor draws the meters from their ports and hears the program from
    // the notify port; it takes the host's scale at instantiation and later
    // through its options interface.
    out << uri(kUiUri) << "\n"
        << "    a ui:X11UI ;\n"
        << "    lv2:requiredFeature ui:idleInterface , ui:parent , urid:map ;\n"
        << "    lv2:optionalFeature ui:resize , ui:noUserResize , ui:touch , opts:options ;\n"
        << "    opts:supportedOption ui:scaleFactor ;\n"
        << "    lv2:extensionData ui:idleInterface , opts:interface";
    for (uint32_t port : {kMeterOutput, kMeterGate, kMeterDuck, kNotify})
        out << " ;\n    ui:portNotification [ ui:plugin " << uri(kPluginUri) << " ; lv2:symbol "
            << text(portSymbol(port)) << " ; ui:protocol "
            << (port == kNotify ? "atom:eventTransfer" : "ui:floatProtocol") << " ]";
    out << " .\n";
    return out.str();
}

std::string manifest() {
    std::ostringstream out;
    out << kPrefixes;
    out << uri(kPluginUri) << "\n"
        << "    a lv2:Plugin ;\n"
        << "    lv2:binary " << uri(kPluginBinary) << " ;\n"
        << "    rdfs:seeAlso <nimbrel.ttl> .\n\n"
        << uri(kUiUri) << "\n"
        << "    a ui:X11UI ;\n"
        << "    ui:binary " << uri(kUiBinary) << " ;\n"
        << "    rdfs:seeAlso <nimbrel.ttl> .\n";
    for (int n = 0; n < kNumPrograms; ++n) {
        out << "\n" << uri(presetUri(n)) << "\n"
            << "    a pset:Preset ;\n"
            << "    lv2:appliesTo " << uri(kPluginUri) << " ;\n"
            << "    rdfs:label " << text(factoryPresets[n].name) << " ;\n"
            << "    rdfs:seeAlso <presets.ttl> .\n";
    }
    return out.str();
}

std::string presets() {
    std::ostringstream out;
    out << kPrefixes;
    std::vector<std::string> families;
    for (const FactoryPreset& p : factoryPresets) {
        const std::string f = programFamily(p.name);
        bool seen = false;
        for (const std::string& g : families) seen = seen || g == f;
        if (!seen) families.push_back(f);
    }
    for (const std::string& f : families)
        out << uri(kBankUriBase + f) << "\n    a pset:Bank ;\n    rdfs:label " << text(f) << " .\n\n";

    for (int n = 0; n < kNumPrograms; ++n) {
        const FactoryPreset& p = factoryPresets[n];
        if (std::strlen(p.name) == 0 || std::memchr(p.name, 0, sizeof p.name) == nullptr)
            fail("program " + std::to_string(n) + " has no terminated name");
        out << uri(presetUri(n)) << "\n"
            << "    a pset:Preset ;\n"
            << "    lv2:appliesTo " << uri(kPluginUri) << " ;\n"
            << "    rdfs:label " << text(p.name) << " ;\n"
            << "    pset:bank " << uri(kBankUriBase + programFamily(p.name)) << " ;\n"
            // The plug-in's state: a host applying the preset makes this program current.
            << "    state:state [ " << uri(lv2msg::kProgramIndexUri) << " \"" << n << "\"^^xsd:int ; "
            << uri(lv2msg::kProgramNameUri) << " " << text(p.name) << " ] ;\n"
            << "    lv2:port";
        for (int i = 0; i < kNumParams; ++i)
            out << (i == 0 ? " [ " : " ,\n        [ ") << "lv2:symbol " << text(portSymbol(i)) << " ; pset:value "
                << number(p.values[i]) << " ]";
        out << " .\n\n";
    }
    return out.str();
}

void writeFile(const std::string& dir, const char* name, const std::string& content) {
    const std::string path = dir + "/" + name;
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << content;
    f.close();
    if (!f) fail("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) fail("usage: nimbrel_turtle OUTPUT_DIR MINOR_VERSION MICRO_VERSION");
    std::set<std::string> symbols;
    for (uint32_t port = 0; port < kNumPorts; ++port)
        if (!symbols.insert(portSymbol(port)).second) fail("port symbol " + portSymbol(port) + " repeats");
    writeFile(argv[1], "manifest.ttl", manifest());
    writeFile(argv[1], "nimbrel.ttl", pluginDescription(std::atoi(argv[2]), std::atoi(argv[3])));
    writeFile(argv[1], "presets.ttl", presets());
    return 0;
}
