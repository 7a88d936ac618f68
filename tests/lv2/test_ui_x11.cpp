// The editor's library as an LV2 host loads it, on a private X display (run
// by xvfb_run.sh): the UI descriptor opens the editor as a child of the
// host's window, asks for its size, serves idle calls, takes port events,
// and refuses hosts that lack what it needs. Only the library's entry point
// and the UI protocol are used.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "lv2/ports.h"
#include "tests/common/private_data_folder.h"
#include "tests/lv2/lv2_host.h"

#include <X11/Xlib.h>

namespace {

const LV2UI_Descriptor* uiDescriptor() {
    static void* library = dlopen(NIMBREL_LV2_UI_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!library) return nullptr;
    auto entry = reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2ui_descriptor"));
    return entry ? entry(0) : nullptr;
}

void idleOnce(LV2UI_Handle ui) {
    static_cast<const LV2UI_Idle_Interface*>(uiDescriptor()->extension_data(LV2_UI__idleInterface))->idle(ui);
}

struct Host {
    Display* display = XOpenDisplay(nullptr);
    Window parent = 0;
    lv2test::UridMap urids;
    lv2msg::Urids u;
    std::vector<std::pair<uint32_t, uint32_t>> writes;  // port, protocol
    std::vector<std::pair<int, int>> sizes;
    LV2UI_Resize resize{this, [](LV2UI_Feature_Handle h, int w, int hgt) {
                            static_cast<Host*>(h)->sizes.emplace_back(w, hgt);
                            return 0;
                        }};
    LV2_Feature parentFeature{LV2_UI__parent, nullptr};
    LV2_Feature mapFeature{LV2_URID__map, &urids.map};
    LV2_Feature resizeFeature{LV2_UI__resize, &resize};

    Host() {
        u.mapAll(&urids.map);
        if (!display) return;
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 900, 600, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        parentFeature.data = reinterpret_cast<void*>(static_cast<uintptr_t>(parent));
    }
    ~Host() {
        if (display) XCloseDisplay(display);
    }
    static void write(LV2UI_Controller c, uint32_t port, uint32_t, uint32_t protocol, const void*) {
        static_cast<Host*>(c)->writes.emplace_back(port, protocol);
    }
    LV2UI_Handle open(const std::vector<const LV2_Feature*>& given, LV2UI_Widget* widget,
                      const char* plugin = lv2ports::kPluginUri) {
        std::vector<const LV2_Feature*> features = given;
        features.push_back(nullptr);
        return uiDescriptor()->instantiate(uiDescriptor(), plugin, "/nonexistent/", &Host::write, this, widget,
                                           features.data());
    }
    // The window's size on the display.
    static std::pair<int, int> sizeOf(Display* display, LV2UI_Widget widget) {
        XSync(display, False);
        XWindowAttributes a{};
        XGetWindowAttributes(display, static_cast<Window>(reinterpret_cast<uintptr_t>(widget)), &a);
        return {a.width, a.height};
    }
    std::vector<Window> children() {
        Window root, p, *list = nullptr;
        unsigned int n = 0;
        XQueryTree(display, parent, &root, &p, &list, &n);
        std::vector<Window> out(list, list + n);
        if (list) XFree(list);
        return out;
    }
};

TEST(Lv2UiX11, TheEditorOpensInTheHostsWindowAndFollowsThePlugin) {
    privateDataFolder();
    ASSERT_NE(uiDescriptor(), nullptr) << NIMBREL_LV2_UI_LIBRARY;
    EXPECT_STREQ(uiDescriptor()->URI, lv2ports::kUiUri);
    const auto* idle = static_cast<const LV2UI_Idle_Interface*>(uiDescriptor()->extension_data(LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    Host host;
    ASSERT_NE(host.display, nullptr);

    LV2UI_Widget widget = nullptr;
    LV2UI_Handle ui = host.open({&host.parentFeature, &host.mapFeature, &host.resizeFeature}, &widget);
    ASSERT_NE(ui, nullptr);
    // The widget is our window, a child of the host's, and the host was asked for its size.
    const Window window = static_cast<Window>(reinterpret_cast<uintptr_t>(widget));
    const std::vector<Window> children = host.children();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0], window);
    XWindowAttributes a{};
    XGetWindowAttributes(host.display, window, &a);
    ASSERT_EQ(host.sizes.size(), 1u);
    EXPECT_EQ(host.sizes[0], std::make_pair(a.width, a.height));
    EXPECT_GT(a.width, 800);

    // The first idle asks the plug-in which program sounds; idles go on returning 0.
    EXPECT_EQ(idle->idle(ui), 0);
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0], std::make_pair(static_cast<uint32_t>(lv2ports::kControlIn), host.u.atomEventTransfer));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(idle->idle(ui), 0);

    // Port events of every kind are taken; the ones that are no port or no protocol of
    // ours are passed over. None is written back.
    const float value = 0.25f;
    uiDescriptor()->port_event(ui, lv2ports::kFirstParameter, sizeof value, 0, &value);
    uiDescriptor()->port_event(ui, lv2ports::kMeterOutput, sizeof value, 0, &value);
    uiDescriptor()->port_event(ui, 9999, sizeof value, 0, &value);
    uiDescriptor()->port_event(ui, lv2ports::kFirstParameter, 2, 0, &value);
    uiDescriptor()->port_event(ui, lv2ports::kNotify, 4, host.u.atomEventTransfer, &value);  // shorter than an atom
    uiDescriptor()->port_event(ui, lv2ports::kNotify, 0, host.u.atomEventTransfer, nullptr);
    std::vector<uint8_t> message(512);
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, &host.urids.map);
    lv2_atom_forge_set_buffer(&forge, message.data(), message.size());
    ASSERT_TRUE(lv2msg::forgeProgram(forge, host.u, 33, "REV Hall Trance", factoryPresets[33].values));
    const auto* atom = reinterpret_cast<const LV2_Atom*>(message.data());
    // A size that does not hold the whole atom is refused.
    uiDescriptor()->port_event(ui, lv2ports::kNotify, 12, host.u.atomEventTransfer, atom);
    uiDescriptor()->port_event(ui, lv2ports::kNotify, sizeof(LV2_Atom) + atom->size, host.u.atomEventTransfer, atom);
    EXPECT_EQ(idle->idle(ui), 0);
    EXPECT_EQ(host.writes.size(), 1u);

    uiDescriptor()->cleanup(ui);
    XSync(host.display, False);
    EXPECT_TRUE(host.children().empty());
}

TEST(Lv2UiX11, HostsWithoutAParentWindowOrAMapOrForAnotherPluginAreRefused) {
    privateDataFolder();
    ASSERT_NE(uiDescriptor(), nullptr);
    Host host;
    ASSERT_NE(host.display, nullptr);
    LV2UI_Widget widget = nullptr;
    testing::internal::CaptureStderr();
    EXPECT_EQ(host.open({&host.mapFeature}, &widget), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("ui:parent"), std::string::npos);
    testing::internal::CaptureStderr();
    EXPECT_EQ(host.open({&host.parentFeature}, &widget), nullptr);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("urid:map"), std::string::npos);
    EXPECT_EQ(host.open({&host.parentFeature, &host.mapFeature}, &widget, "https://example.org/another"), nullptr);
    EXPECT_EQ(host.open({&host.parentFeature, &host.mapFeature}, &widget, nullptr), nullptr);
    EXPECT_TRUE(host.children().empty());

    // Without ui:resize the editor opens all the same.
    LV2UI_Handle ui = host.open({&host.parentFeature, &host.mapFeature}, &widget);
    ASSERT_NE(ui, nullptr);
    EXPECT_TRUE(host.sizes.empty());
    uiDescriptor()->cleanup(ui);
}

// A ui:scaleFactor option of a given atom kind, as a host lists it.
struct ScaleOption {
    float f = 0.0f;
    double d = 0.0;
    int32_t i = 0;
    LV2_Options_Option options[2] = {};
    LV2_Feature feature{LV2_OPTIONS__options, options};

    ScaleOption(Host& host, const char* kind, double value) : f(static_cast<float>(value)), d(value) {
        i = static_cast<int32_t>(std::isfinite(value) ? value : 0);
        LV2_Options_Option& o = options[0];
        o.context = LV2_OPTIONS_INSTANCE;
        o.key = host.urids.map.map(host.urids.map.handle, LV2_UI__scaleFactor);
        if (std::string(kind) == "double") {
            o.type = host.u.atomDouble, o.size = sizeof d, o.value = &d;
        } else if (std::string(kind) == "int") {
            o.type = host.u.atomInt, o.size = sizeof i, o.value = &i;
        } else {
            o.type = host.u.atomFloat, o.size = sizeof f, o.value = &f;
        }
    }
};

const LV2_Options_Interface* optionsInterface() {
    return static_cast<const LV2_Options_Interface*>(uiDescriptor()->extension_data(LV2_OPTIONS__interface));
}

TEST(Lv2UiX11, TheHostsScaleFactorSizesTheWindowAndASenselessOneFallsBack) {
    privateDataFolder();
    ASSERT_NE(uiDescriptor(), nullptr);
    unsetenv("NIMBREL_UI_SCALE");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<int, int> one{860, 548}, onePointFive{1290, 822}, two{1720, 1096};

    // Every kind of number a host may send; the host was asked for the window's
    // pixels.
    for (const char* kind : {"float", "double", "int"}) {
        Host host;
        ASSERT_NE(host.display, nullptr);
        ScaleOption scale(host, kind, 2.0);
        LV2UI_Widget widget = nullptr;
        LV2UI_Handle ui =
            host.open({&host.parentFeature, &host.mapFeature, &host.resizeFeature, &scale.feature}, &widget);
        ASSERT_NE(ui, nullptr) << kind;
        EXPECT_EQ(Host::sizeOf(host.display, widget), two) << kind;
        ASSERT_EQ(host.sizes.size(), 1u) << kind;
        EXPECT_EQ(host.sizes[0], two) << kind;
        uiDescriptor()->cleanup(ui);
    }

    // A factor no screen has is passed over: the next source is the
    // environment's, and with none (the private display has no Xft.dpi) 1.
    for (double bad : {0.0, nan, -1.0, 1e9}) {
        for (const char* environment : {"", "1.5"}) {
            if (*environment)
                setenv("NIMBREL_UI_SCALE", environment, 1);
            else
                unsetenv("NIMBREL_UI_SCALE");
            Host host;
            ScaleOption scale(host, "float", bad);
            LV2UI_Widget widget = nullptr;
            LV2UI_Handle ui =
                host.open({&host.parentFeature, &host.mapFeature, &host.resizeFeature, &scale.feature}, &widget);
            ASSERT_NE(ui, nullptr) << bad;
            const auto expected = *environment ? onePointFive : one;
            EXPECT_EQ(Host::sizeOf(host.display, widget), expected) << bad << " " << environment;
            ASSERT_EQ(host.sizes.size(), 1u);
            EXPECT_EQ(host.sizes[0], expected) << bad << " " << environment;
            uiDescriptor()->cleanup(ui);
        }
    }
    unsetenv("NIMBREL_UI_SCALE");
}

TEST(Lv2UiX11, AScaleFactorSentWhileOpenResizesTheWindowThroughTheHost) {
    privateDataFolder();
    ASSERT_NE(uiDescriptor(), nullptr);
    unsetenv("NIMBREL_UI_SCALE");
    const LV2_Options_Interface* options = optionsInterface();
    ASSERT_NE(options, nullptr);
    Host host;
    ASSERT_NE(host.display, nullptr);
    LV2UI_Widget widget = nullptr;
    LV2UI_Handle ui = host.open({&host.parentFeature, &host.mapFeature, &host.resizeFeature}, &widget);
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(Host::sizeOf(host.display, widget), std::make_pair(860, 548));

    ScaleOption two(host, "double", 2.0);
    EXPECT_EQ(options->set(ui, two.options), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
    idleOnce(ui);
    ASSERT_EQ(host.sizes.size(), 2u);
    EXPECT_EQ(host.sizes[1], std::make_pair(1720, 1096));
    EXPECT_EQ(Host::sizeOf(host.display, widget), std::make_pair(1720, 1096));

    // The host can read back the scale in use.
    LV2_Options_Option asked[2] = {};
    asked[0].key = two.options[0].key;
    EXPECT_EQ(options->get(ui, asked), static_cast<uint32_t>(LV2_OPTIONS_SUCCESS));
    ASSERT_EQ(asked[0].type, host.u.atomFloat);
    ASSERT_NE(asked[0].value, nullptr);
    EXPECT_EQ(*static_cast<const float*>(asked[0].value), 2.0f);

    // A senseless factor, a value of another kind and another key change nothing.
    ScaleOption nanFactor(host, "float", std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(options->set(ui, nanFactor.options), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_VALUE));
    ScaleOption text(host, "float", 1.5);
    text.options[0].type = host.u.atomString;
    EXPECT_EQ(options->set(ui, text.options), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_VALUE));
    ScaleOption other(host, "float", 1.5);
    other.options[0].key = host.u.nominalBlockLength;
    EXPECT_EQ(options->set(ui, other.options), static_cast<uint32_t>(LV2_OPTIONS_ERR_BAD_KEY));
    idleOnce(ui);
    EXPECT_EQ(host.sizes.size(), 2u);
    EXPECT_EQ(Host::sizeOf(host.display, widget), std::make_pair(1720, 1096));
    uiDescriptor()->cleanup(ui);
}

}  // namespace
