#pragma once
// The LV2 plug-in: one format-free OvCore behind the LV2 descriptor. Control
// ports reach the core as a host's parameter changes do, the atom input
// carries MIDI Program Change (queued at its frame), the host's tempo
// (time:Position) and the editor's messages, and the notify port tells the
// editor which program sounds. The state holds the current program's number
// and name; port values hold the rest.
#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/core/lv2.h>
#include <lv2/log/logger.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "host/core_links.h"
#include "host/ov_core.h"
#include "lv2/messages.h"
#include "lv2/ports.h"
#include "lv2/program_slot.h"

class NimbrelLv2Plugin : private HostClock, private InstanceObserver {
public:
    // Null, with a line to the host's log (or stderr), when the host gives no urid:map.
    static NimbrelLv2Plugin* create(double sampleRate, const LV2_Feature* const* features);
    ~NimbrelLv2Plugin() override;

    void connectPort(uint32_t port, void* data);
    // Engines back to a new instance's state, as a VST 2 host's suspend and resume do.
    void activate();
    void deactivate() {}
    void run(uint32_t sampleCount);

    // A new block length from the host (Ardour sets one before a bounce): the
    // engines go back to a new instance's state, as the suspend and resume a
    // VST 2 host makes around a block size change take them.
    uint32_t setOptions(const LV2_Options_Option* options);

    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t flags);
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, uint32_t flags);

    // For tests: the core and the tempo the core is told.
    const OvCore& core() const { return *core_; }
    double currentTempo() const { return tempo_; }

private:
    NimbrelLv2Plugin(LV2_URID_Map* map, const LV2_Log_Logger& logger);

    double tempo() override { return tempo_; }
    void parameterChanged(int, float) override {}
    // A MIDI Program Change loaded a program: the editor hears of it.
    void displayChanged() override { programChangedInside_ = true; }

    void applyControlPorts();
    // One input event at its frame; a tempo change renders the block up to it
    // and moves `start` there.
    void handleEvent(const LV2_Atom_Event* ev, uint32_t& start, uint32_t sampleCount);
    void handleObject(const LV2_Atom_Object* object);
    void takeRestoredProgram();
    // False, changing nothing, while the names are busy. An empty `name`
    // (kProgramNameSize characters) keeps the stored one and is filled with it.
    bool makeProgramCurrent(int index, char* name);
    void takeEditorProgram();
    void renderPiece(uint32_t start, uint32_t end);
    void publishProgram();
    void beginNotify();
    void notifyProgram();

    std::unique_ptr<OvCore> core_;
    lv2msg::Urids urids_;
    LV2_URID_Map* map_ = nullptr;
    LV2_Log_Logger logger_;

    // Ports (null until connected).
    const float* parameterPorts_[kNumParams] = {};
    const float* audioIn_[2] = {};
    float* audioOut_[2] = {};
    const LV2_Atom_Sequence* controlIn_ = nullptr;
    LV2_Atom_Sequence* notify_ = nullptr;
    const LV2_Atom_Sequence* timeIn_ = nullptr;
    float* meterPorts_[3] = {};

    // The last value each control port was applied with, bit for bit (a NaN
    // from the host is one value, not a change at every run).
    uint32_t appliedBits_[kNumParams] = {};
    // Every control port is applied at the next run: the first one, and after
    // a preset or a session's state or the editor made a program current.
    bool applyAllPorts_ = true;

    double tempo_ = 120.0;
    bool programChangedInside_ = false;
    bool programRequested_ = false;
    // A program the editor made current, until the names are free to take it.
    lv2msg::ProgramMessage editorProgram_;
    bool editorProgramPending_ = false;

    // The notify port's sequence as this run writes it.
    LV2_Atom_Forge forge_;
    LV2_Atom_Forge_Frame notifyFrame_;
    bool notifyOpen_ = false;

    // The current program's number and name: `published_` as run last saw it
    // (read by save, possibly while run goes on), `restored_` as restore left it
    // for the next run (taken when its version moves past `restoredTaken_`).
    lv2state::ProgramSlot published_;
    lv2state::ProgramSlot restored_;
    std::atomic<uint32_t> restoredTaken_{0};
};

// The descriptor hosts get from lv2_descriptor(0).
const LV2_Descriptor* nimbrelLv2Descriptor();
