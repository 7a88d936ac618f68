#pragma once
// The plug-in's window: the table-driven parameter controls, the program and
// main menus, the LED meters, the info line, the splash screen and the wave
// display, kept in step with the instance from the host's idle calls. It
// knows the instance only through an EditorModel, and the host window only
// as the parent it is opened in, so every plug-in format can embed it.
#include <cstdint>
#include <memory>
#include <string>

#include "base/relaxed.h"
#include "editor/control_table.h"
#include "editor/editor_model.h"
#include "editor/wavedisplay.h"
#include "gui/vstgui.h"
#include "host/parameters.h"

class Reverb;

// The main menu's entries, in their order on the menu.
enum class MainMenuEntry : long {
    LoadPreset, LoadBank, Separator1,
    SavePreset, SaveBank, Separator2,
    InitReverb, InitDelay, Separator3,
    RandomReverb, RandomDelay, Separator4,
    VisitWebSite,
    Count
};

// The views and bitmaps of the editor, all null until loaded or built.
struct DATA {
    VSTGUI::CBitmap* backgroundBitmap = nullptr;    // 128
    VSTGUI::CBitmap* wetOnlyBitmap = nullptr;       // 129
    VSTGUI::CBitmap* knobBitmap = nullptr;          // 130
    VSTGUI::CBitmap* splashBitmap = nullptr;        // 132
    VSTGUI::CBitmap* sliderHandleBitmap = nullptr;  // 133
    VSTGUI::CBitmap* ledGreenBitmap = nullptr;      // 134
    VSTGUI::CBitmap* ledRedBitmap = nullptr;        // 135
    VSTGUI::CBitmap* ledAmberBitmap = nullptr;      // 136
    VSTGUI::CBitmap* sliderAccentBitmap = nullptr;  // 137
    VSTGUI::CBitmap* sliderBitmap = nullptr;        // 138
    VSTGUI::CBitmap* buttonBitmap = nullptr;        // 139

    // The control built for each table record, by record number.
    VSTGUI::CAnimKnob* knobs[kNumControlRecords + 1] = {};
    VSTGUI::COnOffButton* onOffButtons[kNumControlRecords + 1] = {};
    VSTGUI::CVerticalSlider* sliders[kNumControlRecords + 1] = {};
    VSTGUI::CKickButton* kickButtons[kNumControlRecords + 1] = {};

    VSTGUI::COptionMenu* programMenu = nullptr;
    VSTGUI::COptionMenu* mainMenu = nullptr;
    VSTGUI::CKickButton* wetOnlyButton = nullptr;
    VSTGUI::CSplashScreen* splashScreen = nullptr;
    VSTGUI::COnOffButton* outputLeds[10] = {};  // index 0 at the bottom
    VSTGUI::COnOffButton* gateLeds[10] = {};
    VSTGUI::COnOffButton* duckLeds[10] = {};
    VSTGUI::CTextLabel* infoLabel = nullptr;
    Wavedisplay* waveDisplay = nullptr;
};

class OvEditor : public VSTGUI::VSTGUIEditorInterface, public VSTGUI::CControlListener, public DATA {
public:
    static constexpr int kDisplaySamples = 14000;  // two seconds at the display's 7000 Hz
    static constexpr float kDisplaySampleRate = 7000.0f;
    static constexpr int kInfoTextSize = 200;

    explicit OvEditor(EditorModel& model);
    ~OvEditor() override;  // closes a window still open

    // Builds the window inside the host's parent window (an X11 Window id;
    // null draws offscreen). A second open replaces the first window.
    bool open(void* parentWindow);
    // Releases the window and every view.
    void close();
    bool isOpen() const { return frame != nullptr; }
    // Serves the window from the host's idle calls: controls, meters, info
    // line, program list and wave display follow the instance, then the
    // window's events and redraw.
    void idle();
    // The full window's size in pixels at the scale in use: what a host sizes
    // its window to before opening (the compact window is its top-left corner).
    int64_t getWidth() const;
    int64_t getHeight() const;
    // The scale the window is drawn at (pixels per layout unit, 1..4): the
    // host's factor when it gave a usable one, else the NIMBREL_UI_SCALE
    // override, else the desktop's (Xft.dpi / 96), else 1. Chosen when first
    // needed (the host asks for the size or opens the window) and kept.
    double getScaleFactor() const;
    // The host's scale factor, before or while the window is open. A factor
    // no screen has (0, negative, NaN, above 8) is refused (false) and
    // changes nothing; a usable one (true) becomes the scale, kept within
    // 1..4. An open window is redrawn at it and asks the host, through the
    // model's resizeWindow, for its new pixel size; a host that refuses
    // keeps its window as it is, with the editor drawn at the new scale.
    bool setHostScaleFactor(double factor);
    // Keys the host hands on: an open list takes Escape, the arrows, Home,
    // End, Return and Enter (true); every other key, and every key while no
    // list is open, stays the host's (false), so its shortcuts keep working.
    bool onKeyDown(VSTGUI::CKeyCode& key);
    bool onKeyUp(VSTGUI::CKeyCode& key);
    void setKnobMode(long mode) { knobMode = mode; }
    // From any thread: remembers that the control must follow the instance.
    void parameterChanged(int index);

    // VSTGUIEditorInterface: a control's grab and release reach the model
    // when the control is a parameter's.
    long getKnobMode() const override { return knobMode; }
    void beginEdit(long index) override;
    void endEdit(long index) override;
    VSTGUI::CFrame* getFrame() override { return frame; }
    void doIdleStuff() override { idle(); }

    void valueChanged(VSTGUI::CControl* control) override;
    void updatemouseOverInfo(VSTGUI::CControl* control) override;

    void addGUIcontrol(long record);
    void addKnob(int x, int y, VSTGUI::CAnimKnob*& slot, int tag);
    void addOnOffButton(int x, int y, VSTGUI::COnOffButton*& slot, long tag);
    void addKickButton(int x, int y, VSTGUI::CKickButton*& slot, long tag);
    // Shows the window's top-left width x height layout units (the compact
    // or the full window) and asks the host for their pixels.
    void changeWindowSize(long width, long height);
    void updateWaveDisplayData();

    // Read-only views for tests and tools.
    EditorModel& getModel() const { return model_; }
    int64_t recordForTag(long tag) const { return tag >= 0 && tag < kTagMapSize ? tagToControl[tag] : -1; }
    bool isEditorReady() const { return editorReady; }
    float getEditorHidden() const { return editorHidden; }
    const char* getInfoText() const { return infoText; }
    int64_t getIdleCount() const { return idleCount; }
    // The wave display's samples and reverb: null while the window is closed.
    const float* getDisplayBufL() const;
    const float* getDisplayBufR() const;
    const Reverb* getDisplayReverb() const;
    // The lit LEDs each meter shows (-1 before the first idle after open).
    int64_t shownMeter(Meter which) const;

    // The path of the compact-mode marker file ("" when the folder cannot be made).
    static std::string markerFilePath();

private:
    // Loads record `record`'s control from the instance's current value.
    void loadControl(int64_t record);
    void fillProgramMenu();
    void showMeter(Meter which, int64_t& shown, VSTGUI::COnOffButton* const* leds);
    void addLedColumn(VSTGUI::CCoord x, VSTGUI::COnOffButton** leds, bool coloured);
    VSTGUI::CBitmap* ledBitmap(int i, bool coloured) const;
    void runMainMenu(MainMenuEntry entry, long program);

    EditorModel& model_;
    VSTGUI::CFrame* frame = nullptr;
    long knobMode = VSTGUI::kLinearModeValue;
    int64_t fullWidth = 0, fullHeight = 0;  // layout units
    double hostScale = 0.0;                  // 0 until the host gives a usable factor
    mutable double scale = 0.0;              // 0 until chosen
    int64_t outputMeterShown = -1, gateMeterShown = -1, duckMeterShown = -1;
    // What the wave display draws from: its own reverb (the audio path's
    // engines are never touched) and the samples it renders. Made when the
    // window opens and freed when it closes, so a closed editor holds none of it.
    struct DisplayRender;
    std::unique_ptr<DisplayRender> display_;
    int64_t tagToControl[kTagMapSize];
    char infoText[kInfoTextSize];
    char shownInfoText[kInfoTextSize];
    bool editorReady = false;
    float editorHidden = 0.0f;
    int64_t idleCount = 0;

    // Parameter changes waiting for the next idle. The instance may report a
    // change from the audio thread while the window is closing, so that path
    // only raises a flag and never touches a view.
    Relaxed<bool> pendingParameter[kNumParams];
};
