#pragma once
// What the format-free instance asks of the plug-in format around it. The
// VST 2 layer answers through the host callback; another format answers from
// what its host sent with the audio.

// The host's tempo at the moments the render path reads it: at every control
// tick and at the start of every piece that is not bypassed. A VST 2 host may
// change its tempo between any two of these calls, so the instance asks anew
// each time and never keeps a tempo of its own between them.
class HostClock {
public:
    virtual ~HostClock() = default;
    // Beats per minute; 120 when the host gives none.
    virtual double tempo() = 0;
};

// Changes the format passes on: to an editor in the same process, or to the host.
class InstanceObserver {
public:
    virtual ~InstanceObserver() = default;
    // A parameter's value changed. Called from any thread, the audio thread
    // included (automation, MIDI Program Change): keep it to a store and a flag.
    virtual void parameterChanged(int index, float value) = 0;
    // Program names or values changed where the host should read them again
    // (a MIDI Program Change on the audio thread, a program or bank file loaded).
    virtual void displayChanged() = 0;
};
