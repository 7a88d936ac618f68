// The plug-in library's one entry point: hosts ask for descriptor 0.
#include <lv2/core/lv2.h>

#include "lv2/lv2_plugin.h"

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? nimbrelLv2Descriptor() : nullptr;
}
