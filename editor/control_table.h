#pragma once
// The editor's table-driven controls: one record per knob, switch, step
// slider and command button, in the order the window builds them. The skin
// generator reads the same table, so every position is written once.
#include <cstdint>

enum ControlKind : int64_t {
    kKindKnob = 0,
    kKindOnOffButton = 2,
    kKindKickButton = 3,
    kKindStepSlider = 10,
    kKindEnd = -99,
};

struct ControlRecord {
    int64_t group;     // every record is in group 0
    int64_t kind;      // ControlKind
    int64_t tag;       // parameter index 0..62 or command code 106..110
    const char* name;  // shown in the info line
    int64_t x, y;      // anchor point in window pixels
    float initValue;   // 0.5 for knobs and sliders, 0 for buttons (not read by the editor)
};

constexpr int kNumControlRecords = 68;  // the end record follows them
extern const ControlRecord controlTabs[kNumControlRecords + 1];

// Tags of the controls outside the parameter range.
namespace ctag {
enum : long {
    ProgramMenu = 100,
    WetOnly = 103,
    MainMenu = 104,
    Splash = 105,
    HideEditor = 106,
    Handbook = 107,
    WebSite = 108,
    PreviousProgram = 109,
    NextProgram = 110,
    // Controls from this tag up (the LEDs) are shown only: touching them does nothing.
    EndOfCommands = 115,
    Led = 300,
};
}  // namespace ctag

// Size of the tag -> record map (tags 0..113).
constexpr int kTagMapSize = 114;

// The maker's web site, as named in the button, menu and questions.
constexpr const char* kWebSiteHost = "www.orvane.example";
constexpr const char* kWebSiteDomain = "orvane.example";
constexpr const char* kWebSiteUrl = "https://www.orvane.example/";
