// The bundle's Turtle as an LV2 host reads it (through lilv): the ports, the
// features, the editor and the presets, compared with the tables they are
// generated from.
#include <lilv/lilv.h>
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/port-props/port-props.h>
#include <lv2/presets/presets.h>
#include <lv2/resize-port/resize-port.h>
#include <lv2/state/state.h>
#include <lv2/time/time.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>
#include <lv2/worker/worker.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/parameters.h"
#include "host/programs.h"
#include "lv2/messages.h"
#include "lv2/ports.h"
#include "tests/lv2/lv2_host.h"

using namespace lv2ports;

namespace {

using lv2test::UridMap;

class Bundle : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        world = lilv_world_new();
        // The vocabularies first (for the plug-in classes), then our bundle alone.
        LilvNode* core = lilv_new_file_uri(world, nullptr, "/usr/lib/lv2/core.lv2/");
        lilv_world_load_bundle(world, core);
        lilv_node_free(core);
        lilv_world_load_specifications(world);
        lilv_world_load_plugin_classes(world);
        LilvNode* bundle = lilv_new_file_uri(world, nullptr, NIMBREL_LV2_BUNDLE "/");
        lilv_world_load_bundle(world, bundle);
        lilv_node_free(bundle);
        LilvNode* uri = lilv_new_uri(world, kPluginUri);
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
    }
    static void TearDownTestSuite() {
        for (auto& n : nodes) lilv_node_free(n.second);
        nodes.clear();
        lilv_world_free(world);
        world = nullptr;
        plugin = nullptr;
    }
    void SetUp() override { ASSERT_NE(plugin, nullptr) << "no plug-in " << kPluginUri << " in " << NIMBREL_LV2_BUNDLE; }

    // A URI node that lives as long as the world.
    static const LilvNode* node(const char* u) {
        auto it = nodes.find(u);
        if (it == nodes.end()) it = nodes.emplace(u, lilv_new_uri(world, u)).first;
        return it->second;
    }
    static const LilvPort* port(uint32_t index) { return lilv_plugin_get_port_by_index(plugin, index); }
    static bool hasProperty(uint32_t index, const char* property) {
        return lilv_port_has_property(plugin, port(index), node(property));
    }
    static bool isA(uint32_t index, const char* cls) { return lilv_port_is_a(plugin, port(index), node(cls)); }
    static std::set<std::string> uris(LilvNodes* list) {
        std::set<std::string> out;
        LILV_FOREACH (nodes, i, list) out.insert(lilv_node_as_uri(lilv_nodes_get(list, i)));
        lilv_nodes_free(list);
        return out;
    }

    static LilvWorld* world;
    static const LilvPlugin* plugin;
    static std::map<std::string, LilvNode*> nodes;
};
LilvWorld* Bundle::world = nullptr;
const LilvPlugin* Bundle::plugin = nullptr;
std::map<std::string, LilvNode*> Bundle::nodes;

std::string displayText(int index, float value) {
    char buf[64];
    parameterDisplayText(index, value, buf, sizeof buf);
    return buf;
}

TEST_F(Bundle, ThePluginIsAReverbWithTheFeaturesHostsMayRelyOn) {
    EXPECT_STREQ(lilv_node_as_uri(lilv_plugin_class_get_uri(lilv_plugin_get_class(plugin))), LV2_CORE__ReverbPlugin);
    LilvNode* name = lilv_plugin_get_name(plugin);
    EXPECT_STREQ(lilv_node_as_string(name), "Nimbrel");
    lilv_node_free(name);
    EXPECT_EQ(uris(lilv_plugin_get_required_features(plugin)), std::set<std::string>{LV2_URID__map});
    const std::set<std::string> optional = uris(lilv_plugin_get_optional_features(plugin));
    EXPECT_TRUE(optional.count(LV2_CORE__hardRTCapable));
    EXPECT_TRUE(optional.count(LV2_BUF_SIZE__boundedBlockLength));
    // lv2file crashes on plug-ins that ask for a worker; Ardour refuses in-place-broken ones.
    EXPECT_FALSE(optional.count(LV2_WORKER__schedule));
    EXPECT_FALSE(lilv_plugin_has_feature(plugin, node(LV2_CORE__inPlaceBroken)));
    EXPECT_TRUE(lilv_plugin_has_extension_data(plugin, node(LV2_STATE__interface)));
    LilvNode* binary = lilv_new_file_uri(world, nullptr, NIMBREL_LV2_BUNDLE "/");
    std::string bundle = lilv_node_as_uri(binary);
    lilv_node_free(binary);
    EXPECT_EQ(lilv_node_as_uri(lilv_plugin_get_library_uri(plugin)), bundle + kPluginBinary);
}

TEST_F(Bundle, PortIndicesAndSymbolsAreThePublishedOnes) {
    // Sessions and presets store ports by symbol: these may never change.
    std::ifstream published(NIMBREL_LV2_PORT_SYMBOLS);
    ASSERT_TRUE(published) << NIMBREL_LV2_PORT_SYMBOLS;
    std::string line;
    uint32_t count = 0;
    while (std::getline(published, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        uint32_t index = 0;
        std::string symbol;
        fields >> index >> symbol;
        ASSERT_LT(index, lilv_plugin_get_num_ports(plugin)) << line;
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port(index))), symbol.c_str()) << line;
        EXPECT_EQ(portSymbol(index), symbol) << line;
        ++count;
    }
    EXPECT_EQ(count, static_cast<uint32_t>(kNumPorts));
    EXPECT_EQ(lilv_plugin_get_num_ports(plugin), static_cast<uint32_t>(kNumPorts));
}

TEST_F(Bundle, ParameterPortsFollowTheParameterTable) {
    std::set<std::string> symbols;
    for (int i = 0; i < kNumParams; ++i) {
        SCOPED_TRACE(ParameterNameTab[i].shortName);
        const uint32_t p = static_cast<uint32_t>(i);
        EXPECT_TRUE(isA(p, LV2_CORE__InputPort) && isA(p, LV2_CORE__ControlPort));
        const std::string symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port(p)));
        EXPECT_TRUE(symbols.insert(symbol).second) << "repeated symbol " << symbol;
        ASSERT_FALSE(symbol.empty());
        EXPECT_FALSE(symbol[0] >= '0' && symbol[0] <= '9');
        EXPECT_EQ(symbol.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"),
                  std::string::npos);
        LilvNode* name = lilv_port_get_name(plugin, port(p));
        EXPECT_STREQ(lilv_node_as_string(name),
                     ParameterNameTab[i].longName[0] ? ParameterNameTab[i].longName : ParameterNameTab[i].shortName);
        lilv_node_free(name);

        LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
        lilv_port_get_range(plugin, port(p), &def, &min, &max);
        ASSERT_TRUE(def && min && max);
        EXPECT_EQ(lilv_node_as_float(def), kParameterInit.v[i]);
        EXPECT_EQ(lilv_node_as_float(def), ParameterNameTab[i].init);
        EXPECT_EQ(lilv_node_as_float(min), 0.0f);
        EXPECT_EQ(lilv_node_as_float(max), 1.0f);
        lilv_node_free(def);
        lilv_node_free(min);
        lilv_node_free(max);
        // Hosts offer the named ones; the reserved ones stay out of sight but keep their index.
        EXPECT_EQ(hasProperty(p, LV2_PORT_PROPS__notOnGUI), i >= kNumNamedParams);
    }
}

TEST_F(Bundle, SwitchesAndChoicesOfferTheValueTextsAsScalePoints) {
    using namespace param;
    EXPECT_TRUE(hasProperty(Bypass, LV2_CORE__toggled));
    EXPECT_TRUE(hasProperty(Route, LV2_CORE__enumeration));
    EXPECT_TRUE(hasProperty(MTime, LV2_CORE__enumeration));
    std::map<int, std::vector<std::string>> expected = {
        {Bypass, {displayText(Bypass, 0.0f), displayText(Bypass, 1.0f)}},
        {Route, {displayText(Route, 0.0f), displayText(Route, 1.0f)}},
        {MTime, std::vector<std::string>(std::begin(MultiDelaySyncTabName2), std::end(MultiDelaySyncTabName2))},
    };
    for (int i = 0; i < kNumParams; ++i) {
        SCOPED_TRACE(ParameterNameTab[i].shortName);
        LilvScalePoints* points = lilv_port_get_scale_points(plugin, port(i));
        std::map<float, std::string> byValue;
        LILV_FOREACH (scale_points, it, points) {
            const LilvScalePoint* sp = lilv_scale_points_get(points, it);
            const float value = lilv_node_as_float(lilv_scale_point_get_value(sp));
            const std::string label = lilv_node_as_string(lilv_scale_point_get_label(sp));
            // The label is what the plug-in itself shows for that value.
            EXPECT_EQ(label, displayText(i, value)) << value;
            EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << value;
            byValue[value] = label;
        }
        lilv_scale_points_free(points);
        std::vector<std::string> labels;
        for (auto& e : byValue) labels.push_back(e.second);
        EXPECT_EQ(labels, expected.count(i) ? expected[i] : std::vector<std::string>{});
        const bool choice = hasProperty(i, LV2_CORE__enumeration) || hasProperty(i, LV2_CORE__toggled);
        EXPECT_EQ(choice, expected.count(i) == 1);
    }
}

TEST_F(Bundle, AudioControlAndMeterPortsFollowTheParameters) {
    for (uint32_t p : {kAudioInLeft, kAudioInRight})
        EXPECT_TRUE(isA(p, LV2_CORE__AudioPort) && isA(p, LV2_CORE__InputPort)) << p;
    for (uint32_t p : {kAudioOutLeft, kAudioOutRight})
        EXPECT_TRUE(isA(p, LV2_CORE__AudioPort) && isA(p, LV2_CORE__OutputPort)) << p;

    EXPECT_TRUE(isA(kControlIn, LV2_ATOM__AtomPort) && isA(kControlIn, LV2_CORE__InputPort));
    EXPECT_TRUE(lilv_port_supports_event(plugin, port(kControlIn), node(LV2_MIDI__MidiEvent)));
    EXPECT_TRUE(lilv_port_supports_event(plugin, port(kControlIn), node(LV2_TIME__Position)));
    LilvNodes* buffer = lilv_port_get_value(plugin, port(kControlIn), node(LV2_ATOM__bufferType));
    ASSERT_EQ(lilv_nodes_size(buffer), 1u);
    EXPECT_STREQ(lilv_node_as_uri(lilv_nodes_get_first(buffer)), LV2_ATOM__Sequence);
    lilv_nodes_free(buffer);
    // Hosts send tempo and MIDI to the port designated for control.
    EXPECT_EQ(lilv_plugin_get_port_by_designation(plugin, node(LV2_CORE__InputPort), node(LV2_CORE__control)),
              port(kControlIn));

    for (uint32_t p : {kMeterOutput, kMeterGate, kMeterDuck}) {
        SCOPED_TRACE(portSymbol(p));
        EXPECT_TRUE(isA(p, LV2_CORE__ControlPort) && isA(p, LV2_CORE__OutputPort));
        LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
        lilv_port_get_range(plugin, port(p), &def, &min, &max);
        ASSERT_TRUE(min && max);
        EXPECT_EQ(lilv_node_as_float(min), 0.0f);
        EXPECT_EQ(lilv_node_as_float(max), static_cast<float>(kMeterMax));
        lilv_node_free(def);
        lilv_node_free(min);
        lilv_node_free(max);
    }

    // The editor hears from the plug-in on the notify port.
    EXPECT_TRUE(isA(kNotify, LV2_ATOM__AtomPort) && isA(kNotify, LV2_CORE__OutputPort));
    LilvNodes* notifySize = lilv_port_get_value(plugin, port(kNotify), node(LV2_RESIZE_PORT__minimumSize));
    ASSERT_EQ(lilv_nodes_size(notifySize), 1u);
    EXPECT_GE(lilv_node_as_int(lilv_nodes_get_first(notifySize)), static_cast<int>(lv2msg::kProgramEventSize));
    lilv_nodes_free(notifySize);
    // Ardour sends the tempo of an audio track only to an atom port that takes no MIDI.
    EXPECT_TRUE(isA(kTimeIn, LV2_ATOM__AtomPort) && isA(kTimeIn, LV2_CORE__InputPort));
    EXPECT_TRUE(lilv_port_supports_event(plugin, port(kTimeIn), node(LV2_TIME__Position)));
    EXPECT_FALSE(lilv_port_supports_event(plugin, port(kTimeIn), node(LV2_MIDI__MidiEvent)));
    // Ardour announces a bounce's block length through the options interface.
    EXPECT_TRUE(lilv_plugin_has_extension_data(plugin, node(LV2_OPTIONS__interface)));
}

TEST_F(Bundle, TheEditorIsAnX11UiInItsOwnBinary) {
    LilvUIs* uis = lilv_plugin_get_uis(plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), kUiUri);
    EXPECT_TRUE(lilv_ui_is_a(ui, node(LV2_UI__X11UI)));
    const std::string binary = lilv_node_as_uri(lilv_ui_get_binary_uri(ui));
    EXPECT_EQ(binary.substr(binary.size() - std::strlen(kUiBinary)), kUiBinary);
    EXPECT_NE(binary, lilv_node_as_uri(lilv_plugin_get_library_uri(plugin)));
    // It needs a parent window, idle calls and urid:map (for its messages).
    const LilvNode* uiUri = lilv_ui_get_uri(ui);
    LilvNodes* required = lilv_world_find_nodes(world, uiUri, node(LV2_CORE__requiredFeature), nullptr);
    std::set<std::string> requiredUris;
    LILV_FOREACH (nodes, i, required) requiredUris.insert(lilv_node_as_uri(lilv_nodes_get(required, i)));
    lilv_nodes_free(required);
    EXPECT_EQ(requiredUris, (std::set<std::string>{LV2_UI__idleInterface, LV2_UI__parent, LV2_URID__map}));
    EXPECT_FALSE(requiredUris.count(LV2_INSTANCE_ACCESS_URI));
    // It takes the host's scale factor, also while open.
    EXPECT_TRUE(lilv_world_ask(world, uiUri, node(LV2_OPTIONS__supportedOption), node(LV2_UI__scaleFactor)));
    EXPECT_TRUE(lilv_world_ask(world, uiUri, node(LV2_CORE__extensionData), node(LV2_OPTIONS__interface)));
    lilv_uis_free(uis);
}

void collectPortValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t type) {
    auto* values = static_cast<std::map<std::string, float>*>(user);
    (void)type;
    if (size == sizeof(float)) (*values)[symbol] = *static_cast<const float*>(value);
}

TEST_F(Bundle, TheFactoryProgramsArePresetsInBanksByFamily) {
    UridMap map;
    LilvNodes* presets = lilv_plugin_get_related(plugin, node(LV2_PRESETS__Preset));
    std::map<std::string, const LilvNode*> byUri;
    LILV_FOREACH (nodes, i, presets) byUri[lilv_node_as_uri(lilv_nodes_get(presets, i))] = lilv_nodes_get(presets, i);
    ASSERT_EQ(byUri.size(), static_cast<size_t>(kNumPrograms));

    std::set<std::string> families;
    for (int n = 0; n < kNumPrograms; ++n) {
        const FactoryPreset& program = factoryPresets[n];
        SCOPED_TRACE(program.name);
        const std::string u = presetUri(n);
        // jalv cuts a preset URI at any other character and then applies nothing.
        EXPECT_EQ(u.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_:/-.#"),
                  std::string::npos);
        ASSERT_TRUE(byUri.count(u)) << u;
        const LilvNode* preset = byUri[u];
        lilv_world_load_resource(world, preset);

        LilvNode* label = lilv_world_get(world, preset, node(LILV_NS_RDFS "label"), nullptr);
        ASSERT_TRUE(label);
        EXPECT_STREQ(lilv_node_as_string(label), program.name);
        lilv_node_free(label);

        LilvNode* bank = lilv_world_get(world, preset, node(LV2_PRESETS__bank), nullptr);
        ASSERT_TRUE(bank);
        EXPECT_TRUE(lilv_world_ask(world, bank, node(LILV_NS_RDF "type"), node(LV2_PRESETS__Bank)));
        LilvNode* bankLabel = lilv_world_get(world, bank, node(LILV_NS_RDFS "label"), nullptr);
        ASSERT_TRUE(bankLabel);
        EXPECT_EQ(std::string(program.name).rfind(std::string(lilv_node_as_string(bankLabel)) + " ", 0), 0u);
        families.insert(lilv_node_as_string(bankLabel));
        lilv_node_free(bankLabel);
        lilv_node_free(bank);

        // The values as a host applies them: every parameter, exactly the factory value.
        LilvState* state = lilv_state_new_from_world(world, &map.map, preset);
        ASSERT_TRUE(state);
        std::map<std::string, float> values;
        lilv_state_emit_port_values(state, collectPortValue, &values);
        lilv_state_free(state);
        ASSERT_EQ(values.size(), static_cast<size_t>(kNumParams));
        for (int i = 0; i < kNumParams; ++i) {
            ASSERT_TRUE(values.count(portSymbol(i))) << portSymbol(i);
            EXPECT_EQ(values[portSymbol(i)], program.values[i]) << portSymbol(i);
        }
    }
    lilv_nodes_free(presets);
    EXPECT_EQ(families, (std::set<std::string>{"DEL", "DUP", "FX", "GATE", "MIX", "REV", "TAP", "USER"}));
}

}  // namespace
