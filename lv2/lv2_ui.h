#pragma once
// The editor as an LV2 X11 UI: the same OvEditor as in the VST 2 build,
// opened as a child of the host's window (ui:parent), served from the host's
// idle calls (ui:idleInterface), asking for its size through ui:resize, and
// reaching the plug-in only through the UI protocol (Lv2EditorModel).
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>

#include <memory>

#include "lv2/ui_model.h"

class OvEditor;

class NimbrelLv2Ui {
public:
    // Null, with a line on stderr, when the host lacks ui:parent or urid:map
    // or gives no write_function, or the window cannot be opened.
    static NimbrelLv2Ui* create(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                                const LV2_Feature* const* features);
    ~NimbrelLv2Ui();

    void portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
    // 0 while the window lives.
    int idle();
    // The options interface: ui:scaleFactor (a number of any atom kind) is
    // the host's scale, at instantiation or later (the window then asks the
    // host for its new size); a factor no screen has is refused with
    // ERR_BAD_VALUE and changes nothing, any other key is ERR_BAD_KEY.
    // getOptions answers the scale in use.
    uint32_t setOptions(const LV2_Options_Option* options);
    uint32_t getOptions(LV2_Options_Option* options);

    Lv2EditorModel& model() { return model_; }
    OvEditor& editor() { return *editor_; }
    // The host's last usable ui:scaleFactor, 0 when it gave none.
    double hostScaleFactor() const { return hostScaleFactor_; }

private:
    explicit NimbrelLv2Ui(const UiHost& host);

    lv2msg::Urids urids_;
    Lv2EditorModel model_;
    std::unique_ptr<OvEditor> editor_;
    double hostScaleFactor_ = 0.0;
    float shownScaleFactor_ = 0.0f;  // what getOptions points the host to
    bool askedForProgram_ = false;
};

const LV2UI_Descriptor* nimbrelLv2UiDescriptor();
