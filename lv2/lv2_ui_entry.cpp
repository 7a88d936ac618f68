// The editor library's one entry point: hosts ask for UI descriptor 0.
#include <lv2/ui/ui.h>

#include "lv2/lv2_ui.h"

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? nimbrelLv2UiDescriptor() : nullptr;
}
