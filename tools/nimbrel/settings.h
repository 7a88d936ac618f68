#pragma once
// What the command line sets in a loaded plug-in before it renders: the
// program and parameter values, as a user names them.
#include <string>
#include <vector>

#include "tools/vsthost/plugin_host.h"

// Selects a program by number (0..179) or by name (exact, then without regard
// to case); false and `error`, with the nearest names, if none.
bool selectProgram(PluginHost& host, const std::string& which, std::string& error);

// Sets a parameter from "SHORTNAME=VALUE", the value 0..1 or in the units
// its text shows (see parameter_units.h). `index` and `value` get what was
// set. False and `error`, with the nearest names or the possible values.
bool applyParameter(PluginHost& host, const std::string& assignment, int& index, float& value,
                    std::string& error);

// The program names of the loaded plug-in, by number.
std::vector<std::string> programNames(PluginHost& host);
