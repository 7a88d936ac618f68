#pragma once
// Where the render path's controls switch something on or off, and how it
// reads a control. Whatever describes a program (the program summary) uses
// the same points, so a description never disagrees with the sound.

// A control as the render path uses it: within 0..1, not a number reads 0
// (host automation and program files may hold anything).
inline float controlValue(float v) { return v >= 0.0f ? (v <= 1.0f ? v : 1.0f) : 0.0f; }

// An engine level (RMix, MMix) above this runs its engine.
constexpr float kEngineOnLevel = 0.05f;
// The gate is off from this threshold (GThresh) up.
constexpr float kGateOffThreshold = 0.95f;
// The ducker is off at this level (DLevel) and below.
constexpr float kDuckOffLevel = 0.05f;
// Switches (Bypass, Route) are on above this.
constexpr float kSwitchOnLevel = 0.5f;

inline bool engineOn(float level) { return level > kEngineOnLevel; }
inline bool gateOn(float threshold) { return threshold < kGateOffThreshold; }
inline bool duckerOn(float level) { return level > kDuckOffLevel; }
inline bool switchOn(float value) { return value > kSwitchOnLevel; }
