#pragma once
// The plug-in's window: the table-driven parameter controls, the program and
// main menus, the LED meters, the info line, the splash screen and the wave
// display, kept in step with the instance from the host's idle calls.
#include <cstdint>
#include <memory>
#include <string>

#include "editor/control_table.h"
#include "editor/wavedisplay.h"
#include "gui/aeffguieditor.h"
#include "gui/vstgui.h"
#include "host/parameters.h"
#include "host/relaxed.h"

class AudioEffect;
class OvAudio;

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

class OvEditor : public AEffGUIEditor, public VSTGUI::CControlListener, public DATA {
public:
    static constexpr int kDisplayBufferSize = 262144;
    static constexpr int kDisplaySamples = 14000;  // two seconds at the display's 7000 Hz
    static constexpr float kDisplaySampleRate = 7000.0f;
    static constexpr int kInfoTextSize = 200;

    explicit OvEditor(AudioEffect* effect);
    ~OvEditor() override;

    bool open(void* systemWindow) override;
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    // From any thread: remembers that the control must follow the instance.
    void setParameter(int32_t index, float value) override;

    void valueChanged(VSTGUI::CControl* control) override;
    void updatemouseOverInfo(VSTGUI::CControl* control) override;

    void addGUIcontrol(long record);
    void addKnob(int x, int y, VSTGUI::CAnimKnob*& slot, int tag);
    void addOnOffButton(int x, int y, VSTGUI::COnOffButton*& slot, long tag);
    void addKickButton(int x, int y, VSTGUI::CKickButton*& slot, long tag);
    void changeWindowSize(long width, long height);
    void updateWaveDisplayData();

    // Read-only views for tests and tools.
    OvAudio* getOvAudio() const { return ovAudio; }
    int64_t recordForTag(long tag) const { return tag >= 0 && tag < kTagMapSize ? tagToControl[tag] : -1; }
    bool isEditorReady() const { return editorReady; }
    float getEditorHidden() const { return editorHidden; }
    const char* getInfoText() const { return infoText; }
    int64_t getIdleCount() const { return idleCount; }
    const float* getDisplayBufL() const { return displayBufL.get(); }
    const float* getDisplayBufR() const { return displayBufR.get(); }

    // The path of the compact-mode marker file ("" when the folder cannot be made).
    static std::string markerFilePath();

private:
    // Loads record `record`'s control from the instance's current value.
    void loadControl(int64_t record);
    void fillProgramMenu();
    void showMeter(Relaxed<int64_t>& meter, Relaxed<int64_t>& shown, VSTGUI::COnOffButton* const* leds);
    void addLedColumn(VSTGUI::CCoord x, VSTGUI::COnOffButton** leds, bool coloured);
    VSTGUI::CBitmap* ledBitmap(int i, bool coloured) const;

    OvAudio* ovAudio;
    int64_t tagToControl[kTagMapSize];
    char infoText[kInfoTextSize];
    char shownInfoText[kInfoTextSize];
    bool editorReady = false;
    float editorHidden = 0.0f;
    int64_t idleCount = 0;
    std::unique_ptr<float[]> displayBufL, displayBufR;

    // Parameter changes waiting for the next idle. The instance may report a
    // change from the audio thread while the window is closing, so that path
    // only raises a flag and never touches a view.
    Relaxed<bool> pendingParameter[kNumParams];
};
