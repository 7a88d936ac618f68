#pragma once
#include "tools/nimbrel/audio_file.h"

// The built-in demo: a few seconds of drum-like hits and a tone, so the
// plug-in can be heard without an input file.
StereoAudio makeDemoSignal(int sampleRate);
