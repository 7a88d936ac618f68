#pragma once
// Parameter values in the units people think in: "60%", "-20dB", "5kHz",
// "1/8", "serial". The value texts of the parameter table are the one source:
// a value given in units is the 0..1 value whose text comes nearest to it,
// found by searching 0..1 through those texts, so nothing here repeats a
// formula of the table. Needs only host/parameters.h: no plug-in, no format.
#include <string>

// Reads `text` as a value of parameter `index`:
//  - a plain number from 0 to 1 is the value itself, as a host sends it;
//  - a number with a unit its text shows (%, dB, Hz, kHz, ms, s, m, beats),
//    or a plain number outside 0..1 where the unit is only in the label
//    (RSize=30 metres, RHiCut=5000 hertz, MTime=2 beats);
//  - one of its words or names (mute, off, hold, no duck, one shot, active,
//    disabled, serial, parallel, mono ... surround, 1/16 ... 2).
// False with `error` (naming the values that are possible) otherwise.
bool parameterValueFromText(int index, const std::string& text, float& value, std::string& error);

// What values parameter `index` takes, in its units, for messages and the
// handbook: "2 .. 50 m", "0.0% .. 100.0%", "-200.0 .. -0.9 dB, hold, off",
// "1/16, 1/8, ... 2 beats".
std::string parameterRangeText(int index);
