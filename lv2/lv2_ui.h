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

    Lv2EditorModel& model() { return model_; }
    OvEditor& editor() { return *editor_; }
    // The host's ui:scaleFactor option, 0 when it gave none.
    double hostScaleFactor() const { return hostScaleFactor_; }

private:
    explicit NimbrelLv2Ui(const UiHost& host);

    lv2msg::Urids urids_;
    Lv2EditorModel model_;
    std::unique_ptr<OvEditor> editor_;
    double hostScaleFactor_ = 0.0;
    bool askedForProgram_ = false;
};

const LV2UI_Descriptor* nimbrelLv2UiDescriptor();
