// The entry points a Linux host looks for when it loads the plug-in. Here the
// editor is joined to the instance: the instance gets the editor's factory.
#include "vst2/aeffect.h"
#include "vst2/ov_vst_editor.h"
#include "vst2/ovaudio.h"

namespace {

AEffect* createEffectInstance(audioMasterCallback audioMaster) {
    OvAudio* effect = new OvAudio(audioMaster, createOvVstEditor);
    return effect->getAeffect();
}

AEffect* pluginMain(audioMasterCallback audioMaster) {
    // Hosts probe plug-ins with no callback at all; only a host that says it
    // is not a VST 2 host (version 0) is refused.
    if (audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    return createEffectInstance(audioMaster);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    return pluginMain(audioMaster);
}

// The older entry name that some Linux hosts still look for. A program that
// links the entry in (the binary-interface fuzzer) has a main of its own.
#ifndef NIMBREL_NO_LEGACY_ENTRY
__attribute__((visibility("default"))) AEffect* nimbrelLegacyMain(audioMasterCallback audioMaster)
    __asm__("main");
AEffect* nimbrelLegacyMain(audioMasterCallback audioMaster) { return pluginMain(audioMaster); }
#endif

}
