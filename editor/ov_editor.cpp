#include "editor/ov_editor.h"

#include <dlfcn.h>
#include <limits.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dsp/reverb.h"
#include "gui/scale_factor.h"
#include "editor/layout.h"
#include "host/programs.h"
#include "host/trace_log.h"
#include "platform/data_folder.h"
#include "platform/dialogs.h"
#include "presets/preset_dialogs.h"
#include "presets/toolkit_dialogs.h"
#include "resources/resource_ids.h"

using namespace VSTGUI;

namespace {

constexpr const char* kMarkerFileName = "NimbrelHideEditor.cfg";
constexpr const char* kHandbookFileName = "Nimbrel.pdf";

// The main menu's texts in the order of MainMenuEntry; "_" is a separator,
// and the last entry names the web site.
constexpr const char* kMainMenuTexts[] = {"Load preset", "Load bank", "_",
                                          "Save preset", "Save bank", "_",
                                          "Init reverb", "Init delay", "_",
                                          "Random reverb", "Random delay", "_",
                                          nullptr};
static_assert(sizeof kMainMenuTexts / sizeof kMainMenuTexts[0] == static_cast<size_t>(MainMenuEntry::Count),
              "one text per main menu entry");

CRect toRect(const LayoutRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

int64_t clampMeter(int64_t v) { return std::max<int64_t>(0, std::min<int64_t>(layout::kNumLeds, v)); }

long clampProgram(long p) { return std::max(0L, std::min(static_cast<long>(kNumPrograms - 1), p)); }

// The handbook lies beside the plug-in library, the one the editor's code is in.
std::string handbookPath() {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&handbookPath), &info) == 0 || !info.dli_fname) return kHandbookFileName;
    // The host may have loaded us by a relative path; the viewer runs elsewhere.
    char* absolute = realpath(info.dli_fname, nullptr);
    std::string library = absolute ? absolute : info.dli_fname;
    std::free(absolute);
    size_t slash = library.rfind('/');
    if (slash == std::string::npos) return kHandbookFileName;
    return library.substr(0, slash + 1) + kHandbookFileName;
}

void askToVisit(const char* question) {
    if (MessBoxYesNo("Visit " "orvane.example", "%s", question)) showURL(kWebSiteUrl);
}

}  // namespace

std::string OvEditor::markerFilePath() { return platform::dataFilePath(kMarkerFileName); }

struct OvEditor::DisplayRender {
    Reverb reverb;
    float left[kDisplaySamples];
    float right[kDisplaySamples];
    DisplayRender() { reverb.prepare(kDisplaySampleRate); }
};

const float* OvEditor::getDisplayBufL() const { return display_ ? display_->left : nullptr; }
const float* OvEditor::getDisplayBufR() const { return display_ ? display_->right : nullptr; }
const Reverb* OvEditor::getDisplayReverb() const { return display_ ? &display_->reverb : nullptr; }

OvEditor::OvEditor(EditorModel& model)
    : model_(model) {
    printLog("OvEditor::OvEditor start");
    // The skin's pictures at every scale it was drawn at.
    setScaledResourceProvider(findNimbrelPicture, kSkinScales, kNumSkinScales);

    backgroundBitmap = new CBitmap(CResourceDescription(kBitmapBackground));
    wetOnlyBitmap = new CBitmap(CResourceDescription(kBitmapWetOnly));
    knobBitmap = new CBitmap(CResourceDescription(kBitmapKnob));
    splashBitmap = new CBitmap(CResourceDescription(kBitmapSplash));
    sliderHandleBitmap = new CBitmap(CResourceDescription(kBitmapSliderHandle));
    ledGreenBitmap = new CBitmap(CResourceDescription(kBitmapLedGreen));
    ledRedBitmap = new CBitmap(CResourceDescription(kBitmapLedRed));
    ledAmberBitmap = new CBitmap(CResourceDescription(kBitmapLedAmber));
    sliderAccentBitmap = new CBitmap(CResourceDescription(kBitmapSliderAccent));
    sliderBitmap = new CBitmap(CResourceDescription(kBitmapSlider));
    buttonBitmap = new CBitmap(CResourceDescription(kBitmapButton));

    // The marker file's presence alone means the compact window.
    std::string marker = markerFilePath();
    editorHidden = 0.0f;
    if (!marker.empty()) {
        if (FILE* f = std::fopen(marker.c_str(), "r")) {
            std::fclose(f);
            editorHidden = 1.0f;
        }
    }

    for (int t = 0; t < kTagMapSize; ++t) tagToControl[t] = -1;
    for (int t = 0; t < kTagMapSize; ++t) {
        for (int i = 0; i < kNumControlRecords; ++i) {
            if (controlTabs[i].tag == t) {
                tagToControl[t] = i;
                break;
            }
        }
    }

    infoText[0] = 0;
    shownInfoText[0] = 0;
    idleCount = 0;

    fullWidth = backgroundBitmap->getWidth();
    fullHeight = backgroundBitmap->getHeight();
    printLog("OvEditor::OvEditor end");
}

OvEditor::~OvEditor() {
    printLog("OvEditor::~OvEditor start");
    printLog("OvEditor::~OvEditor mark1");
    if (frame) close();
    printLog("OvEditor::~OvEditor mark2");
    CBitmap** bitmaps[] = {&backgroundBitmap, &wetOnlyBitmap,  &knobBitmap,         &splashBitmap,
                           &sliderHandleBitmap, &ledGreenBitmap, &ledRedBitmap,      &ledAmberBitmap,
                           &sliderAccentBitmap, &sliderBitmap,   &buttonBitmap};
    for (CBitmap** b : bitmaps) {
        if (*b) (*b)->forget();
        *b = nullptr;
    }
    printLog("OvEditor::~OvEditor end");
}

bool OvEditor::open(void* parentWindow) {
    printLog("OvEditor::open start");
    // A second open without a close would orphan the first window and its views.
    if (frame) close();
    const CCoord width = backgroundBitmap->getWidth(), height = backgroundBitmap->getHeight();
    CRect size(0, 0, width, height);
    frame = new CFrame(size, parentWindow, this, getScaleFactor());
    frame->setMouseEnabled(true);
    frame->setMouseableArea(size);
    frame->setBackground(backgroundBitmap);

    display_ = std::make_unique<DisplayRender>();
    CRect waveRect = toRect(layout::kWaveDisplay);
    waveDisplay = new Wavedisplay(waveRect, backgroundBitmap);
    waveDisplay->setMouseEnabled(false);
    frame->addView(waveDisplay);
    model_.requestWaveDisplay();

    long records = 0;
    while (controlTabs[records].kind != kKindEnd) ++records;
    for (long i = 0; i < records; ++i)
        if ((controlTabs[i].group & 0xff) == 0) addGUIcontrol(i);
    frame->invalid();

    wetOnlyButton = new CKickButton(toRect(layout::wetOnlyRect(wetOnlyBitmap->getWidth(), wetOnlyBitmap->getHeight())),
                                    this, ctag::WetOnly, wetOnlyBitmap, CPoint(0, 0));
    wetOnlyButton->setTransparency(false);
    wetOnlyButton->setPressSends(true);
    frame->addView(wetOnlyButton);

    programMenu = new COptionMenu(toRect(layout::kProgramMenu), this, ctag::ProgramMenu, nullptr, nullptr, 1024);
    programMenu->setTransparency(true);
    programMenu->setTextTransparency(true);
    programMenu->setFont(kNormalFontVeryBig);
    programMenu->setFontColor(MakeCColor(0, 0, 0, 180));
    programMenu->setNbItemsPerColumn(30);
    programMenu->setHoriAlign(kCenterText);
    fillProgramMenu();
    frame->addView(programMenu);

    mainMenu = new COptionMenu(toRect(layout::kMainMenu), this, ctag::MainMenu, nullptr, nullptr, 6144);
    mainMenu->setTransparency(true);
    mainMenu->setTextTransparency(true);
    const std::string visit = std::string("Visit ") + kWebSiteHost;
    for (const char* e : kMainMenuTexts) mainMenu->addEntry(e ? e : visit.c_str());
    frame->addView(mainMenu);

    addLedColumn(layout::kOutputMeterX, outputLeds, true);
    addLedColumn(layout::kGateMeterX, gateLeds, false);
    addLedColumn(layout::kDuckMeterX, duckLeds, true);
    // The meters start dark; have the next idle draw the instance's steps.
    outputMeterShown = gateMeterShown = duckMeterShown = -1;

    infoLabel = new CTextLabel(toRect(layout::kInfoLabel), "Welcome!");
    infoLabel->setTransparency(true);
    infoLabel->setTextTransparency(true);
    infoLabel->setHoriAlign(kCenterText);
    infoLabel->setFont(kNormalFontSmall);
    infoLabel->setFontColor(MakeCColor(0, 0, 0, 180));
    infoLabel->setBackColor(MakeCColor(0, 0, 0, 180));
    infoLabel->setFrameColor(MakeCColor(0, 0, 0, 180));
    infoLabel->setMouseEnabled(false);
    frame->addView(infoLabel);
    std::snprintf(infoText, sizeof infoText, "%s", "Welcome!");
    std::snprintf(shownInfoText, sizeof shownInfoText, "%s", "Welcome!");

    splashScreen = new CSplashScreen(toRect(layout::kSplash), this, ctag::Splash, splashBitmap,
                                     CRect(0, 0, splashBitmap->getWidth(), splashBitmap->getHeight()), CPoint(0, 0));
    frame->addView(splashScreen);

    editorReady = true;
    for (int i = 0; i < kNumParams; ++i) pendingParameter[i] = false;
    for (int i = 0; i < kNumParams; ++i) loadControl(recordForTag(i));
    setKnobMode(kLinearMode);
    if (editorHidden != 0.0f) changeWindowSize(layout::kCompactWidth, layout::kCompactHeight);
    printLog("OvEditor::open end");
    return true;
}

void OvEditor::addLedColumn(CCoord x, COnOffButton** leds, bool coloured) {
    for (int i = 0; i < layout::kNumLeds; ++i) {
        CBitmap* bitmap = ledBitmap(i, coloured);
        leds[i] = new COnOffButton(toRect(layout::ledRect(x, i, bitmap->getWidth(), bitmap->getHeight())), this,
                                   ctag::Led, bitmap);
        leds[i]->setTransparency(true);
        leds[i]->setMouseEnabled(false);
        leds[i]->setValue(1.0f);
        frame->addView(leds[i]);
    }
}

// Green below, amber from LED 5, red at the top; the gate meter is all green.
CBitmap* OvEditor::ledBitmap(int i, bool coloured) const {
    if (!coloured || i < 5) return ledGreenBitmap;
    return i < 9 ? ledAmberBitmap : ledRedBitmap;
}

void OvEditor::fillProgramMenu() {
    char name[kProgramNameSize];
    for (int i = 0; i < kNumPrograms; ++i) {
        name[0] = 0;
        model_.programName(i, name);
        programMenu->addEntry(name);
    }
    const long current = model_.currentProgram();
    programMenu->setCurrent(current);
    programMenu->setValue(static_cast<float>(current));
    programMenu->checkEntryAlone(current);
    programMenu->setDirty(true);
}

void OvEditor::addGUIcontrol(long record) {
    const ControlRecord& r = controlTabs[record];
    switch (r.kind) {
    case kKindKnob:
        addKnob(static_cast<int>(r.x), static_cast<int>(r.y), knobs[record], static_cast<int>(r.tag));
        break;
    case kKindOnOffButton:
        addOnOffButton(static_cast<int>(r.x), static_cast<int>(r.y), onOffButtons[record], r.tag);
        break;
    case kKindKickButton:
        addKickButton(static_cast<int>(r.x), static_cast<int>(r.y), kickButtons[record], r.tag);
        break;
    case kKindStepSlider: {
        CBitmap* back = layout::isAccentedStep(r.tag) ? sliderAccentBitmap : sliderBitmap;
        CRect size = toRect(layout::sliderRect(r, sliderBitmap->getWidth(), sliderBitmap->getHeight()));
        auto* slider = new CVerticalSlider(size, this, r.tag, size.top, size.bottom, sliderHandleBitmap, back,
                                           CPoint(0, 0), 64);
        slider->setTransparency(true);
        slider->setOffsetHandle(CPoint(0, -sliderBitmap->getHeight()));
        frame->addView(slider);
        sliders[record] = slider;
        break;
    }
    default:
        break;
    }
    loadControl(record);
}

void OvEditor::addKnob(int x, int y, CAnimKnob*& slot, int tag) {
    ControlRecord at{0, kKindKnob, tag, "", x, y, 0.5f};
    CRect size = toRect(layout::knobRect(at, knobBitmap->getWidth(), knobBitmap->getHeight()));
    slot = new CAnimKnob(size, this, tag, 256, knobBitmap->getWidth(), knobBitmap, CPoint(0, 0));
    slot->setTransparency(true);
    slot->setValue(model_.parameter(tag));
    slot->setZoomFactor(20.0f);
    frame->addView(slot);
}

void OvEditor::addOnOffButton(int x, int y, COnOffButton*& slot, long tag) {
    ControlRecord at{0, kKindOnOffButton, tag, "", x, y, 0.0f};
    slot = new COnOffButton(toRect(layout::buttonRect(at, buttonBitmap->getWidth(), buttonBitmap->getHeight())), this,
                            tag, buttonBitmap);
    slot->setTransparency(true);
    frame->addView(slot);
}

void OvEditor::addKickButton(int x, int y, CKickButton*& slot, long tag) {
    ControlRecord at{0, kKindKickButton, tag, "", x, y, 0.0f};
    slot = new CKickButton(toRect(layout::buttonRect(at, buttonBitmap->getWidth(), buttonBitmap->getHeight())), this,
                           tag, buttonBitmap, CPoint(0, 0));
    slot->setTransparency(true);
    frame->addView(slot);
}

void OvEditor::loadControl(int64_t record) {
    if (!frame || !editorReady || record < 0 || record >= kNumControlRecords) return;
    const int64_t tag = controlTabs[record].tag;
    if (tag < 0 || tag >= kNumParams) return;
    const float value = model_.parameter(static_cast<int>(tag));
    if (knobs[record]) knobs[record]->setValue(value);
    if (onOffButtons[record]) onOffButtons[record]->setValue(value);
    if (sliders[record]) sliders[record]->setValue(value);
}

void OvEditor::close() {
    printLog("OvEditor::close start");
    if (!frame) {
        printLog("OvEditor::close end");
        return;
    }
    for (int i = 0; i < kNumControlRecords; ++i) {
        if ((controlTabs[i].group & 0xff) != 0) continue;
        if (knobs[i]) frame->removeView(knobs[i], true);
        if (onOffButtons[i]) frame->removeView(onOffButtons[i], true);
        if (sliders[i]) frame->removeView(sliders[i], true);
        knobs[i] = nullptr;
        onOffButtons[i] = nullptr;
        sliders[i] = nullptr;
    }
    editorReady = false;
    // Releasing the frame releases every view still on it.
    CFrame* old = frame;
    frame = nullptr;
    old->forget();
    // Nothing may point at the views the frame took with it.
    for (int i = 0; i < kNumControlRecords; ++i) kickButtons[i] = nullptr;
    for (int i = 0; i < layout::kNumLeds; ++i) outputLeds[i] = gateLeds[i] = duckLeds[i] = nullptr;
    programMenu = mainMenu = nullptr;
    wetOnlyButton = nullptr;
    splashScreen = nullptr;
    infoLabel = nullptr;
    waveDisplay = nullptr;
    display_.reset();
    printLog("OvEditor::close end");
}

void OvEditor::changeWindowSize(long width, long height) {
    if (!editorReady || !frame) return;
    frame->setSize(width, height);
    CRect full(0, 0, fullWidth, fullHeight);
    frame->setMouseableArea(full);
    frame->setMouseEnabled(true);
    frame->setDirty(true);
    frame->invalidate(full);
    // A host that cannot resize keeps its window; the frame has the size asked for.
    const CRect pixels = frame->getPixelSize();
    if (model_.resizeWindow(static_cast<int>(pixels.width()), static_cast<int>(pixels.height())))
        frame->setViewSize(CRect(0, 0, width, height), true);
}

double OvEditor::getScaleFactor() const {
    if (scale == 0.0) scale = currentScaleFactor(hostScale);
    return scale;
}

int64_t OvEditor::getWidth() const { return toPixels(fullWidth, getScaleFactor()); }

int64_t OvEditor::getHeight() const { return toPixels(fullHeight, getScaleFactor()); }

bool OvEditor::setHostScaleFactor(double factor) {
    const double checked = checkScaleFactor(factor);
    if (checked == 0.0) return false;
    hostScale = checked;
    scale = checked;
    if (!frame || !editorReady || frame->getScaleFactor() == checked) return true;
    frame->setScaleFactor(checked);
    // The window keeps showing the same units (full or compact), in more or fewer pixels.
    const CRect pixels = frame->getPixelSize();
    model_.resizeWindow(static_cast<int>(pixels.width()), static_cast<int>(pixels.height()));
    return true;
}

bool OvEditor::onKeyDown(CKeyCode& key) { return frame && frame->onKeyDown(key) == 1; }

bool OvEditor::onKeyUp(CKeyCode& key) { return frame && frame->onKeyUp(key) == 1; }

// Controls carry command tags beside parameter indices; only a parameter's
// grab and release mean something to the host.
void OvEditor::beginEdit(long index) {
    if (index >= 0 && index < kNumParams) model_.beginEdit(static_cast<int>(index));
}

void OvEditor::endEdit(long index) {
    if (index >= 0 && index < kNumParams) model_.endEdit(static_cast<int>(index));
}

void OvEditor::parameterChanged(int index) {
    // The control reads the value back when it is served.
    if (index >= 0 && index < kNumParams) pendingParameter[index] = true;
}

int64_t OvEditor::shownMeter(Meter which) const {
    switch (which) {
    case Meter::Output: return outputMeterShown;
    case Meter::Gate: return gateMeterShown;
    case Meter::Duck: return duckMeterShown;
    }
    return -1;
}

// The LEDs show the meter's step within 0..10; the value the render path
// published stays as it is.
void OvEditor::showMeter(Meter which, int64_t& shown, COnOffButton* const* leds) {
    const int64_t step = clampMeter(model_.meter(which));
    if (step == shown) return;
    for (int i = 0; i < layout::kNumLeds; ++i) {
        const float want = i < step ? 0.0f : 1.0f;
        if (leds[i] && leds[i]->getValue() != want) {
            leds[i]->setValue(want);
            leds[i]->setDirty(true);
        }
    }
    shown = step;
}

void OvEditor::idle() {
    if (!frame || !editorReady) return;

    // Controls follow the instance's changes since the last call.
    for (int i = 0; i < kNumParams; ++i) {
        if (pendingParameter[i]) {
            pendingParameter[i] = false;
            loadControl(recordForTag(i));
        }
    }

    showMeter(Meter::Output, outputMeterShown, outputLeds);
    if (idleCount % 2 == 0)
        showMeter(Meter::Gate, gateMeterShown, gateLeds);
    else
        showMeter(Meter::Duck, duckMeterShown, duckLeds);

    if (std::strcmp(infoText, shownInfoText) != 0) {
        infoLabel->setText(infoText);
        infoLabel->setDirty(true);
        std::memcpy(shownInfoText, infoText, sizeof shownInfoText);
    }
    ++idleCount;

    if (programMenu && model_.takeProgramListRequest()) {
        programMenu->removeAllEntry();
        fillProgramMenu();
        model_.updateDisplay();
    }
    if (model_.takeWaveDisplayRequest()) updateWaveDisplayData();
    frame->idle();
}

void OvEditor::updateWaveDisplayData() {
    if (!display_) return;  // closed: nothing to draw
    float* left = display_->left;
    float* right = display_->right;
    std::fill(left, left + kDisplaySamples, 0.0f);
    std::fill(right, right + kDisplaySamples, 0.0f);
    for (int j = 0; j < 32; ++j) {
        const float burst = static_cast<float>((32 - j) * (32 - j));
        left[j] = burst;
        right[j] = burst;
    }

    auto p = [this](int index) { return model_.parameter(index); };
    Reverb& reverb = display_->reverb;
    reverb.samplerate = kDisplaySampleRate;
    reverb.reset();
    reverb.universalReverbCalcEnhanced(
        left, right, kDisplaySamples, 1.0f, p(param::RDecay), p(param::RSize), p(param::RPredel), p(param::RSwirl),
        p(param::RHiDamp), static_cast<float>(static_cast<double>(p(param::RLowDamp)) * 0.1), 1.0f - 0.5f * p(param::RHiCut),
        static_cast<float>(static_cast<double>(p(param::RLowCut)) * 0.1), 0.95f * p(param::RDiffuse) + 0.05f, 1.0f, 0.5f);

    if (!waveDisplay) return;
    const CCoord width = std::min<CCoord>(waveDisplay->getWidth(), Wavedisplay::kMaxColumns);
    if (width >= 1) {
        const CCoord perColumn = kDisplaySamples / width;
        for (CCoord x = 0; x < width; ++x) {
            float top = 0.0f, bottom = 0.0f;
            for (CCoord n = x * perColumn; n < x * perColumn + perColumn; ++n) {
                top = std::max(top, std::min(std::fabs(left[n]) / 3.0f, Wavedisplay::kMaxTrace));
                bottom = std::max(bottom, std::min(std::fabs(right[n]) / 3.0f, Wavedisplay::kMaxTrace));
            }
            waveDisplay->topTrace[x] = top;
            waveDisplay->bottomTrace[x] = -bottom;
        }
    }
    waveDisplay->setDirty(true);
}

void OvEditor::updatemouseOverInfo(CControl* control) {
    if (!control) return;
    const long tag = control->getTag();
    if (tag == ctag::WetOnly) {
        std::snprintf(infoText, sizeof infoText, "%s", "Listen to wet signal only");
        return;
    }
    if (tag >= ctag::EndOfCommands) return;
    infoText[0] = 0;
    const int64_t record = recordForTag(tag);
    if (record < 0) return;
    const ControlRecord& r = controlTabs[record];
    char display[kInfoTextSize] = {0};
    const char* label = "";
    if (r.tag >= 0 && r.tag < kNumParams) {
        const int index = static_cast<int>(r.tag);
        parameterDisplayText(index, model_.parameter(index), display, sizeof display);
        label = ParameterNameTab[index].label;
    }
    if (r.name[0] && display[0])
        std::snprintf(infoText, sizeof infoText, "%s = %s %s", r.name, display, label);
    else
        std::snprintf(infoText, sizeof infoText, "%s", r.name);
}

void OvEditor::valueChanged(CControl* control) {
    if (!control || !frame || !editorReady) return;
    const long tag = control->getTag();
    if (tag < 0 || tag >= ctag::EndOfCommands) return;
    const int64_t record = recordForTag(tag);

    if (tag < kNumParams) {
        float value = control->getValue();
        if (record >= 0 && controlTabs[record].kind == kKindStepSlider)
            value = std::trunc(value * 8.0f + 0.5f) * 0.125f;
        model_.editParameter(static_cast<int>(tag), value);
        // The control shows what the instance stored (a step slider its eighth).
        loadControl(record);
    }

    const long p = programMenu ? static_cast<long>(programMenu->getValue()) : model_.currentProgram();
    switch (tag) {
    case param::RMix: case param::RSize: case param::RDecay: case param::RDiffuse: case param::RPredel:
    case param::RHiDamp: case param::RLowDamp: case param::RHiCut: case param::RLowCut: case param::RSwirl:
        model_.requestWaveDisplay();
        break;
    case ctag::ProgramMenu: {
        const long chosen = clampProgram(static_cast<long>(control->getValue()));
        model_.selectProgram(static_cast<int>(chosen));
        programMenu->setDirty(true);
        model_.updateDisplay();
        programMenu->checkEntryAlone(chosen);
        frame->setDirty(true);
        break;
    }
    case ctag::WetOnly:
        model_.setDryFactor(1.0f - control->getValue());
        break;
    case ctag::MainMenu:
        runMainMenu(static_cast<MainMenuEntry>(static_cast<long>(control->getValue())), p);
        if (mainMenu) mainMenu->setDirty(true);
        break;
    case ctag::Splash:
        if (control->getValue() == 0.0f)
            askToVisit("Do you want to visit www.orvane.example for more information, sounds, news, support or updates?");
        break;
    case ctag::HideEditor:
        if (control->getValue() > 0.5f) {
            const std::string marker = markerFilePath();
            if (editorHidden == 0.0f) {
                editorHidden = 1.0f;
                changeWindowSize(layout::kCompactWidth, layout::kCompactHeight);
                FILE* f = marker.empty() ? nullptr : std::fopen(marker.c_str(), "w");
                if (f)
                    std::fclose(f);
                else
                    MessBox("Error", "File write error. The configuration could not be stored because the plugin "
                                     "directory is write protected!");
            } else {
                editorHidden = 0.0f;
                changeWindowSize(backgroundBitmap->getWidth(), backgroundBitmap->getHeight());
                if (!marker.empty()) std::remove(marker.c_str());
            }
        }
        break;
    case ctag::Handbook:
        if (control->getValue() > 0.5f) showDocument(handbookPath().c_str());
        break;
    case ctag::WebSite:
        if (control->getValue() < 0.5f)
            askToVisit("Do you want to visit www.orvane.example to download new sounds, products or updates?");
        break;
    case ctag::PreviousProgram:
    case ctag::NextProgram:
        if (control->getValue() < 0.5f && programMenu) {
            const float shown = programMenu->getValue();
            const long next = clampProgram(static_cast<long>(tag == ctag::PreviousProgram ? shown - 1.0f : shown + 1.0f));
            programMenu->setValue(static_cast<float>(next));
            programMenu->setCurrent(next);
            model_.selectProgram(static_cast<int>(next));
            programMenu->checkEntryAlone(next);
            control->setDirty(true);
            model_.updateDisplay();
        }
        break;
    default:
        break;
    }
    updatemouseOverInfo(control);
}

// `program` is the program the menu shows.
void OvEditor::runMainMenu(MainMenuEntry entry, long program) {
    ProgramAccess& files = model_.programFiles();
    DialogServices services = toolkitDialogServices(frame);
    const int shown = static_cast<int>(clampProgram(program));
    auto command = [&](ProgramCommand c) {
        model_.runProgramCommand(c, shown);
        model_.updateDisplay();
    };
    switch (entry) {
    case MainMenuEntry::LoadPreset: {
        fxpLoadDialog(files, services);
        char name[kProgramNameSize] = {0};
        model_.programName(model_.currentProgram(), name);
        programMenu->removeEntry(shown);
        programMenu->addEntry(name, shown);
        programMenu->setDirty(true);
        model_.updateDisplay();
        model_.requestWaveDisplay();
        break;
    }
    case MainMenuEntry::LoadBank:
        fxbLoadDialog(files, services);
        model_.updateDisplay();
        model_.requestWaveDisplay();
        break;
    case MainMenuEntry::SavePreset: fxpSaveDialog(files, services); break;
    case MainMenuEntry::SaveBank: fxbSaveDialog(files, services); break;
    case MainMenuEntry::InitReverb: command(ProgramCommand::InitReverb); break;
    case MainMenuEntry::InitDelay: command(ProgramCommand::InitDelay); break;
    case MainMenuEntry::RandomReverb: command(ProgramCommand::RandomReverb); break;
    case MainMenuEntry::RandomDelay: command(ProgramCommand::RandomDelay); break;
    case MainMenuEntry::VisitWebSite: showURL(kWebSiteUrl); break;
    default: break;  // separators, and values past the end
    }
}
