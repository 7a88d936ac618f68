#include "lv2/lv2_ui.h"

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>

#include "editor/ov_editor.h"
#include "host/trace_log.h"
#include "lv2/ports.h"

namespace {

const void* findFeature(const LV2_Feature* const* features, const char* uri) {
    for (int i = 0; features && features[i]; ++i)
        if (features[i]->URI && std::strcmp(features[i]->URI, uri) == 0) return features[i]->data;
    return nullptr;
}

std::once_flag seedOnce;

}  // namespace

NimbrelLv2Ui* NimbrelLv2Ui::create(LV2UI_Write_Function write, LV2UI_Controller controller, LV2UI_Widget* widget,
                                   const LV2_Feature* const* features) {
    void* parent = const_cast<void*>(findFeature(features, LV2_UI__parent));
    auto* map = static_cast<LV2_URID_Map*>(const_cast<void*>(findFeature(features, LV2_URID__map)));
    if (!parent || !map || !map->map || !write) {
        std::fprintf(stderr, "Nimbrel: the host gives no %s; the editor does not open\n",
                     !parent ? "parent window (ui:parent)" : !write ? "write_function" : "urid:map");
        return nullptr;
    }
    // The random programs' step picks come from rand(); in a process of its
    // own the editor has no plug-in instance that seeds it.
    std::call_once(seedOnce, [] { std::srand(static_cast<unsigned>(std::time(nullptr))); });

    UiHost host;
    host.write = write;
    host.controller = controller;
    host.map = map;
    host.resize = static_cast<const LV2UI_Resize*>(findFeature(features, LV2_UI__resize));
    host.touch = static_cast<const LV2UI_Touch*>(findFeature(features, LV2_UI__touch));

    std::unique_ptr<NimbrelLv2Ui> ui(new NimbrelLv2Ui(host));
    // The host's scale comes first; one it gives but no screen has leaves the
    // choice to NIMBREL_UI_SCALE and the desktop, as if it had given none.
    ui->setOptions(static_cast<const LV2_Options_Option*>(findFeature(features, LV2_OPTIONS__options)));
    if (!ui->editor_->open(parent) || !ui->editor_->getFrame() || !ui->editor_->getFrame()->getNativeWindow()) {
        std::fprintf(stderr, "Nimbrel: the editor window could not be opened\n");
        return nullptr;
    }
    if (widget)
        *widget = reinterpret_cast<LV2UI_Widget>(static_cast<uintptr_t>(ui->editor_->getFrame()->getNativeWindow()));
    ui->model_.resizeWindow(static_cast<int>(ui->editor_->getWidth()), static_cast<int>(ui->editor_->getHeight()));
    return ui.release();
}

NimbrelLv2Ui::NimbrelLv2Ui(const UiHost& host) : model_(host), editor_(std::make_unique<OvEditor>(model_)) {
    urids_.mapAll(host.map);
    model_.attach(editor_.get());
}

NimbrelLv2Ui::~NimbrelLv2Ui() {
    model_.attach(nullptr);
    editor_->close();
}

void NimbrelLv2Ui::portEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    if (!buffer) return;
    if (format == 0) {
        if (size == sizeof(float)) model_.portValue(port, *static_cast<const float*>(buffer));
        return;
    }
    if (format == urids_.atomEventTransfer && port == lv2ports::kNotify && size >= sizeof(LV2_Atom)) {
        const auto* atom = static_cast<const LV2_Atom*>(buffer);
        if (sizeof(LV2_Atom) + atom->size <= size) model_.pluginMessage(atom);
    }
}

uint32_t NimbrelLv2Ui::setOptions(const LV2_Options_Option* options) {
    uint32_t status = LV2_OPTIONS_SUCCESS;
    for (const LV2_Options_Option* o = options; o && o->key != 0; ++o) {
        double factor = 0.0;
        if (o->key != urids_.uiScaleFactor)
            status |= LV2_OPTIONS_ERR_BAD_KEY;
        else if (!lv2msg::atomNumber(urids_, o->type, o->value, o->size, factor) ||
                 !editor_->setHostScaleFactor(factor))
            status |= LV2_OPTIONS_ERR_BAD_VALUE;
        else
            hostScaleFactor_ = factor;
    }
    return status;
}

uint32_t NimbrelLv2Ui::getOptions(LV2_Options_Option* options) {
    uint32_t status = LV2_OPTIONS_SUCCESS;
    for (LV2_Options_Option* o = options; o && o->key != 0; ++o) {
        if (o->key != urids_.uiScaleFactor) {
            status |= LV2_OPTIONS_ERR_BAD_KEY;
            continue;
        }
        shownScaleFactor_ = static_cast<float>(editor_->getScaleFactor());
        o->size = sizeof shownScaleFactor_;
        o->type = urids_.atomFloat;
        o->value = &shownScaleFactor_;
    }
    return status;
}

int NimbrelLv2Ui::idle() {
    // The first idle, not instantiate: hosts are ready for messages by then.
    if (!askedForProgram_) {
        askedForProgram_ = true;
        model_.requestProgram();
    }
    editor_->idle();
    return 0;
}

// ---- the descriptor ---------------------------------------------------------

namespace {

NimbrelLv2Ui* self(LV2UI_Handle h) { return static_cast<NimbrelLv2Ui*>(h); }

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (!pluginUri || std::strcmp(pluginUri, lv2ports::kPluginUri) != 0) return nullptr;
    return NimbrelLv2Ui::create(write, controller, widget, features);
}

void cleanup(LV2UI_Handle h) { delete self(h); }

void portEvent(LV2UI_Handle h, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
    self(h)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle h) { return self(h)->idle(); }

const LV2UI_Idle_Interface kIdleInterface = {idle};

uint32_t getOptions(LV2_Handle h, LV2_Options_Option* options) { return self(h)->getOptions(options); }

uint32_t setOptions(LV2_Handle h, const LV2_Options_Option* options) { return self(h)->setOptions(options); }

const LV2_Options_Interface kOptionsInterface = {getOptions, setOptions};

const void* extensionData(const char* uri) {
    if (uri && std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
    if (uri && std::strcmp(uri, LV2_OPTIONS__interface) == 0) return &kOptionsInterface;
    return nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2ports::kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace

const LV2UI_Descriptor* nimbrelLv2UiDescriptor() { return &kDescriptor; }
